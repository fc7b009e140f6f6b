// A small program the driver's own tests start and drive.
//   e2e_driver_child cwd FILE      writes its current directory to FILE, exits 0
//   e2e_driver_child exit N        exits with code N
//   e2e_driver_child window TITLE  shows a window (see below) until closed or Press is
//                                  clicked (exit code 7)
//   e2e_driver_child sheet         shows a property sheet whose one page holds a read-only
//                                  edit box, cancels it once it is up and exits 0 (3 when
//                                  the sheet did not come up)
// The window holds a button "Press" (id 101), a static text (102), a progress bar at 40 of
// 0..200 (103) and a magenta block of 64 x 32 pixels at client (200, 10). A context menu
// offers "First" (sets the static text to "first chosen") and, after a separator, "Copy"
// (puts "copied by child" on the clipboard as text).
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <cstring>

namespace {

constexpr char kClassName[] = "QsDriverChild";
constexpr int kPressId = 101;
constexpr int kStaticId = 102;
constexpr int kProgressId = 103;
constexpr int kFirstCommand = 201;
constexpr int kCopyCommand = 202;
constexpr int kPressExitCode = 7;
constexpr COLORREF kBlockColour = RGB(255, 0, 255);
constexpr RECT kBlock = {200, 10, 264, 42};
constexpr char kCopiedText[] = "copied by child";

int WriteCurrentDirectory(const char* file)
{
    char directory[MAX_PATH * 2] = {};
    const DWORD length = GetCurrentDirectoryA(sizeof directory, directory);
    HANDLE out = CreateFileA(file, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (out == INVALID_HANDLE_VALUE)
        return 2;
    DWORD written = 0;
    const BOOL ok = WriteFile(out, directory, length, &written, nullptr);
    CloseHandle(out);
    return ok && written == length ? 0 : 2;
}

void CopyText(HWND owner)
{
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, sizeof kCopiedText);
    if (!memory)
        return;
    std::memcpy(GlobalLock(memory), kCopiedText, sizeof kCopiedText);
    GlobalUnlock(memory);
    if (OpenClipboard(owner)) {
        EmptyClipboard();
        if (!SetClipboardData(CF_TEXT, memory))
            GlobalFree(memory);
        CloseClipboard();
    } else {
        GlobalFree(memory);
    }
}

void OnContextMenu(HWND hwnd, LPARAM lParam)
{
    HMENU menu = CreatePopupMenu();
    AppendMenuA(menu, MF_STRING, kFirstCommand, "First");
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING, kCopyCommand, "Copy");
    const int chosen =
        TrackPopupMenu(menu, TPM_RETURNCMD | TPM_NONOTIFY, LOWORD(lParam), HIWORD(lParam), 0, hwnd, nullptr);
    DestroyMenu(menu);
    if (chosen == kFirstCommand)
        SetDlgItemTextA(hwnd, kStaticId, "first chosen");
    if (chosen == kCopyCommand)
        CopyText(hwnd);
}

void OnCreate(HWND hwnd)
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    CreateWindowExA(0, "BUTTON", "Press", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 10, 80, 24, hwnd,
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(kPressId)), instance, nullptr);
    CreateWindowExA(0, "STATIC", "static text", WS_CHILD | WS_VISIBLE, 10, 40, 150, 20, hwnd,
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(kStaticId)), instance, nullptr);
    HWND progress =
        CreateWindowExA(0, PROGRESS_CLASSA, "", WS_CHILD | WS_VISIBLE, 10, 70, 150, 16, hwnd,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(kProgressId)), instance, nullptr);
    SendMessageA(progress, PBM_SETRANGE32, 0, 200);
    SendMessageA(progress, PBM_SETPOS, 40, 0);
}

void OnPaint(HWND hwnd)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(hwnd, &paint);
    HBRUSH brush = CreateSolidBrush(kBlockColour);
    FillRect(dc, &kBlock, brush);
    DeleteObject(brush);
    EndPaint(hwnd, &paint);
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        OnCreate(hwnd);
        return 0;
    case WM_PAINT:
        OnPaint(hwnd);
        return 0;
    case WM_CONTEXTMENU:
        OnContextMenu(hwnd, lParam);
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == kPressId) {
            DestroyWindow(hwnd);
            PostQuitMessage(kPressExitCode);
        }
        return 0;
    case WM_CLOSE:
        DestroyWindow(hwnd);
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
}

