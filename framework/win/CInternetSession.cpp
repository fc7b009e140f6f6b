#include "CInternetSession.h"

#include <stdlib.h>
#include <string.h>

#include "CWinApp.h"
#include "WebAddress.h"

CString CInternetException::GetErrorMessage() const
{
    if (m_dwError == AFX_INET_PROXY_CREDENTIALS)
        return CString(kMsgProxyCredentials);
    char* pText = nullptr;
    DWORD n = 0;
    const WinInetApi* pApi =
        m_dwError >= INTERNET_ERROR_BASE && m_dwError <= INTERNET_ERROR_LAST ? AfxGetWinInetApi() : nullptr;
    if (pApi) {
        n = ::FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_HMODULE
                                 | FORMAT_MESSAGE_IGNORE_INSERTS,
                             pApi->hModule, m_dwError, 0, reinterpret_cast<LPSTR>(&pText), 0, nullptr);
    }
    if (n == 0) {
        n = ::FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM
                                 | FORMAT_MESSAGE_IGNORE_INSERTS,
                             nullptr, m_dwError, 0, reinterpret_cast<LPSTR>(&pText), 0, nullptr);
    }
    CString text;
    if (n > 0 && pText) {
        text = CString(pText, static_cast<int>(n));
        text.TrimRight();
    }
    if (pText)
        ::LocalFree(pText);
    if (text.IsEmpty()) {
        char buf[64];
        wsprintfA(buf, "Internet error %lu.", static_cast<unsigned long>(m_dwError));
        text = buf;
    }
    return text;
}

void CInternetHandle::Close()
{
    if (!m_h)
        return;
    // A handle was opened, so WinINet's functions were found.
    if (const WinInetApi* pApi = AfxGetWinInetApi())
        pApi->pfnInternetCloseHandle(m_h);
    m_h = nullptr;
}

DWORD CTimeLimit::FailureError(DWORD dwError) const
{
    // A wait cut to the end of the limit ends a tick or so before the tick count shows it.
    const DWORD dwTickSlack = 50;
    return m_dwLimit != 0 && ::GetTickCount() - m_dwStart + dwTickSlack >= m_dwLimit ? ERROR_INTERNET_TIMEOUT
                                                                                     : dwError;
}

DWORD CTimeLimit::Cap(DWORD dwWait) const
{
    if (m_dwLimit == 0)
        return dwWait;
    const DWORD dwElapsed = ::GetTickCount() - m_dwStart;
    // Never 0, which would ask for the system's own wait.
    const DWORD dwLeft = dwElapsed < m_dwLimit ? m_dwLimit - dwElapsed : 1;
    return dwWait == 0 || dwWait > dwLeft ? dwLeft : dwWait;
}

DWORD CTimeLimit::Left() const
{
    return m_dwLimit == 0 ? INFINITE : Cap(0);
}

// The parts of an http or https address that a connection and its request are made from.
struct HttpTarget
{
    WebOrigin m_origin; // scheme, host, port
    CString m_strUser;  // decoded; empty: no credentials in the address
    CString m_strPassword;
    CString m_strObject; // path and query; the fragment is not sent
};

