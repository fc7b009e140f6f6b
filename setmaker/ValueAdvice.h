// Advice about plain set-file values that can be stored but will not work the way a vendor
// likely means them: the layout of the installed text, a scheme in the web address that
// Upvane does not take as such, slashes that Upvane doubles when it composes its addresses.
#pragma once

#include "CString.h"

#include <string>
#include <vector>

// nKey: a SetFileKey.
std::vector<std::string> AdviceForValue(int nKey, const CString& strPlain);
