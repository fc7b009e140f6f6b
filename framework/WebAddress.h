// Rules for the web addresses the Internet classes open: which scheme an address has, the
// object a request names, and whether a redirect answer is followed. Portable, so that the
// rules are tested without a network.
#pragma once

#include "CString.h"

enum class WebScheme { None, Http, Https };

// The scheme an address begins with: "http://" or "https://" in any letter case; None for
// every other start.
WebScheme WebSchemeOf(const char* pszAddress);

// The object a request names: the address's path and extra part (query, fragment) as the
// system's address parser split them, without the fragment, which stays with the client;
// "/" when nothing is left.
CString RequestObject(const CString& strPath, const CString& strExtra);

// How many redirects one opening follows before it fails.
inline constexpr int kMaxRedirects = 10;

enum class RedirectVerdict {
    Follow,
    Downgrade, // from https to http: never followed
    NotWeb,    // to a scheme other than http or https
    TooMany,   // kMaxRedirects already followed
};

// Whether an answer of `strFrom` that redirects to `strTo` (already made absolute) is
// followed, after nFollowed redirects of the same opening.
RedirectVerdict JudgeRedirect(const char* pszFrom, const char* pszTo, int nFollowed);

// The absolute address a redirect's Location names, resolved against the address that was
// answered: an address with a scheme stands as it is; "//host/..." takes the scheme, "/path"
// the scheme and host, anything else the folder of the answered address's path.
CString ResolveRedirect(const CString& strFrom, const CString& strLocation);

// True for the status codes of a redirect that names its target in a Location header.
bool IsRedirectStatus(unsigned long nStatus);
