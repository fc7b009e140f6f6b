// Rules for the web addresses the Internet classes open: which scheme an address has, the
// object a request names, whether a redirect answer is followed and where to, which
// redirects keep the credentials, and what of an address is handed on to others. Portable,
// so that the rules are tested without a network.
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
// answered as RFC 3986 (section 5.2) resolves a reference: a Location with a scheme stands
// as it is, "//host/..." takes the scheme, "/path" also the authority, "?query" also the
// path, "#fragment" also the query, and any other path is merged with the answered path's
// folder; "." and ".." segments are removed from the result's path.
CString ResolveRedirect(const CString& strFrom, const CString& strLocation);

// What decides where a request goes, as the system's address parser gave it.
struct WebOrigin
{
    WebScheme m_scheme = WebScheme::None;
    CString m_strHost;
    unsigned m_nPort = 0; // 0: the scheme's default
};

// True when both name the same web origin: the same scheme, the same host with the ASCII
// letters' case ignored, and the same port once the scheme's default port (80, 443) is made
// explicit. Credentials are given only to the origin they were written for.
bool SameOrigin(const WebOrigin& a, const WebOrigin& b);

// A user name or password as written in an address, with each %XX escape turned into its
// byte; an escape that is not two hex digits, or that stands for NUL, stays as written.
CString PercentDecoded(const CString& strText);

// The address without the user information ("user:password@") of its authority, which ends
// at the last "@" before the first "/" (a "?" or "#" before it counts as part of a password
// written unescaped); an address without an authority ("mailto:...") is returned unchanged. What is handed to the shell,
// the clipboard or a shortcut never carries credentials.
CString WithoutUserInfo(const CString& strAddress);

// The address without its fragment: what a request asks the server for.
CString WithoutFragment(const CString& strAddress);

// True for the status codes of a redirect that names its target in a Location header.
bool IsRedirectStatus(unsigned long nStatus);
