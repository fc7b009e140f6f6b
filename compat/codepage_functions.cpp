// GetCPInfo as the stand-ins need it: the ANSI code page is a single-byte one; the double-byte
// code pages of Japanese, Simplified Chinese and Korean Windows are known by their lead bytes.
#include "compat.h"

#include <cstring>

namespace {

struct DoubleByteCodePage
{
    UINT codePage;
    BYTE leadBytes[MAX_LEADBYTES]; // ranges: first and last byte, ended by zeros
};

const DoubleByteCodePage kDoubleByteCodePages[] = {
    {932, {0x81, 0x9F, 0xE0, 0xFC}}, // Shift JIS
    {936, {0x81, 0xFE}},             // GBK
    {949, {0x81, 0xFE}},             // Unified Hangul Code
};

} // namespace

BOOL GetCPInfo(UINT CodePage, LPCPINFO lpCPInfo)
{
    if (!lpCPInfo)
        return FALSE;
    std::memset(lpCPInfo, 0, sizeof *lpCPInfo);
    lpCPInfo->DefaultChar[0] = '?';
    if (CodePage == CP_ACP) {
        lpCPInfo->MaxCharSize = 1;
        return TRUE;
    }
    for (const DoubleByteCodePage& page : kDoubleByteCodePages) {
        if (page.codePage == CodePage) {
            lpCPInfo->MaxCharSize = 2;
            std::memcpy(lpCPInfo->LeadByte, page.leadBytes, MAX_LEADBYTES);
            return TRUE;
        }
    }
    return FALSE;
}
