// Reading a text of unknown length through a function of the GetModuleFileNameA kind.
#pragma once

#include "CString.h"

// The longest path the system knows, in characters, and the buffer that holds it.
inline constexpr unsigned long kLongestPathLength = 32767;
inline constexpr unsigned long kLongestPathBuffer = kLongestPathLength + 1;

// `read(buffer, size)` writes at most `size` bytes and answers the length of the text it
// wrote; `size` (or more) when the text did not fit; 0 on failure. The buffer starts at
// `firstSize` bytes and doubles, the last try being `maxSize` exactly, until the text fits.
// Answers empty text on failure or when not even `maxSize` bytes hold the text.
template <typename Read> CString ReadGrowing(Read read, unsigned long firstSize, unsigned long maxSize)
{
    for (unsigned long size = firstSize;; size = size > maxSize / 2 ? maxSize : size * 2) {
        CString text;
        const unsigned long n = read(text.GetBuffer(static_cast<int>(size)), size);
        if (n == 0)
            return CString();
        if (n < size) {
            text.ReleaseBuffer(static_cast<int>(n));
            return text;
        }
        if (size >= maxSize)
            return CString();
    }
}
