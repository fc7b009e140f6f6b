// GetCPInfo as the stand-ins need it: the ANSI code page is a single-byte one.
#include "compat.h"

#include <cstring>

BOOL GetCPInfo(UINT CodePage, LPCPINFO lpCPInfo)
{
    if (CodePage != CP_ACP || !lpCPInfo)
        return FALSE;
    std::memset(lpCPInfo, 0, sizeof *lpCPInfo);
    lpCPInfo->MaxCharSize = 1;
    lpCPInfo->DefaultChar[0] = '?';
    return TRUE;
}
