// A minimal Traylet client: loads Traylet.dll by name, creates the tray manager, gives it the
// main window, an icon and a menu, runs the message loop, and shuts the manager down and
// releases it when the window is gone.
//
// Closing the window only hides it (the tray manager sees to that); click the tray icon or
// choose "Open Quillory" to show it again, and "Exit" to end the program.
#include <windows.h>

#include "TrayManager.h"

namespace {

const UINT kCmdHello = 100; // a command of our own: the manager forwards it to us
const UINT kCmdExit = 9001; // the manager destroys our window on this command

const char kWindowClass[] = "TrayletExampleWnd";

LRESULT CALLBACK MainWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
        if (LOWORD(wParam) == kCmdHello) {
            SetWindowTextA(hWnd, "Traylet example: hello from the tray menu");
            return 0;
        }
        break;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefWindowProcA(hWnd, message, wParam, lParam);
}

// The client's menu: the popup at position 0 becomes the tray icon's context menu.
HMENU CreateClientMenu()
{
    HMENU hPopup = CreatePopupMenu();
    AppendMenuA(hPopup, MF_STRING, kCmdHello, "Say &hello");
    AppendMenuA(hPopup, MF_STRING, kCmdExit, "E&xit");
    HMENU hMenu = CreateMenu();
    AppendMenuA(hMenu, MF_POPUP, reinterpret_cast<UINT_PTR>(hPopup), "Tray");
    return hMenu;
}

} // namespace

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int nCmdShow)
{
    HMODULE hTraylet = LoadLibraryA("Traylet.dll");
    if (!hTraylet)
        return 10;
    auto pfnCreate = reinterpret_cast<PFN_CREATETRAYMANAGER>(
        reinterpret_cast<void*>(GetProcAddress(hTraylet, "CreateTrayManager")));
    auto pfnDestroy = reinterpret_cast<PFN_DESTROYTRAYMANAGER>(
        reinterpret_cast<void*>(GetProcAddress(hTraylet, "DestroyTrayManager")));
    if (!pfnCreate || !pfnDestroy)
        return 11;

    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = MainWndProc;
    wc.hInstance = hInstance;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kWindowClass;
    RegisterClassExA(&wc);
    HWND hWnd = CreateWindowExA(0, kWindowClass, "Traylet example", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                CW_USEDEFAULT, 400, 200, nullptr, nullptr, hInstance, nullptr);
    if (!hWnd)
        return 12;
    ShowWindow(hWnd, nCmdShow);

    // The icon and menu are ours: the manager borrows them and we destroy them at the end.
    HICON hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    HMENU hMenu = CreateClientMenu();

    TrayManager* pManager = nullptr;
    if (!pfnCreate(&pManager) || !pManager)
        return 13;
    const BOOL bInit = pManager->Init(hWnd, hIcon, "Traylet example", hMenu);

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }

    const BOOL bShutdown = pManager->Shutdown();
    const BOOL bDestroy = pfnDestroy(&pManager);
    DestroyMenu(hMenu);
    FreeLibrary(hTraylet);
    // 0 when every call of the manager succeeded.
    return (bInit ? 0 : 1) | (bShutdown ? 0 : 2) | (bDestroy ? 0 : 4);
}
