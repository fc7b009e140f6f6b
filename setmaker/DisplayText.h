// How the tool prints texts and positions. Texts are quoted and every byte that is not
// printable ASCII is escaped, so that blanks, control bytes and bytes of the code page's upper
// half show exactly, on any console.
#pragma once

#include "CString.h"

#include <string>

// "Sample \"App\"\x87\n": a double-quoted text with C-style escapes.
std::string QuotedText(const CString& strText);

// One byte as the character it is and its code: 'a' (0x61), '\x87' (0x87).
std::string DescribeByte(unsigned char b);

// Appends printf-style formatted text.
#if defined(__GNUC__)
__attribute__((format(printf, 2, 3)))
#endif
void AppendFormat(std::string& strOut, const char* pszFormat, ...);