int ShowWindowUntilClosed(const char* title)
{
    INITCOMMONCONTROLSEX controls = {};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_PROGRESS_CLASS;
    InitCommonControlsEx(&controls);
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kClassName;
    if (!RegisterClassExA(&windowClass))
        return 3;
    HWND hwnd = CreateWindowExA(0, kClassName, title, WS_OVERLAPPEDWINDOW, 100, 100, 320, 160, nullptr,
                                nullptr, windowClass.hInstance, nullptr);
    if (!hwnd)
        return 3;
    ShowWindow(hwnd, SW_SHOW);
    UpdateWindow(hwnd);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}

// The page: one read-only edit box, in the dialog font, as the link's General page has.
struct PageTemplate
{
    WORD words[128] = {};
    PageTemplate()
    {
        auto* dialog = reinterpret_cast<DLGTEMPLATE*>(words);
        dialog->style = DS_SETFONT | WS_CHILD | WS_CAPTION;
        dialog->cdit = 1;
        dialog->cx = 200;
        dialog->cy = 100;
        WORD* p = reinterpret_cast<WORD*>(dialog + 1);
        *p++ = 0; // no menu
        *p++ = 0; // the default class
        p = Put(p, L"General");
        *p++ = 8;
        p = Put(p, L"MS Sans Serif");
        p = reinterpret_cast<WORD*>((reinterpret_cast<ULONG_PTR>(p) + 3) & ~ULONG_PTR{3});
        auto* item = reinterpret_cast<DLGITEMTEMPLATE*>(p);
        item->style = WS_CHILD | WS_VISIBLE | WS_BORDER | ES_READONLY | ES_AUTOHSCROLL;
        item->x = 5;
        item->y = 5;
        item->cx = 150;
        item->cy = 12;
        item->id = 100;
        p = reinterpret_cast<WORD*>(item + 1);
        *p++ = 0xFFFF;
        *p++ = 0x0081; // EDIT
        p = Put(p, L"mailto:someone@example.com");
        *p++ = 0; // no creation data
    }
    static WORD* Put(WORD* p, const wchar_t* text)
    {
        do
            *p++ = static_cast<WORD>(*text);
        while (*text++);
        return p;
    }
};

INT_PTR CALLBACK PageProc(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_INITDIALOG;
}

// Once the sheet has shown its page and painted, Cancel ends it.
int CALLBACK SheetCallback(HWND sheet, UINT message, LPARAM)
{
    if (message == PSCB_INITIALIZED)
        PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    return 0;
}

int ShowSheet()
{
    INITCOMMONCONTROLSEX controls = {};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_WIN95_CLASSES;
    InitCommonControlsEx(&controls);
    static PageTemplate page;
    PROPSHEETPAGEA pageHeader = {};
    pageHeader.dwSize = sizeof pageHeader;
    pageHeader.dwFlags = PSP_DLGINDIRECT;
    pageHeader.pResource = reinterpret_cast<DLGTEMPLATE*>(page.words);
    pageHeader.pfnDlgProc = PageProc;
    PROPSHEETHEADERA sheet = {};
    sheet.dwSize = sizeof sheet;
    sheet.dwFlags = PSH_PROPSHEETPAGE | PSH_USECALLBACK | PSH_NOAPPLYNOW;
    sheet.pszCaption = "Probe";
    sheet.nPages = 1;
    sheet.ppsp = &pageHeader;
    sheet.pfnCallback = SheetCallback;
    return PropertySheetA(&sheet) == 0 ? 0 : 3; // cancelled: 0; failed: -1
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    if (__argc >= 3 && std::strcmp(__argv[1], "cwd") == 0)
        return WriteCurrentDirectory(__argv[2]);
    if (__argc >= 3 && std::strcmp(__argv[1], "exit") == 0)
        return std::atoi(__argv[2]);
    if (__argc >= 3 && std::strcmp(__argv[1], "window") == 0)
        return ShowWindowUntilClosed(__argv[2]);
    if (__argc >= 2 && std::strcmp(__argv[1], "sheet") == 0)
        return ShowSheet();
    return 1;
}
