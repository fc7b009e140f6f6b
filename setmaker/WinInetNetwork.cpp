#include "WinInetNetwork.h"

#include "CheckSession.h"
#include "UpvaneTexts.h"
#include "VersionCheck.h"

namespace {

// Upvane sends its application name, the base name of its executable, as the user agent.
constexpr char kUpvaneAgent[] = "Upvane";

// A release is judged by what the servers answer now, not by a copy in this machine's cache
// (a user's machine has none); the request is otherwise the check's.
constexpr DWORD kFreshAnswer = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE;

void Fail(RequestOutcome& outcome, const CInternetException& failure)
{
    outcome.m_bFailed = true;
    outcome.m_nError = failure.m_dwError;
    outcome.m_strError = failure.GetErrorMessage().GetString();
    outcome.m_bProxyCredentials = failure.m_dwError == AFX_INET_PROXY_CREDENTIALS;
}

// Opens the address in a new check session: false, with the failure in outcome, when it cannot.
bool OpenAnswer(CCheckSession& session, const CString& strAddress, RequestOutcome& outcome)
{
    if (!session.IsOpen()) {
        outcome.m_bFailed = true;
        outcome.m_nError = ::GetLastError();
        outcome.m_strError = kMsgNoSession;
        return false;
    }
    const CInternetException failure = session.Open(strAddress, kFreshAnswer);
    if (failure.Failed()) {
        Fail(outcome, failure);
        return false;
    }
    DWORD dwStatus = 0;
    if (session.QueryStatusCode(dwStatus))
        outcome.m_nStatus = dwStatus;
    return true;
}

} // namespace

RequestOutcome WinInetNetwork::FetchDocument(const CString& strAddress, unsigned nTimeLimitMs)
{
    RequestOutcome outcome;
    CCheckSession session(kUpvaneAgent, nTimeLimitMs);
    if (!OpenAnswer(session, strAddress, outcome))
        return outcome;
    char buffer[kVersionReadSize];
    UINT nReceived = 0;
    const CInternetException failure = session.ReadStart(buffer, nReceived);
    if (failure.Failed())
        Fail(outcome, failure);
    else
        outcome.m_strReceived.assign(buffer, nReceived);
    session.Close();
    return outcome;
}

RequestOutcome WinInetNetwork::Probe(const CString& strAddress, unsigned nTimeLimitMs)
{
    // The answer's head is all it takes: the request is a GET, as the browser's, since some
    // servers refuse HEAD; closing without reading leaves the body unsent.
    RequestOutcome outcome;
    CCheckSession session(kUpvaneAgent, nTimeLimitMs);
    OpenAnswer(session, strAddress, outcome);
    session.Close();
    return outcome;
}
