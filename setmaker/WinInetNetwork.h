// The network of setmaker verify on Windows: every request goes through Upvane's own check
// session (upvane/app/CheckSession.h), so that it meets the servers as Upvane's Check does.
#pragma once

#include "VerifyNetwork.h"

class WinInetNetwork : public VerifyNetwork
{
public:
    RequestOutcome FetchDocument(const CString& strAddress, unsigned nTimeLimitMs) override;
    RequestOutcome Probe(const CString& strAddress, unsigned nTimeLimitMs) override;
};
