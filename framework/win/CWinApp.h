// CWinApp: the process's one application object. The framework's entry point runs its
// InitInstance; a true result runs a message loop, false ends the program.
#pragma once

#include <windows.h>

#include "CString.h"

class CWnd;

class CWinApp
{
    // Data members
public:
    CWnd* m_pMainWnd = nullptr;
    HINSTANCE m_hInstance = nullptr;
    const char* m_pszAppName = nullptr; // the executable's base name unless given
private:
    CString m_strAppName;
    CString m_strModulePath; // full path of the executable
    bool m_bOleInitialized = false;
    int m_nWaitCursorCount = 0;
    HCURSOR m_hcurWaitCursorRestore = nullptr;

    // Construction
public:
    explicit CWinApp(const char* lpszAppName = nullptr);
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;
    virtual ~CWinApp();

    // Overridables
    virtual BOOL InitInstance();
    virtual int Run();
    virtual int ExitInstance();

    // Operations
    // The three-dimensional control look is the system's own today; kept for callers.
    BOOL Enable3dControls();
    // nCode 1 shows the wait cursor, -1 ends one such request, 0 restores it.
    void DoWaitCursor(int nCode);
    const CString& GetModulePath() const { return m_strModulePath; }
    HICON LoadIcon(UINT nIDResource) const;

    // Implementation
    // Called by the entry point before InitInstance.
    void InitApplication(HINSTANCE hInstance);
    BOOL OleInit();
};

CWinApp* AfxGetApp();
const char* AfxGetAppName();
HINSTANCE AfxGetInstanceHandle();
HINSTANCE AfxGetResourceHandle();
// The module that holds the named resource of that type.
HINSTANCE AfxFindResourceHandle(LPCSTR lpszName, LPCSTR lpszType);
// Shows (1) or ends (-1) the wait cursor through the application object.
void AfxDoWaitCursor(int nCode);
// Initialises COM (OLE) for the thread; balanced when the application ends.
BOOL AfxOleInit();
// Loads a string resource; false when it does not exist.
BOOL AfxLoadString(UINT nID, CString& rString);
