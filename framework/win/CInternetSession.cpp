#include "CInternetSession.h"

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
    return ::InternetSetOptionA(m_hSession.Get(), dwOption, &dwValue, sizeof dwValue);
}

std::unique_ptr<CInternetFile> CInternetSession::OpenURL(const char* pstrURL, DWORD_PTR dwContext,
                                                         DWORD dwFlags, const char* pstrHeaders,
                                                         DWORD dwHeadersLength)
{
    if (!IsOpen())
        throw CInternetException(ERROR_INVALID_HANDLE);
    HINTERNET hFile = ::InternetOpenUrlA(m_hSession.Get(), pstrURL, pstrHeaders, dwHeadersLength,
                                         dwFlags, dwContext);
    if (!hFile)
        throw CInternetException(::GetLastError());
    return std::unique_ptr<CInternetFile>(new CInternetFile(hFile));
}
