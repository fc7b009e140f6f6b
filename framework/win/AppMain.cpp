// The framework's entry point: runs the one application object.
#include "CWinApp.h"
#include "SafeDllSearch.h"

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int)
{
    AfxRestrictDllSearch();
    CWinApp* pApp = AfxGetApp();
    if (!pApp)
        return -1;
    pApp->InitApplication(hInstance);
    int nReturnCode = 0;
    if (pApp->InitInstance())
        nReturnCode = pApp->Run();
    const int nExit = pApp->ExitInstance();
    return nReturnCode ? nReturnCode : nExit;
}
