// The Internet classes over WinINet: a session, the remote file it opens, and the failure
// report their operations answer.
#pragma once

#include <windows.h>
#include <wininet.h>

#include <memory>

#include "CException.h"
#include "CString.h"
#include "InternetCompletion.h"
#include "WinInetApi.h"

// The failure of an opening that a proxy refused for want of credentials (HTTP 407): none were
// asked for (no owner window), the user cancelled the prompt, or the proxy refused the last
// ones typed. An application-defined code (bit 29), so no system text stands for it.
inline constexpr DWORD AFX_INET_PROXY_CREDENTIALS = 0x20000000 | 407;
// Its text.
inline constexpr char kMsgProxyCredentials[] =
    "The proxy server requires a user name and password, and none that it accepts were given.";

// What an opening or a read answers: success, or the failure with the WinINet (or system)
// error code that describes it.
class CInternetException : public CException
{
public:
    // Success.
    CInternetException() = default;
    // A failure with dwError; a call that failed without naming why (0) counts as WinINet's
    // internal error, so that a failure never reads as success.
    explicit CInternetException(DWORD dwError)
        : m_dwError(dwError ? dwError : ERROR_INTERNET_INTERNAL_ERROR)
    {
    }
    bool Failed() const { return m_dwError != 0; }
    DWORD m_dwError = 0; // 0: success
    // The system's text for the WinINet (or system) error.
    CString GetErrorMessage() const override;
};

// Owns one Internet handle and closes it.
class CInternetHandle
{
public:
    explicit CInternetHandle(HINTERNET h = nullptr)
        : m_h(h)
    {
    }
    CInternetHandle(const CInternetHandle&) = delete;
    CInternetHandle& operator=(const CInternetHandle&) = delete;
    ~CInternetHandle() { Close(); }
    void Close();
    // Takes h, closing the handle held before.
    void Attach(HINTERNET h)
    {
        Close();
        m_h = h;
    }
    HINTERNET Get() const { return m_h; }
    HINTERNET Release()
    {
        HINTERNET h = m_h;
        m_h = nullptr;
        return h;
    }

private:
    HINTERNET m_h;
};

// A span of time that starts when it is set, shared by everything one session opens and
// reads. Measured with the tick count, whose wrap-around the unsigned difference survives.
class CTimeLimit
{
public:
    void Start(DWORD dwMilliseconds)
    {
        m_dwStart = ::GetTickCount();
        m_dwLimit = dwMilliseconds;
    }
    // True once a set limit has passed.
    bool RunOut() const { return m_dwLimit != 0 && ::GetTickCount() - m_dwStart >= m_dwLimit; }
    // A wait of dwWait milliseconds (0: the system's own) cut to what is left of the limit.
    DWORD Cap(DWORD dwWait) const;
    // What is left of the limit as a wait: INFINITE when no limit is set, at least 1 ms.
    DWORD Left() const;
    // Leaves dwMilliseconds that were not the network's (a prompt the user answered) out.
    void Exclude(DWORD dwMilliseconds) { m_dwStart += dwMilliseconds; }
    // The error of an operation that failed with dwError: ERROR_INTERNET_TIMEOUT when the
    // limit has run out (the system may name a wait it cut short otherwise).
    DWORD FailureError(DWORD dwError) const;

private:
    DWORD m_dwStart = 0;
    DWORD m_dwLimit = 0; // 0: no limit
};

// The parts of an http or https address that a connection and its request are made from.
struct HttpTarget;

using CInternetCompletionPtr = std::unique_ptr<CInternetCompletion, CInternetCompletionRelease>;

// A file opened on a server; every answer of the server reads as a file, error pages
// included.
class CInternetFile
{
public:
    // Takes the request handle, the connection it runs on, and what their operations complete
    // through; reads keep to the session's time limit and receive timeout.
    CInternetFile(HINTERNET hConnect, HINTERNET hFile, CInternetCompletionPtr pCompletion,
                  const CTimeLimit& limit, DWORD dwReceiveTimeout)
        : m_pCompletion(std::move(pCompletion)),
          m_hConnect(hConnect),
          m_hFile(hFile),
          m_limit(limit),
          m_dwReceiveTimeout(dwReceiveTimeout)
    {
    }
    // Reads up to nCount bytes, waiting for more until nCount arrived or the answer ended;
    // nRead tells how many arrived (0 at the end). An answer that ends before the length its
    // header declared has failed (the connection was cut), as has a read past the time limit.
    // After a failed read every further read fails (ERROR_INVALID_HANDLE), as does the status.
    [[nodiscard]] CInternetException Read(void* lpBuf, UINT nCount, UINT& nRead);
    // The HTTP status code of the answer; false when it has none (not an HTTP answer).
    bool QueryInfoStatusCode(DWORD& dwStatusCode) const;
    void Close();

private:
    friend class CInternetSession; // reads the answer's head
    HINTERNET Handle() const { return m_hFile.Get(); }

