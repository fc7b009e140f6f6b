#include "CInternetSession.h"

#include <stdlib.h>
#include <string.h>

#include "CWinApp.h"
#include "WebAddress.h"

CString CInternetException::GetErrorMessage() const
{
    char* pText = nullptr;
    DWORD n = 0;
    if (m_dwError >= INTERNET_ERROR_BASE && m_dwError <= INTERNET_ERROR_LAST) {
        n = ::FormatMessageA(
            FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_IGNORE_INSERTS,
            ::GetModuleHandleA("wininet.dll"), m_dwError, 0, reinterpret_cast<LPSTR>(&pText), 0, nullptr);
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
    if (m_h) {
        ::InternetCloseHandle(m_h);
        m_h = nullptr;
    }
}

void CInternetFile::Close()
{
    m_hFile.Close();
    m_hConnect.Close();
}

DWORD CTimeLimit::WaitError() const
{
    const DWORD dwError = ::GetLastError();
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

namespace {

// The body length the answer's header declares; false when it declares none that counts
// (a chunked answer's Content-Length is not its length).
bool DeclaredLength(HINTERNET hRequest, unsigned long long& nLength)
{
    char szText[32] = {};
    DWORD nSize = sizeof szText;
    if (!::HttpQueryInfoA(hRequest, HTTP_QUERY_CONTENT_LENGTH, szText, &nSize, nullptr))
        return false;
    char szEncoding[2];
    DWORD nEncodingSize = sizeof szEncoding;
    if (::HttpQueryInfoA(hRequest, HTTP_QUERY_TRANSFER_ENCODING, szEncoding, &nEncodingSize, nullptr)
        || ::GetLastError() == ERROR_INSUFFICIENT_BUFFER)
        return false;
    char* pEnd = nullptr;
    nLength = strtoull(szText, &pEnd, 10);
    return pEnd != szText && *pEnd == '\0';
}

} // namespace

CInternetException CInternetFile::Read(void* lpBuf, UINT nCount, UINT& nRead)
{
    // Only what has arrived is read at a time, so that a server sending a byte now and then
    // cannot hold one read beyond the time limit; the caller still gets nCount bytes or the
    // end of the answer.
    nRead = 0;
    while (nRead < nCount) {
        if (m_limit.RunOut())
            return CInternetException(ERROR_INTERNET_TIMEOUT);
        DWORD dwTimeout = m_limit.Cap(m_dwReceiveTimeout);
        if (dwTimeout)
            ::InternetSetOptionA(m_hFile.Get(), INTERNET_OPTION_RECEIVE_TIMEOUT, &dwTimeout,
                                 sizeof dwTimeout);
        DWORD dwAvailable = 0;
        if (!::InternetQueryDataAvailable(m_hFile.Get(), &dwAvailable, 0, 0))
            return CInternetException(m_limit.WaitError());
        DWORD dwRead = 0;
        if (dwAvailable > 0
            && !::InternetReadFile(m_hFile.Get(), static_cast<char*>(lpBuf) + nRead,
                                   dwAvailable < nCount - nRead ? dwAvailable : nCount - nRead, &dwRead))
            return CInternetException(m_limit.WaitError());
        if (dwRead == 0)
            break;
        nRead += dwRead;
    }
    m_nTotalRead += nRead;
    // The answer ended: a connection closed before the declared length is a cut answer.
    unsigned long long nDeclared = 0;
    if (nRead < nCount && DeclaredLength(m_hFile.Get(), nDeclared) && m_nTotalRead < nDeclared)
        return CInternetException(ERROR_INTERNET_CONNECTION_ABORTED);
    return CInternetException();
}

CInternetSession::CInternetSession(const char* pstrAgent, DWORD_PTR dwContext, DWORD dwAccessType,
                                   const char* pstrProxyName, const char* pstrProxyBypass, DWORD dwFlags)
    : m_hSession(::InternetOpenA(pstrAgent ? pstrAgent : AfxGetAppName(), dwAccessType, pstrProxyName,
                                 pstrProxyBypass, dwFlags))
{
    // WinINet takes the context per request; the session keeps none of its own.
    (void)dwContext;
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
    return ::InternetSetOptionA(m_hSession.Get(), dwOption, &dwValue, sizeof dwValue);
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
            ::InternetSetOptionA(hRequest, t.option, &value, sizeof value);
    }
}

CInternetException CInternetSession::OpenURL(const char* pstrURL, std::unique_ptr<CInternetFile>& pFile,
                                             DWORD_PTR dwContext, DWORD dwFlags, const char* pstrHeaders,
                                             DWORD dwHeadersLength)
{
    pFile.reset();
    if (!IsOpen())
        return CInternetException(ERROR_INVALID_HANDLE);
    if (WebSchemeOf(pstrURL) != WebScheme::None)
        return OpenHttpURL(pstrURL, pFile, dwContext, dwFlags, pstrHeaders, dwHeadersLength);
    HINTERNET hFile =
        ::InternetOpenUrlA(m_hSession.Get(), pstrURL, pstrHeaders, dwHeadersLength, dwFlags, dwContext);
    if (!hFile)
        return CInternetException(::GetLastError());
    pFile.reset(new CInternetFile(nullptr, hFile, m_limit, m_dwReceiveTimeout));
    return CInternetException();
}

namespace {

// Every redirect answer comes back to OpenHttpURL, which judges and follows it itself: the
// system would otherwise follow an https answer to an http address without a word (Wine), or
// refuse an http answer to an https address (Windows, unless told to ignore it).
const DWORD kOwnRedirectFlags = INTERNET_FLAG_NO_AUTO_REDIRECT | INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTP
                                | INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTPS;

// Servers that negotiate the answer's type get the one the system's URL opener asks for.
const char* kAcceptAnyType[] = {"*/*", nullptr};

// The parts of an http or https address that a connection and its request are made from.
struct HttpTarget
{
    WebOrigin m_origin; // scheme, host, port
    CString m_strUser;  // decoded; empty: no credentials in the address
    CString m_strPassword;
    CString m_strObject; // path and query; the fragment is not sent
};

CString Part(const char* pch, DWORD nLength)
{
    return CString(pch, static_cast<int>(nLength));
}

// Splits the address with the system's parser, as opening the whole address would; the
// parser's failure is answered.
CInternetException CrackHttpAddress(const char* pstrURL, HttpTarget& target)
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
    if (!::InternetCrackUrlA(pstrURL, 0, 0, &parts))
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
bool QueryHeader(HINTERNET hRequest, DWORD dwInfo, CString& strValue)
{
    DWORD nSize = 0;
    if (::HttpQueryInfoA(hRequest, dwInfo, nullptr, &nSize, nullptr)
        || ::GetLastError() != ERROR_INSUFFICIENT_BUFFER)
        return false;
    std::unique_ptr<char[]> buffer(new char[nSize + 1]);
    if (!::HttpQueryInfoA(hRequest, dwInfo, buffer.get(), &nSize, nullptr))
        return false;
    strValue = CString(buffer.get(), static_cast<int>(nSize));
    return true;
}

// The absolute address a redirect answer points to; false when the answer is no redirect
// (or names no target), so that it is read as it is.
bool FindRedirect(HINTERNET hRequest, const CString& strFrom, CString& strTo)
{
    DWORD nStatus = 0;
    DWORD nSize = sizeof nStatus;
    if (!::HttpQueryInfoA(hRequest, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &nStatus, &nSize,
                          nullptr)
        || !IsRedirectStatus(nStatus))
        return false;
    CString strLocation;
    if (!QueryHeader(hRequest, HTTP_QUERY_LOCATION, strLocation) || strLocation.IsEmpty())
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

CInternetException CInternetSession::OpenHttpURL(const char* pstrURL, std::unique_ptr<CInternetFile>& pFile,
                                                 DWORD_PTR dwContext, DWORD dwFlags, const char* pstrHeaders,
                                                 DWORD dwHeadersLength)
{
    CString strAddress(pstrURL);
    HttpTarget credentials; // the last credentials an address gave, with their origin
    for (int nFollowed = 0;; ++nFollowed) {
        if (m_limit.RunOut())
            return CInternetException(ERROR_INTERNET_TIMEOUT);
        HttpTarget target;
        const CInternetException cracked = CrackHttpAddress(strAddress, target);
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
        const bool bCredentials = !target.m_strUser.IsEmpty();
        const bool bSecure = target.m_origin.m_scheme == WebScheme::Https;

        CInternetHandle hConnect(::InternetConnectA(
            m_hSession.Get(), target.m_origin.m_strHost, static_cast<INTERNET_PORT>(target.m_origin.m_nPort),
            bCredentials ? target.m_strUser.GetString() : nullptr,
            bCredentials ? target.m_strPassword.GetString() : nullptr, INTERNET_SERVICE_HTTP, 0, dwContext));
        if (!hConnect.Get())
            return CInternetException(::GetLastError());
        const DWORD dwRequestFlags = dwFlags | kOwnRedirectFlags | (bSecure ? INTERNET_FLAG_SECURE : 0);
        CInternetHandle hRequest(::HttpOpenRequestA(hConnect.Get(), "GET", target.m_strObject, nullptr,
                                                    nullptr, kAcceptAnyType, dwRequestFlags, dwContext));
        if (!hRequest.Get())
            return CInternetException(::GetLastError());
        ApplyTimeouts(hRequest.Get());
        if (!::HttpSendRequestA(hRequest.Get(), pstrHeaders, dwHeadersLength, nullptr, 0))
            return CInternetException(m_limit.WaitError());

        CString strNext;
        if (!FindRedirect(hRequest.Get(), strAddress, strNext)) {
            pFile.reset(
                new CInternetFile(hConnect.Release(), hRequest.Release(), m_limit, m_dwReceiveTimeout));
            return CInternetException();
        }
        const RedirectVerdict verdict = JudgeRedirect(strAddress, strNext, nFollowed);
        if (verdict != RedirectVerdict::Follow)
            return CInternetException(RedirectError(verdict));
        strAddress = strNext;
    }
}
