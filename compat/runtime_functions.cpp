// _strupr and _mbscmp as the Windows runtime behaves in its default locale and single-byte
// code page.
#include "compat.h"

char* _strupr(char* str)
{
    if (!str)
        return str;
    for (char* p = str; *p; ++p) {
        if (*p >= 'a' && *p <= 'z')
            *p = static_cast<char>(*p - 'a' + 'A');
    }
    return str;
}

int _mbscmp(const unsigned char* str1, const unsigned char* str2)
{
    while (*str1 && *str1 == *str2) {
        ++str1;
        ++str2;
    }
    return static_cast<int>(*str1) - static_cast<int>(*str2);
}