namespace {

// The end of an operation of WinINet that answered bDone: at once when it did not pend,
// else when WinINet reports its completion, waiting at most what is left of the limit. When
// the wait runs out the operation still pends: closing its handle cancels it.
CInternetException Finished(BOOL bDone, const CInternetCompletion& completion, const CTimeLimit& limit)
{
    if (bDone)
        return CInternetException();
    const DWORD dwError = ::GetLastError();
    if (dwError != ERROR_IO_PENDING)
        return CInternetException(limit.FailureError(dwError));
    INTERNET_ASYNC_RESULT result = {};
    if (!completion.Wait(limit.Left(), result))
        return CInternetException(ERROR_INTERNET_TIMEOUT);
    if (result.dwResult == 0)
        return CInternetException(limit.FailureError(result.dwError));
    return CInternetException();
}

// A handle that open() makes with completion's context, into hOpened. The handle holds a
// reference to completion until it reports that it is closing. A handle that failed to open
// may still report closing, or may not: its reference is then kept rather than given back
// twice, so completion is never freed while WinINet may still call back with it.
template <class Open>
CInternetException OpenHandle(CInternetCompletion& completion, const CTimeLimit& limit, HINTERNET& hOpened,
                              Open open)
{
    completion.AddRef();
    completion.Arm();
    hOpened = open();
    if (hOpened)
        return CInternetException();
    const DWORD dwError = ::GetLastError();
    if (dwError != ERROR_IO_PENDING)
        return CInternetException(dwError);
    INTERNET_ASYNC_RESULT result = {};
    if (!completion.Wait(limit.Left(), result)) {
        // The handle the opening makes after all is closed, not left behind.
        completion.AbandonOpen();
        return CInternetException(ERROR_INTERNET_TIMEOUT);
    }
    hOpened = reinterpret_cast<HINTERNET>(result.dwResult);
    return hOpened ? CInternetException() : CInternetException(limit.FailureError(result.dwError));
}

// The body length the answer's header declares; false when it declares none that counts
// (a chunked answer's Content-Length is not its length).
bool DeclaredLength(const WinInetApi& api, HINTERNET hRequest, unsigned long long& nLength)
{
    char szText[32] = {};
    DWORD nSize = sizeof szText;
    if (!api.pfnHttpQueryInfo(hRequest, HTTP_QUERY_CONTENT_LENGTH, szText, &nSize, nullptr))
        return false;
    char szEncoding[2];
    DWORD nEncodingSize = sizeof szEncoding;
    if (api.pfnHttpQueryInfo(hRequest, HTTP_QUERY_TRANSFER_ENCODING, szEncoding, &nEncodingSize, nullptr)
        || ::GetLastError() == ERROR_INSUFFICIENT_BUFFER)
        return false;
    char* pEnd = nullptr;
    nLength = strtoull(szText, &pEnd, 10);
    return pEnd != szText && *pEnd == '\0';
}

} // namespace

void CInternetFile::Close()
{
    m_hFile.Close();
    m_hConnect.Close();
}

CInternetException CInternetFile::Read(void* lpBuf, UINT nCount, UINT& nRead)
{
    nRead = 0;
    const WinInetApi* pApi = AfxGetWinInetApi();
    if (!pApi || !m_hFile.Get() || m_bFailed)
        return CInternetException(ERROR_INVALID_HANDLE);
    // WinINet reads into the completion's buffer, which outlives a read cut short by the time
    // limit; the caller's buffer gets only what has arrived.
    CInternetCompletion& completion = *m_pCompletion;
    while (nRead < nCount) {
        if (m_limit.RunOut())
            return CInternetException(ERROR_INTERNET_TIMEOUT);
        DWORD dwTimeout = m_limit.Cap(m_dwReceiveTimeout);
        if (dwTimeout)
            pApi->pfnInternetSetOption(m_hFile.Get(), INTERNET_OPTION_RECEIVE_TIMEOUT, &dwTimeout,
                                       sizeof dwTimeout);
        const UINT nWanted =
            nCount - nRead < CInternetCompletion::kReadSize ? nCount - nRead : CInternetCompletion::kReadSize;
        *completion.ReadCount() = 0;
        completion.Arm();
        const CInternetException failure =
            Finished(pApi->pfnInternetReadFile(m_hFile.Get(), completion.ReadBuffer(), nWanted,
                                               completion.ReadCount()),
                     completion, m_limit);
        if (failure.Failed()) {
            // The read may still be pending: no later call touches the handle but its close.
            m_bFailed = true;
            return failure;
        }
        const DWORD dwRead = *completion.ReadCount();
        if (dwRead == 0)
            break;
        memcpy(static_cast<char*>(lpBuf) + nRead, completion.ReadBuffer(), dwRead);
        nRead += dwRead;
    }
    m_nTotalRead += nRead;
    // The answer ended: a connection closed before the declared length is a cut answer.
    unsigned long long nDeclared = 0;
    if (nRead < nCount && DeclaredLength(*pApi, m_hFile.Get(), nDeclared) && m_nTotalRead < nDeclared)
        return CInternetException(ERROR_INTERNET_CONNECTION_ABORTED);
    return CInternetException();
}

CInternetSession::CInternetSession(const char* pstrAgent, DWORD_PTR dwContext, DWORD dwAccessType,
                                   const char* pstrProxyName, const char* pstrProxyBypass, DWORD dwFlags)
    : m_pApi(AfxGetWinInetApi())
{
    // WinINet takes the context per request; the session keeps none of its own.
    (void)dwContext;
    if (!m_pApi)
        return;
    CInternetHandle hSession(m_pApi->pfnInternetOpen(pstrAgent ? pstrAgent : AfxGetAppName(), dwAccessType,
                                                     pstrProxyName, pstrProxyBypass,
                                                     dwFlags | INTERNET_FLAG_ASYNC));
    // Every handle opened through the session inherits the callback.
    if (!hSession.Get()
        || m_pApi->pfnInternetSetStatusCallback(hSession.Get(), &CInternetCompletion::StatusCallback)
               == INTERNET_INVALID_STATUS_CALLBACK)
        return;
    m_hSession.Attach(hSession.Release());
}

