// Whether a plain set-file value can be stored. Upvane reads the scrambled form back through
// the profile reader, which (as Windows documents it and as Wine's reader measures):
//  - ends a value at a NUL byte, and its line at CR or LF;
//  - trims blank, tab, VT, FF and Ctrl-Z (and CR, LF) from both ends of a value;
//  - strips a matching pair of double or single quotes around what is left.
// Every other byte, 0x80 to 0xFF and the other control bytes included, comes back unchanged.
// A value whose scrambled form the reader would change cannot be stored. Nor can a plain value
// with a NUL byte: the dialog's texts would end there.
// Scrambling depends on the position, so a refused character can often stay: moving it by one
// place (a character more or less before it) changes what it scrambles to.
#pragma once

#include "CString.h"

#include <string>
#include <vector>

enum class ValueProblemKind {
    PlainNul,           // the plain value holds a NUL byte
    ScrambledNul,       // the stored byte would be NUL: the reader ends the value there
    ScrambledLineBreak, // the stored byte would be CR or LF: the reader ends the line there
    TrimmedAtStart,     // a byte the reader trims, at the start of the stored value
    TrimmedAtEnd,       // a byte the reader trims, at its end
    QuotesStripped,     // the stored value would be enclosed in a pair of quotes
};

struct ValueProblem
{
    ValueProblemKind m_kind;
    int m_nPosition;           // of the character, counted from 0
    int m_nOtherPosition = -1; // the closing quote's position, for QuotesStripped
};

// Every problem of the value, in order of position; none when it can be stored.
std::vector<ValueProblem> FindValueProblems(const CString& strPlain);

// One problem in a vendor's words, naming the character and what the reader would do.
std::string DescribeValueProblem(const CString& strPlain, const ValueProblem& problem);
