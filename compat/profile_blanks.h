// The bytes the profile functions trim from both ends of a key and a value. Portable: the
// Linux stand-ins trim with it, and the set-file maker predicts with it what the reader on
// Windows will drop from a scrambled value.
#pragma once

inline bool IsProfileBlank(unsigned char b)
{
    return b == ' ' || b == '\t' || b == '\r' || b == '\n' || b == '\v' || b == '\f' || b == 0x1A;
}