BOOL CInternetSession::SetOption(DWORD dwOption, DWORD dwValue)
{
    switch (dwOption) {
    case INTERNET_OPTION_CONNECT_TIMEOUT:
        m_dwConnectTimeout = dwValue;
        break;
    case INTERNET_OPTION_SEND_TIMEOUT:
        m_dwSendTimeout = dwValue;
        break;
    case INTERNET_OPTION_RECEIVE_TIMEOUT:
        m_dwReceiveTimeout = dwValue;
        break;
    default:
        break;
    }
    return IsOpen() && m_pApi->pfnInternetSetOption(m_hSession.Get(), dwOption, &dwValue, sizeof dwValue);
}

void CInternetSession::ApplyTimeouts(HINTERNET hRequest) const
{
    const struct
    {
        DWORD option;
        DWORD value;
    } timeouts[] = {
        {INTERNET_OPTION_CONNECT_TIMEOUT, m_dwConnectTimeout},
        {INTERNET_OPTION_SEND_TIMEOUT, m_dwSendTimeout},
        {INTERNET_OPTION_RECEIVE_TIMEOUT, m_dwReceiveTimeout},
    };
    for (const auto& t : timeouts) {
        DWORD value = m_limit.Cap(t.value);
        if (value)
            m_pApi->pfnInternetSetOption(hRequest, t.option, &value, sizeof value);
    }
}

namespace {

// Every redirect answer comes back to OpenURL, which judges and follows it itself: the
// system would otherwise follow an https answer to an http address without a word (Wine), or
// refuse an http answer to an https address (Windows, unless told to ignore it).
const DWORD kOwnRedirectFlags = INTERNET_FLAG_NO_AUTO_REDIRECT | INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTP
                                | INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTPS;

// Servers that negotiate the answer's type get the one the system's URL opener asks for.
const char* kAcceptAnyType[] = {"*/*", nullptr};

CString Part(const char* pch, DWORD nLength)
{
    return CString(pch, static_cast<int>(nLength));
}

// Splits the address with the system's parser, as opening the whole address would; the
// parser's failure is answered.
CInternetException CrackHttpAddress(const WinInetApi& api, const char* pstrURL, HttpTarget& target)
{
    const DWORD nLength = static_cast<DWORD>(::lstrlenA(pstrURL) + 1);
    std::unique_ptr<char[]> buffers(new char[5 * static_cast<size_t>(nLength)]);
    char* p = buffers.get();
    URL_COMPONENTSA parts = {};
    parts.dwStructSize = sizeof parts;
    char** const fields[] = {&parts.lpszHostName, &parts.lpszUserName, &parts.lpszPassword,
                             &parts.lpszUrlPath, &parts.lpszExtraInfo};
    DWORD* const lengths[] = {&parts.dwHostNameLength, &parts.dwUserNameLength, &parts.dwPasswordLength,
                              &parts.dwUrlPathLength, &parts.dwExtraInfoLength};
    for (size_t i = 0; i < sizeof fields / sizeof fields[0]; ++i) {
        *fields[i] = p + i * nLength;
        *lengths[i] = nLength;
    }
    if (!api.pfnInternetCrackUrl(pstrURL, 0, 0, &parts))
        return CInternetException(::GetLastError());

    target.m_origin.m_scheme = parts.nScheme == INTERNET_SCHEME_HTTPS ? WebScheme::Https : WebScheme::Http;
    target.m_origin.m_strHost = Part(parts.lpszHostName, parts.dwHostNameLength);
    target.m_origin.m_nPort = parts.nPort;
    target.m_strUser = PercentDecoded(Part(parts.lpszUserName, parts.dwUserNameLength));
    target.m_strPassword = PercentDecoded(Part(parts.lpszPassword, parts.dwPasswordLength));
    target.m_strObject = RequestObject(Part(parts.lpszUrlPath, parts.dwUrlPathLength),
                                       Part(parts.lpszExtraInfo, parts.dwExtraInfoLength));
    return CInternetException();
}

// A header of the answer as text; false when the answer has none.
bool QueryHeader(const WinInetApi& api, HINTERNET hRequest, DWORD dwInfo, CString& strValue)
{
    DWORD nSize = 0;
    if (api.pfnHttpQueryInfo(hRequest, dwInfo, nullptr, &nSize, nullptr)
        || ::GetLastError() != ERROR_INSUFFICIENT_BUFFER)
        return false;
    std::unique_ptr<char[]> buffer(new char[nSize + 1]);
    if (!api.pfnHttpQueryInfo(hRequest, dwInfo, buffer.get(), &nSize, nullptr))
        return false;
    strValue = CString(buffer.get(), static_cast<int>(nSize));
    return true;
}

// The absolute address a redirect answer points to; false when the answer is no redirect
// (or names no target), so that it is read as it is.
bool FindRedirect(const WinInetApi& api, HINTERNET hRequest, const CString& strFrom, CString& strTo)
{
    DWORD nStatus = 0;
    DWORD nSize = sizeof nStatus;
    if (!api.pfnHttpQueryInfo(hRequest, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &nStatus, &nSize,
                              nullptr)
        || !IsRedirectStatus(nStatus))
        return false;
    CString strLocation;
    if (!QueryHeader(api, hRequest, HTTP_QUERY_LOCATION, strLocation) || strLocation.IsEmpty())
        return false;
    strTo = ResolveRedirect(strFrom, strLocation);
    return true;
}

DWORD RedirectError(RedirectVerdict verdict)
{
    return verdict == RedirectVerdict::Downgrade ? ERROR_INTERNET_HTTPS_TO_HTTP_ON_REDIR
                                                 : ERROR_HTTP_REDIRECT_FAILED;
}

} // namespace

