// The Internet classes over WinINet: a session, the remote file it opens, and the exception
// that reports their failures.
#pragma once

#include <windows.h>
#include <wininet.h>

#include <memory>

#include "CException.h"
#include "CString.h"

class CInternetException : public CException
{
public:
    explicit CInternetException(DWORD dwError)
        : m_dwError(dwError)
    {
    }
    DWORD m_dwError;
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

// A file opened on a server; every answer of the server reads as a file, error pages
// included. Read failures throw CInternetException.
class CInternetFile
{
public:
    // Takes the request handle and, for HTTP, the connection it runs on.
    CInternetFile(HINTERNET hConnect, HINTERNET hFile)
        : m_hConnect(hConnect),
          m_hFile(hFile)
    {
    }
    // Reads up to nCount bytes; answers how many arrived (0 at the end).
    UINT Read(void* lpBuf, UINT nCount);
    void Close();

private:
    CInternetHandle m_hConnect; // declared first: closed after the request
    CInternetHandle m_hFile;
};

class CInternetSession
{
public:
    // A null agent sends the application's name. Failure leaves the session closed;
    // IsOpen tells.
    CInternetSession(const char* pstrAgent = nullptr, DWORD_PTR dwContext = 1,
                     DWORD dwAccessType = PRE_CONFIG_INTERNET_ACCESS, const char* pstrProxyName = nullptr,
                     const char* pstrProxyBypass = nullptr, DWORD dwFlags = 0);
    bool IsOpen() const { return m_hSession.Get() != nullptr; }
    // Sets a numeric option of the session. The connect, send and receive timeouts also
    // apply to every request the session opens.
    BOOL SetOption(DWORD dwOption, DWORD dwValue);
    // Opens the address; throws CInternetException when the request fails. An http or https
    // address follows redirects (http to https included, https to http never), with the
    // credentials the address holds; its fragment is not sent.
    std::unique_ptr<CInternetFile> OpenURL(const char* pstrURL, DWORD_PTR dwContext = 1,
                                           DWORD dwFlags = INTERNET_FLAG_TRANSFER_ASCII,
                                           const char* pstrHeaders = nullptr, DWORD dwHeadersLength = 0);
    void Close() { m_hSession.Close(); }

private:
    // HTTP and HTTPS addresses go through an explicit connection and request, so that the
    // session's timeouts can be put on the request itself (not every WinINet passes them on)
    // and so that each redirect is judged here. The timeouts hold for each connection, each
    // send and each receive of every request; the name lookup has no limit of ours.
    std::unique_ptr<CInternetFile> OpenHttpURL(const char* pstrURL, DWORD_PTR dwContext, DWORD dwFlags,
                                               const char* pstrHeaders, DWORD dwHeadersLength);
    void ApplyTimeouts(HINTERNET hRequest) const;

    CInternetHandle m_hSession;
    DWORD m_dwConnectTimeout = 0; // 0: the system's own
    DWORD m_dwSendTimeout = 0;
    DWORD m_dwReceiveTimeout = 0;
};
