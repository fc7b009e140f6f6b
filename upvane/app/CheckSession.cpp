#include "CheckSession.h"

#include "VersionCheck.h"

CCheckSession::CCheckSession(const char* pszAgent, DWORD dwTimeLimitMs)
    : m_session(pszAgent, 1, PRE_CONFIG_INTERNET_ACCESS, nullptr, nullptr, 0)
{
    if (!m_session.IsOpen())
        return;
    m_session.SetOption(INTERNET_OPTION_CONNECT_TIMEOUT, kNetworkTimeoutMs);
    m_session.SetOption(INTERNET_OPTION_SEND_TIMEOUT, kNetworkTimeoutMs);
    m_session.SetOption(INTERNET_OPTION_RECEIVE_TIMEOUT, kNetworkTimeoutMs);
    m_session.SetTimeLimit(dwTimeLimitMs);
}

CInternetException CCheckSession::Open(const char* pszAddress, DWORD dwExtraFlags)
{
    return m_session.OpenURL(pszAddress, m_file, 1, kCheckRequestFlags | dwExtraFlags, nullptr, 0);
}

bool CCheckSession::QueryStatusCode(DWORD& dwStatus) const
{
    return m_file && m_file->QueryInfoStatusCode(dwStatus);
}

CInternetException CCheckSession::ReadStart(char* pBuffer, UINT& nReceived)
{
    nReceived = 0;
    if (!m_file)
        return CInternetException(ERROR_INVALID_HANDLE);
    return m_file->Read(pBuffer, kVersionReadSize, nReceived);
}

void CCheckSession::Close()
{
    if (m_file)
        m_file->Close();
    m_file.reset();
    m_session.Close();
}
