#include "WinInetApi.h"

#include "SystemLibrary.h"

namespace {

template <class PFN> bool Find(CSystemLibrary& library, PFN& pfn, const char* pszName)
{
    pfn = library.GetProc<PFN>(pszName);
    return pfn != nullptr;
}

// The table once the DLL and all its functions were found; dwError tells why not otherwise.
struct LoadedWinInet
{
    WinInetApi api = {};
    bool bComplete = false;
    DWORD dwError = 0;

    LoadedWinInet()
    {
        // Never freed: see the header.
        CSystemLibrary& library = *new CSystemLibrary("wininet.dll");
        api.hModule = library.GetModule();
        if (!api.hModule) {
            dwError = ::GetLastError();
            return;
        }
        bComplete = Find(library, api.pfnInternetOpen, "InternetOpenA")
                    && Find(library, api.pfnInternetSetStatusCallback, "InternetSetStatusCallbackA")
                    && Find(library, api.pfnInternetSetOption, "InternetSetOptionA")
                    && Find(library, api.pfnInternetCrackUrl, "InternetCrackUrlA")
                    && Find(library, api.pfnInternetConnect, "InternetConnectA")
                    && Find(library, api.pfnHttpOpenRequest, "HttpOpenRequestA")
                    && Find(library, api.pfnHttpSendRequest, "HttpSendRequestA")
                    && Find(library, api.pfnHttpQueryInfo, "HttpQueryInfoA")
                    && Find(library, api.pfnInternetReadFile, "InternetReadFile")
                    && Find(library, api.pfnInternetCloseHandle, "InternetCloseHandle")
                    && Find(library, api.pfnInternetErrorDlg, "InternetErrorDlg");
        if (!bComplete)
            dwError = ERROR_PROC_NOT_FOUND;
    }
};

// Made at the first call, on the program's one thread, and kept (no function-local static:
// its thread-safe guard would bring the C++ run-time's threads and exceptions into the program).
const LoadedWinInet* g_pWinInet = nullptr;

} // namespace

const WinInetApi* AfxGetWinInetApi()
{
    if (!g_pWinInet)
        g_pWinInet = new LoadedWinInet;
    if (!g_pWinInet->bComplete) {
        ::SetLastError(g_pWinInet->dwError);
        return nullptr;
    }
    return &g_pWinInet->api;
}
