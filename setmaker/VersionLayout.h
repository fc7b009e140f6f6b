// Whether a version text has the layout Upvane's cut expects: the word "version" at position
// 11 (the twelfth character, as in "Sample App Version 3.2 Build 7"), the word "build" after it,
// one line, and no more than the 30 characters that are examined of a version document (32
// when the text begins with "Q7"). Any other layout still gets cut, only not into the parts a
// vendor means; these warnings say how.
#pragma once

#include "CString.h"

#include <string>
#include <vector>

// Warnings about where the words stand and about line breaks.
std::vector<std::string> VersionWordWarnings(const CString& strText);

// A warning when a text is longer than what is examined of a version document; none otherwise.
std::vector<std::string> VersionLengthWarnings(const CString& strText);

// Both of the above: the layout of an installed text.
std::vector<std::string> VersionLayoutWarnings(const CString& strText);

// The document's first line (up to CR, LF or NUL), trailing white space removed: the text a
// vendor lays out, of which the check examines the first 30 or 32 characters.
CString DocumentFirstLine(const char* pReceived, int nReceived);