CInternetException CInternetSession::SendRequest(const HttpTarget& target, DWORD dwFlags,
                                                 const char* pstrHeaders, DWORD dwHeadersLength,
                                                 std::unique_ptr<CInternetFile>& pFile)
{
    // Declared before the handles: released after they are closed.
    CInternetCompletionPtr pCompletion(CInternetCompletion::Create());
    if (!pCompletion)
        return CInternetException(::GetLastError());
    CInternetCompletion& completion = *pCompletion;

    const bool bCredentials = !target.m_strUser.IsEmpty();
    HINTERNET hOpened = nullptr;
    CInternetException failure = OpenHandle(completion, m_limit, hOpened, [&] {
        return m_pApi->pfnInternetConnect(m_hSession.Get(), target.m_origin.m_strHost,
                                          static_cast<INTERNET_PORT>(target.m_origin.m_nPort),
                                          bCredentials ? target.m_strUser.GetString() : nullptr,
                                          bCredentials ? target.m_strPassword.GetString() : nullptr,
                                          INTERNET_SERVICE_HTTP, 0, completion.Context());
    });
    CInternetHandle hConnect(hOpened);
    if (failure.Failed())
        return failure;

    const DWORD dwRequestFlags = dwFlags | kOwnRedirectFlags
                                 | (target.m_origin.m_scheme == WebScheme::Https ? INTERNET_FLAG_SECURE : 0);
    hOpened = nullptr;
    failure = OpenHandle(completion, m_limit, hOpened, [&] {
        return m_pApi->pfnHttpOpenRequest(hConnect.Get(), "GET", target.m_strObject, nullptr, nullptr,
                                          kAcceptAnyType, dwRequestFlags, completion.Context());
    });
    CInternetHandle hRequest(hOpened);
    if (failure.Failed())
        return failure;

    // The name lookup, the connection, the TLS handshake, the request and the answer's head:
    // one operation, waited for with what is left of the time limit.
    ApplyTimeouts(hRequest.Get());
    completion.Arm();
    failure = Finished(m_pApi->pfnHttpSendRequest(hRequest.Get(), pstrHeaders, dwHeadersLength, nullptr, 0),
                       completion, m_limit);
    if (failure.Failed())
        return failure;
    failure = AnswerProxyChallenge(hRequest.Get(), completion, pstrHeaders, dwHeadersLength);
    if (failure.Failed())
        return failure;
    pFile.reset(new CInternetFile(hConnect.Release(), hRequest.Release(), std::move(pCompletion), m_limit,
                                  m_dwReceiveTimeout));
    return CInternetException();
}