    // Declared first, released last: WinINet may still use it while the handles close.
    CInternetCompletionPtr m_pCompletion;
    CInternetHandle m_hConnect; // declared before the request: closed after it
    CInternetHandle m_hFile;
    CTimeLimit m_limit;
    DWORD m_dwReceiveTimeout;
    unsigned long long m_nTotalRead = 0;
    bool m_bFailed = false; // a read failed, perhaps still pending: the handle is only closed
};

class CInternetSession
{
public:
    // A null agent sends the application's name. Failure leaves the session closed;
    // IsOpen tells. The session always works asynchronously inside (INTERNET_FLAG_ASYNC is
    // added to dwFlags), so that each wait of its operations can be bounded on the calling
    // thread; its callers still see every call finish before it returns. WinINet gets the
    // framework's own context values; dwContext is not passed on.
    CInternetSession(const char* pstrAgent = nullptr, DWORD_PTR dwContext = 1,
                     DWORD dwAccessType = PRE_CONFIG_INTERNET_ACCESS, const char* pstrProxyName = nullptr,
                     const char* pstrProxyBypass = nullptr, DWORD dwFlags = 0);
    bool IsOpen() const { return m_hSession.Get() != nullptr; }
    // Sets a numeric option of the session. The connect, send and receive timeouts also
    // apply to every request the session opens.
    BOOL SetOption(DWORD dwOption, DWORD dwValue);
    // From now on, every opening through this session and every read of what it opens ends
    // within dwMilliseconds in all (name lookup, connection, TLS handshake, request, answer):
    // each wait is cut to what is left, and running out fails with ERROR_INTERNET_TIMEOUT.
    void SetTimeLimit(DWORD dwMilliseconds) { m_limit.Start(dwMilliseconds); }
    // A proxy that asks for credentials (407) gets them from the user through the system's
    // prompt, owned by hOwner, at most kMaxProxyPrompts times per session; the time the prompt
    // is open is not counted against the time limit. Without an owner (the default) nobody is
    // asked, and the opening fails with AFX_INET_PROXY_CREDENTIALS.
    void SetPromptOwner(HWND hOwner) { m_hPromptOwner = hOwner; }
    static const int kMaxProxyPrompts = 3;
    // Opens the http or https address into pFile, or answers the failure (pFile then stays
    // empty; another scheme fails with ERROR_INTERNET_UNRECOGNIZED_SCHEME). It follows
    // redirects (http to https included, https to http never) and accepts any type of answer;
    // the credentials the address holds (percent-decoded) are given only to its own origin
    // (scheme, host, port); its fragment is not sent.
    [[nodiscard]] CInternetException OpenURL(const char* pstrURL, std::unique_ptr<CInternetFile>& pFile,
                                             DWORD_PTR dwContext = 1,
                                             DWORD dwFlags = INTERNET_FLAG_TRANSFER_ASCII,
                                             const char* pstrHeaders = nullptr, DWORD dwHeadersLength = 0);
    void Close() { m_hSession.Close(); }

private:
    // One request of the address: an explicit connection and request, so that the session's
    // timeouts can be put on the request itself (not every WinINet passes them on) and so that
    // each redirect is judged by OpenURL. The timeouts hold for each connection, each send and
    // each receive, cut to what is left of the time limit, which bounds the whole request.
    CInternetException SendRequest(const HttpTarget& target, DWORD dwFlags, const char* pstrHeaders,
                                   DWORD dwHeadersLength, std::unique_ptr<CInternetFile>& pFile);
    void ApplyTimeouts(HINTERNET hRequest) const;
    // The request answered: when the proxy asks for credentials, asks the user and sends it
    // again, as often as allowed.
    CInternetException AnswerProxyChallenge(HINTERNET hRequest, CInternetCompletion& completion,
                                            const char* pstrHeaders, DWORD dwHeadersLength);

    const WinInetApi* m_pApi; // NULL when WinINet is missing
    CInternetHandle m_hSession;
    DWORD m_dwConnectTimeout = 0; // 0: the system's own
    DWORD m_dwSendTimeout = 0;
    DWORD m_dwReceiveTimeout = 0;
    CTimeLimit m_limit;
    HWND m_hPromptOwner = nullptr;
    int m_nProxyPrompts = 0;
};
