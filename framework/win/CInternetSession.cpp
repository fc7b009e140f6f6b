#include "CInternetSession.h"

#include <string.h>

#include "CWinApp.h"

CString CInternetException::GetErrorMessage() const
{
    char* pText = nullptr;
    DWORD n = 0;
    if (m_dwError >= INTERNET_ERROR_BASE && m_dwError <= INTERNET_ERROR_LAST) {
        n = ::FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_HMODULE
                                 | FORMAT_MESSAGE_IGNORE_INSERTS,
                             ::GetModuleHandleA("wininet.dll"), m_dwError, 0,
                             reinterpret_cast<LPSTR>(&pText), 0, nullptr);
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

UINT CInternetFile::Read(void* lpBuf, UINT nCount)
{
    DWORD dwRead = 0;
    if (!::InternetReadFile(m_hFile.Get(), lpBuf, nCount, &dwRead))
        throw CInternetException(::GetLastError());
    return dwRead;
}

CInternetSession::CInternetSession(const char* pstrAgent, DWORD_PTR dwContext,
                                   DWORD dwAccessType, const char* pstrProxyName,
                                   const char* pstrProxyBypass, DWORD dwFlags)
    : m_hSession(::InternetOpenA(pstrAgent ? pstrAgent : AfxGetAppName(), dwAccessType,
                                 pstrProxyName, pstrProxyBypass, dwFlags))
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
    const struct { DWORD option; DWORD value; } timeouts[] = {
        { INTERNET_OPTION_CONNECT_TIMEOUT, m_dwConnectTimeout },
        { INTERNET_OPTION_SEND_TIMEOUT, m_dwSendTimeout },
        { INTERNET_OPTION_RECEIVE_TIMEOUT, m_dwReceiveTimeout },
    };
    for (const auto& t : timeouts) {
        DWORD value = t.value;
        if (value)
            ::InternetSetOptionA(hRequest, t.option, &value, sizeof value);
    }
}

std::unique_ptr<CInternetFile> CInternetSession::OpenURL(const char* pstrURL, DWORD_PTR dwContext,
                                                         DWORD dwFlags, const char* pstrHeaders,
                                                         DWORD dwHeadersLength)
{
    if (!IsOpen())
        throw CInternetException(ERROR_INVALID_HANDLE);
    if (::_strnicmp(pstrURL, "http://", 7) == 0)
        return OpenHttpURL(pstrURL, dwContext, dwFlags, pstrHeaders, dwHeadersLength);
    HINTERNET hFile = ::InternetOpenUrlA(m_hSession.Get(), pstrURL, pstrHeaders, dwHeadersLength,
                                         dwFlags, dwContext);
    if (!hFile)
        throw CInternetException(::GetLastError());
    return std::unique_ptr<CInternetFile>(new CInternetFile(nullptr, hFile));
}

std::unique_ptr<CInternetFile> CInternetSession::OpenHttpURL(const char* pstrURL,
                                                             DWORD_PTR dwContext, DWORD dwFlags,
                                                             const char* pstrHeaders,
                                                             DWORD dwHeadersLength)
{
    // Host and path (with any query) of the address, each in a buffer of the address's size.
    const size_t nLength = ::lstrlenA(pstrURL) + 1;
    std::unique_ptr<char[]> host(new char[nLength]);
    std::unique_ptr<char[]> path(new char[nLength + 1]);
    std::unique_ptr<char[]> extra(new char[nLength]);
    URL_COMPONENTSA parts = {};
    parts.dwStructSize = sizeof parts;
    parts.lpszHostName = host.get();
    parts.dwHostNameLength = static_cast<DWORD>(nLength);
    parts.lpszUrlPath = path.get();
    parts.dwUrlPathLength = static_cast<DWORD>(nLength);
    parts.lpszExtraInfo = extra.get();
    parts.dwExtraInfoLength = static_cast<DWORD>(nLength);
    if (!::InternetCrackUrlA(pstrURL, 0, 0, &parts))
        throw CInternetException(::GetLastError());

    CString strObject(parts.lpszUrlPath, static_cast<int>(parts.dwUrlPathLength));
    strObject += CString(parts.lpszExtraInfo, static_cast<int>(parts.dwExtraInfoLength));
    if (strObject.IsEmpty())
        strObject = "/";

    CInternetHandle hConnect(::InternetConnectA(m_hSession.Get(), parts.lpszHostName, parts.nPort,
                                                nullptr, nullptr, INTERNET_SERVICE_HTTP, 0,
                                                dwContext));
    if (!hConnect.Get())
        throw CInternetException(::GetLastError());
    CInternetHandle hRequest(::HttpOpenRequestA(hConnect.Get(), "GET", strObject, nullptr, nullptr,
                                                nullptr, dwFlags, dwContext));
    if (!hRequest.Get())
        throw CInternetException(::GetLastError());
    ApplyTimeouts(hRequest.Get());
    if (!::HttpSendRequestA(hRequest.Get(), pstrHeaders, dwHeadersLength, nullptr, 0))
        throw CInternetException(::GetLastError());
    return std::unique_ptr<CInternetFile>(new CInternetFile(hConnect.Release(), hRequest.Release()));
}