CInternetException CInternetSession::AnswerProxyChallenge(HINTERNET hRequest, CInternetCompletion& completion,
                                                          const char* pstrHeaders, DWORD dwHeadersLength)
{
    for (;;) {
        DWORD dwStatus = 0;
        DWORD nSize = sizeof dwStatus;
        if (!m_pApi->pfnHttpQueryInfo(hRequest, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &dwStatus,
                                      &nSize, nullptr)
            || dwStatus != HTTP_STATUS_PROXY_AUTH_REQ)
            return CInternetException();
        // The proxy's page is never read as the document.
        if (!m_hPromptOwner || m_nProxyPrompts >= kMaxProxyPrompts)
            return CInternetException(AFX_INET_PROXY_CREDENTIALS);
        ++m_nProxyPrompts;
        // What came with the challenge is read to its end, so that the connection can carry
        // the request again.
        for (;;) {
            *completion.ReadCount() = 0;
            completion.Arm();
            const CInternetException failure =
                Finished(m_pApi->pfnInternetReadFile(hRequest, completion.ReadBuffer(),
                                                     CInternetCompletion::kReadSize, completion.ReadCount()),
                         completion, m_limit);
            if (failure.Failed())
                return failure;
            if (*completion.ReadCount() == 0)
                break;
        }
        // The user's time, not the network's. Wine's Cancel answers 0 rather than
        // ERROR_CANCELLED: only a retry counts.
        const DWORD dwPromptStart = ::GetTickCount();
        const DWORD dwAnswer =
            m_pApi->pfnInternetErrorDlg(m_hPromptOwner, hRequest, ERROR_SUCCESS,
                                        FLAGS_ERROR_UI_FILTER_FOR_ERRORS | FLAGS_ERROR_UI_FLAGS_CHANGE_OPTIONS
                                            | FLAGS_ERROR_UI_FLAGS_GENERATE_DATA,
                                        nullptr);
        m_limit.Exclude(::GetTickCount() - dwPromptStart);
        if (dwAnswer != ERROR_INTERNET_FORCE_RETRY)
            return CInternetException(AFX_INET_PROXY_CREDENTIALS);
        // WinINet keeps the typed credentials for the proxy; the request goes again, and may
        // pend again.
        ApplyTimeouts(hRequest);
        completion.Arm();
        const CInternetException failure =
            Finished(m_pApi->pfnHttpSendRequest(hRequest, pstrHeaders, dwHeadersLength, nullptr, 0),
                     completion, m_limit);
        if (failure.Failed())
            return failure;
    }
}

CInternetException CInternetSession::OpenURL(const char* pstrURL, std::unique_ptr<CInternetFile>& pFile,
                                             DWORD_PTR dwContext, DWORD dwFlags, const char* pstrHeaders,
                                             DWORD dwHeadersLength)
{
    // WinINet gets the framework's own context values.
    (void)dwContext;
    pFile.reset();
    if (!IsOpen())
        return CInternetException(ERROR_INVALID_HANDLE);
    if (WebSchemeOf(pstrURL) == WebScheme::None)
        return CInternetException(ERROR_INTERNET_UNRECOGNIZED_SCHEME);

    CString strAddress(pstrURL);
    HttpTarget credentials; // the last credentials an address gave, with their origin
    for (int nFollowed = 0;; ++nFollowed) {
        if (m_limit.RunOut())
            return CInternetException(ERROR_INTERNET_TIMEOUT);
        HttpTarget target;
        const CInternetException cracked = CrackHttpAddress(*m_pApi, strAddress, target);
        if (cracked.Failed())
            return cracked;
        // Credentials go only to the origin they were written for; a redirect elsewhere
        // (another scheme, host or port) is made without them.
        if (!target.m_strUser.IsEmpty())
            credentials = target;
        else if (SameOrigin(target.m_origin, credentials.m_origin)) {
            target.m_strUser = credentials.m_strUser;
            target.m_strPassword = credentials.m_strPassword;
        }

        std::unique_ptr<CInternetFile> file;
        const CInternetException failure = SendRequest(target, dwFlags, pstrHeaders, dwHeadersLength, file);
        if (failure.Failed())
            return failure;
        CString strNext;
        if (!FindRedirect(*m_pApi, file->Handle(), strAddress, strNext)) {
            pFile = std::move(file);
            return CInternetException();
        }
        const RedirectVerdict verdict = JudgeRedirect(strAddress, strNext, nFollowed);
        if (verdict != RedirectVerdict::Follow)
            return CInternetException(RedirectError(verdict));
        strAddress = strNext;
    }
}
