// What setmaker verify asks of the network, and what one request found. The Windows build
// answers with Upvane's own check session (WinInetNetwork.h); the Linux build has no network
// of this kind, and verify says so.
#pragma once

#include "CString.h"

#include <string>

struct RequestOutcome
{
    bool m_bFailed = false;           // no answer to judge: the system's error below
    unsigned long m_nError = 0;       // the system's error code
    std::string m_strError;           // the system's text for it, as Upvane's error box shows it
    unsigned long m_nStatus = 0;      // the HTTP status of the last answer (after redirects); 0: none
    std::string m_strReceived;        // FetchDocument only: the bytes of the one read
    bool m_bProxyCredentials = false; // failed: the proxy asked for credentials (407), not asked
};

class VerifyNetwork
{
public:
    virtual ~VerifyNetwork() = default;
    // The version document as Upvane's Check fetches it: the check's session, flags and rules,
    // one opening and one read of its first bytes, all within nTimeLimitMs.
    virtual RequestOutcome FetchDocument(const CString& strAddress, unsigned nTimeLimitMs) = 0;
    // Whether an address that Upvane hands to the browser answers: opened with the same session
    // and rules (redirects followed), the last answer's status taken, nothing of its body read.
    virtual RequestOutcome Probe(const CString& strAddress, unsigned nTimeLimitMs) = 0;
};
