// The functions of WinINet that the Internet classes call. wininet.dll is not among the
// system's known DLLs, so it is never imported statically (see SystemLibrary.h): it is loaded
// from the system folder at the first use of the Internet classes, and its functions are
// looked up there.
#pragma once

#include <windows.h>
#include <wininet.h>

struct WinInetApi
{
    decltype(&::InternetOpenA) pfnInternetOpen;
    decltype(&::InternetSetStatusCallbackA) pfnInternetSetStatusCallback;
    decltype(&::InternetSetOptionA) pfnInternetSetOption;
    decltype(&::InternetCrackUrlA) pfnInternetCrackUrl;
    decltype(&::InternetConnectA) pfnInternetConnect;
    decltype(&::HttpOpenRequestA) pfnHttpOpenRequest;
    decltype(&::HttpSendRequestA) pfnHttpSendRequest;
    decltype(&::HttpQueryInfoA) pfnHttpQueryInfo;
    decltype(&::InternetReadFile) pfnInternetReadFile;
    decltype(&::InternetCloseHandle) pfnInternetCloseHandle;
    decltype(&::InternetErrorDlg) pfnInternetErrorDlg;
    HMODULE hModule; // holds the texts of WinINet's errors
};

// WinINet's functions, every one of them found; NULL, with the last error set (the DLL's load
// error, or ERROR_PROC_NOT_FOUND), when the DLL or any of them is missing. Looked up once.
// The DLL stays loaded until the process ends: WinINet's own worker threads may still be
// inside it (finishing an operation whose handle was closed) when everything of ours is gone.
const WinInetApi* AfxGetWinInetApi();
