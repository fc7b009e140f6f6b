// Advice about plain set-file values that can be stored but will not work the way a vendor
// likely means them: the layout of the installed text, a scheme in the web address that
// Upvane does not take as such, slashes that Upvane doubles when it composes its addresses,
// a query that the file names join, credentials sent over plain http. And the web addresses
// that cannot work at all: no host, a port that is no number from 1 to 65535, a raw "@" in
// the credentials, a "#" that puts every file name into the fragment.
#pragma once

#include "CString.h"

#include <string>
#include <vector>

// nKey: a SetFileKey.
std::vector<std::string> AdviceForValue(int nKey, const CString& strPlain);
// What makes the value unusable; `make` refuses it.
std::vector<std::string> RefusalsForValue(int nKey, const CString& strPlain);
