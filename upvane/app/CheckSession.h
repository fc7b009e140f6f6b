// CCheckSession: the Internet session of a check, set up as Upvane's Check sets it up (the
// system's configured access, the check's timeouts, one time limit for everything it opens and
// reads), with the opening of an address and the one read of a version document's start.
// The dialog steps its progress bar between the steps; setmaker's verify makes the same
// requests from a vendor's desk.
#pragma once

#include "CInternetSession.h"

#include <memory>

// How long each wait for the server to accept and to answer may take before the failure is
// reported: WinINet's own defaults would keep the dialog blocked for minutes.
inline constexpr DWORD kNetworkTimeoutMs = 15000;
// How long a whole check may take from the click, redirects and reading included; each wait
// is cut to what is left of it.
inline constexpr DWORD kCheckTimeLimitMs = 30000;

// The flags of the check's request for the version document.
inline constexpr DWORD kCheckRequestFlags = INTERNET_FLAG_TRANSFER_ASCII;

class CCheckSession
{
public:
    // pszAgent: the user agent (null: the application's name). The time limit starts now.
    explicit CCheckSession(const char* pszAgent = nullptr, DWORD dwTimeLimitMs = kCheckTimeLimitMs);

    // A proxy that asks for credentials asks the user through a prompt owned by hOwner.
    void SetPromptOwner(HWND hOwner) { m_session.SetPromptOwner(hOwner); }

    // False when no session could be made; nothing else then works.
    bool IsOpen() const { return m_session.IsOpen(); }

    // Opens the address as the check opens it (redirects and credentials as the Internet
    // session's rules say), with dwExtraFlags added to the check's flags.
    [[nodiscard]] CInternetException Open(const char* pszAddress, DWORD dwExtraFlags = 0);
    // The HTTP status of the opened answer (after the redirects it followed); false when it has
    // none.
    bool QueryStatusCode(DWORD& dwStatus) const;
    // The one read of the opened document: up to kVersionReadSize bytes into pBuffer.
    [[nodiscard]] CInternetException ReadStart(char* pBuffer, UINT& nReceived);
    // Closes the opened file, then the session.
    void Close();

private:
    CInternetSession m_session;
    std::unique_ptr<CInternetFile> m_file;
};
