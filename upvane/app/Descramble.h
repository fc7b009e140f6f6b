// Set-file values are stored scrambled: byte b at index i is kept as b ^ (i & 0xFF) ^ 0xA7.
// The operation is its own inverse, so the same code scrambles a plain value and restores a
// scrambled one.
#pragma once

#include "CString.h"

inline constexpr unsigned char kScrambleKey = 0xA7;

// Toggles the scrambling of every byte of text, in place. The length does not change.
void ToggleScramblingInPlace(CString& text);

// The same on a copy: the scrambled form of a plain text, or the plain form of a scrambled one.
CString ToggleScrambling(const CString& text);

// Restores g_strScratch in place. Callers copy a value into g_strScratch, call this and copy
// g_strScratch back.
void DescrambleValue();
