#include "Descramble.h"

#include "AppStrings.h"

void ToggleScramblingInPlace(CString& text)
{
    for (int i = 0; i < text.GetLength(); ++i) {
        const unsigned b = static_cast<unsigned char>(text.GetAt(i));
        text.SetAt(i, static_cast<char>(b ^ (static_cast<unsigned>(i) & 0xFFu) ^ kScrambleKey));
    }
}

CString ToggleScrambling(const CString& text)
{
    CString result(text);
    ToggleScramblingInPlace(result);
    return result;
}

void DescrambleValue()
{
    ToggleScramblingInPlace(g_strScratch);
}
