#include "AnsweringWait.h"

namespace {

// Keys and mouse, in the client area and outside it: what the user does to a window.
bool IsUserInput(UINT message)
{
    return (message >= WM_KEYFIRST && message <= WM_KEYLAST)
           || (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST)
           || (message >= WM_NCMOUSEMOVE && message <= WM_NCXBUTTONDBLCLK) || message == WM_NCMOUSEHOVER
           || message == WM_NCMOUSELEAVE || message == WM_MOUSEHOVER || message == WM_MOUSELEAVE;
}

} // namespace

bool AfxWaitAnswering(HANDLE hEvent, DWORD dwMilliseconds)
{
    const DWORD dwStart = ::GetTickCount();
    bool bQuit = false;
    WPARAM nQuitCode = 0;
    bool bSet = false;
    for (;;) {
        DWORD dwLeft = INFINITE;
        if (dwMilliseconds != INFINITE) {
            const DWORD dwElapsed = ::GetTickCount() - dwStart;
            dwLeft = dwElapsed < dwMilliseconds ? dwMilliseconds - dwElapsed : 0;
        }
        const DWORD dwWoken = ::MsgWaitForMultipleObjects(1, &hEvent, FALSE, dwLeft, QS_ALLINPUT);
        if (dwWoken == WAIT_OBJECT_0) {
            bSet = true;
            break;
        }
        // Run out (messages that keep coming do not stretch the wait), or failed.
        if (dwWoken != WAIT_OBJECT_0 + 1 || dwLeft == 0)
            break;
        // Reading a message answers the messages sent to the thread meanwhile.
        MSG msg = {};
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                bQuit = true;
                nQuitCode = msg.wParam;
            } else if (!IsUserInput(msg.message)) {
                ::DispatchMessageA(&msg);
            }
        }
    }
    if (bQuit)
        ::PostQuitMessage(static_cast<int>(nQuitCode));
    return bSet;
}
