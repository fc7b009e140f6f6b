#include "DisplayText.h"

#include <cstdarg>
#include <cstdio>

namespace {

void AppendEscaped(std::string& strOut, unsigned char b, char chQuote)
{
    switch (b) {
    case '\n':
        strOut += "\\n";
        return;
    case '\r':
        strOut += "\\r";
        return;
    case '\t':
        strOut += "\\t";
        return;
    case '\\':
        strOut += "\\\\";
        return;
    default:
        break;
    }
    if (b == static_cast<unsigned char>(chQuote)) {
        strOut += '\\';
        strOut += chQuote;
        return;
    }
    if (b < 0x20 || b >= 0x7F) {
        char hex[8];
        std::snprintf(hex, sizeof hex, "\\x%02X", b);
        strOut += hex;
        return;
    }
    strOut += static_cast<char>(b);
}

} // namespace

std::string QuotedText(const CString& strText)
{
    std::string strOut = "\"";
    for (int i = 0; i < strText.GetLength(); ++i)
        AppendEscaped(strOut, static_cast<unsigned char>(strText.GetAt(i)), '"');
    strOut += '"';
    return strOut;
}

std::string DescribeByte(unsigned char b)
{
    std::string strOut = "'";
    AppendEscaped(strOut, b, '\'');
    AppendFormat(strOut, "' (0x%02X)", b);
    return strOut;
}

void AppendFormat(std::string& strOut, const char* pszFormat, ...)
{
    va_list args;
    va_start(args, pszFormat);
    va_list measure;
    va_copy(measure, args);
    const int nLength = std::vsnprintf(nullptr, 0, pszFormat, measure);
    va_end(measure);
    if (nLength > 0) {
        const size_t nOld = strOut.size();
        strOut.resize(nOld + static_cast<size_t>(nLength) + 1);
        std::vsnprintf(&strOut[nOld], static_cast<size_t>(nLength) + 1, pszFormat, args);
        strOut.resize(nOld + static_cast<size_t>(nLength));
    }
    va_end(args);
}
