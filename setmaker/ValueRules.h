// Whether a plain set-file value can be stored, and how its scrambled form is written. Upvane
// reads the scrambled form back through the profile reader, which (as Windows documents it
// and as Wine's reader measures):
//  - ends a value at a NUL byte, and its line at CR or LF;
//  - trims blank, tab, VT, FF and Ctrl-Z (and CR, LF) from both ends of a value;
//  - strips a matching pair of double or single quotes around what is left.
// Every other byte, 0x80 to 0xFF and the other control bytes included, comes back unchanged.
// A scrambled form that would lose its ends or a pair of quotes is written inside one more pair
// of double quotes: nothing outside them is trimmed, and exactly that pair is stripped. So only
// a scrambled NUL, CR or LF cannot be stored; nor can a plain value with a NUL byte, since the
// dialog's texts would end there.
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
};

struct ValueProblem
{
    ValueProblemKind m_kind;
    int m_nPosition; // of the character, counted from 0
};

// Every problem of the value, in order of position; none when it can be stored.
std::vector<ValueProblem> FindValueProblems(const CString& strPlain);

// One problem in a vendor's words, naming the character and what the reader would do.
std::string DescribeValueProblem(const CString& strPlain, const ValueProblem& problem);

// What the set file holds after a key's "=" for a stored (scrambled) value: the value itself,
// or the value in one more pair of double quotes where the reader would otherwise trim its
// ends or strip a pair of quotes from it.
std::string WrittenStoredValue(const CString& strStored);
