// The platform's share of Upvane's start-up and of its check: a program that makes the system
// calls Upvane makes, in the same order and on Upvane's own dialog template and resources,
// with none of the suite's code (no framework, no set-file reader, no descrambling, no link
// control, no request handling of its own). It marks the same steps as a timed build of
// Upvane, so that each step's cost can be set beside the platform's cost of it.
//
// Start-up: COM; the three links' pointer; the dialog from Upvane's template (banner bitmap,
// controls, dialog font); the links subclassed; the common controls, the icon, Download
// disabled and what's-new hidden; the set file found in the program's folder and read
// through the profile functions (section names, then the section, then one look-up per
// value); the caption, information line, version line and link texts set; the links'
// underlined font made at their first paint.
//
// Check (the Check button): a WinINet session; the progress bar reset; the dialog repainted
// twice, a step; the address opened (WinINet loaded at the first check, as Upvane loads it);
// a repaint, a step; one read of 200 bytes; a step, a step, Download enabled, the what's-new
// link's text set and the link shown, a step, the version line and the message set; file and
// session closed.
//
// platform_dialog [ADDRESS]     ADDRESS: the version document the check reads
#include <windows.h>
#include <commctrl.h>
#include <wininet.h>

#include <string.h>

#include "StepMark.h"
#include "resource.h"

namespace {

const char kSection[] = "information";
const char* const kKeys[] = {"title",    "info",    "installed", "site",          "weblink",
                             "mailtext", "webmail", "wizfile",   "updatefilename"};
const int kKeyCount = sizeof kKeys / sizeof kKeys[0];
const int kValueSize = 256;
const DWORD kReadSize = 200;
const COLORREF kLinkColor = RGB(0, 0, 255);
const int kLinkIds[] = {IDC_MAILLINK, IDC_SITELINK, IDC_WHATSNEWLINK};
const int kLinkCount = sizeof kLinkIds / sizeof kLinkIds[0];

struct Link
{
    HWND hwnd = nullptr;
    WNDPROC previous = nullptr;
    HFONT font = nullptr;
    HCURSOR cursor = nullptr;
};

Link g_links[kLinkCount];

Link* FindLink(HWND hwnd)
{
    for (Link& link : g_links)
        if (link.hwnd == hwnd)
            return &link;
    return nullptr;
}

LRESULT CALLBACK LinkProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    Link* link = FindLink(hwnd);
    if (message == WM_SETCURSOR && link && link->cursor) {
        SetCursor(link->cursor);
        return TRUE;
    }
    return CallWindowProcA(link ? link->previous : DefWindowProcA, hwnd, message, wParam, lParam);
}

char g_path[MAX_PATH];
char g_values[kKeyCount][kValueSize];
char g_installedLine[kValueSize + 32];
const char* g_address = "";

// The set file found in the program's folder and read as the reader reads it: the section
// names, then each section (here the one); false without a set file.
bool ReadSetFile()
{
    char folder[MAX_PATH];
    const DWORD n = GetModuleFileNameA(nullptr, folder, MAX_PATH);
    char* slash = n > 0 && n < MAX_PATH ? strrchr(folder, '\\') : nullptr;
    if (!slash)
        return false;
    lstrcpyA(slash + 1, "\\*.set");
    WIN32_FIND_DATAA found = {};
    HANDLE search = FindFirstFileA(folder, &found);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    FindClose(search);
    if (GetFullPathNameA(found.cFileName, MAX_PATH, g_path, nullptr) == 0)
        return false;
    char names[256];
    char lines[4096];
    GetPrivateProfileSectionNamesA(names, sizeof names, g_path);
    GetPrivateProfileSectionA(kSection, lines, sizeof lines, g_path);
    return true;
}

// WinINet, loaded at the first check.
struct WinInet
{
    decltype(&InternetOpenA) open = nullptr;
    decltype(&InternetOpenUrlA) openUrl = nullptr;
    decltype(&InternetReadFile) read = nullptr;
    decltype(&InternetCloseHandle) close = nullptr;

    bool Load()
    {
        if (open)
            return true;
        HMODULE module = LoadLibraryA("wininet.dll");
        if (!module)
            return false;
        open = reinterpret_cast<decltype(open)>(
            reinterpret_cast<void*>(GetProcAddress(module, "InternetOpenA")));
        openUrl = reinterpret_cast<decltype(openUrl)>(
            reinterpret_cast<void*>(GetProcAddress(module, "InternetOpenUrlA")));
        read = reinterpret_cast<decltype(read)>(
            reinterpret_cast<void*>(GetProcAddress(module, "InternetReadFile")));
        close = reinterpret_cast<decltype(close)>(
            reinterpret_cast<void*>(GetProcAddress(module, "InternetCloseHandle")));
        return open && openUrl && read && close;
    }
};

WinInet g_winInet;

void Step(HWND dialog)
{
    SendDlgItemMessageA(dialog, IDC_PROGRESS, PBM_STEPIT, 0, 0);
}

void OnCheck(HWND dialog)
{
    AFX_STEP_MARK("check entered");
    HINTERNET session = g_winInet.Load() ? g_winInet.open("platform_dialog", INTERNET_OPEN_TYPE_PRECONFIG,
                                                          nullptr, nullptr, 0)
                                         : nullptr;
    SendDlgItemMessageA(dialog, IDC_PROGRESS, PBM_SETPOS, 0, 0);
    SendDlgItemMessageA(dialog, IDC_PROGRESS, PBM_SETRANGE, 0, MAKELPARAM(0, 50));
    if (!session)
        return;
    AFX_STEP_MARK("session opened, progress reset");
    UpdateWindow(dialog);
    UpdateWindow(dialog);
    Step(dialog);
    AFX_STEP_MARK("repainted twice, stepped");
    HINTERNET file = g_winInet.openUrl(session, g_address, nullptr, 0, INTERNET_FLAG_TRANSFER_ASCII, 1);
    AFX_STEP_MARK("address opened");
    char received[kReadSize + 1] = {};
    DWORD count = 0;
    if (file) {
        UpdateWindow(dialog);
        Step(dialog);
        AFX_STEP_MARK("repainted, stepped");
        g_winInet.read(file, received, kReadSize, &count);
        AFX_STEP_MARK("document read");
    }
    if (count > 0) {
        received[count < 30 ? count : 30] = '\0';
        Step(dialog);
        Step(dialog);
        EnableWindow(GetDlgItem(dialog, IDC_DOWNLOAD), TRUE);
        char text[kReadSize + 64];
        lstrcpyA(text, "See what's new in ");
        lstrcatA(text, received);
        SetDlgItemTextA(dialog, IDC_WHATSNEWLINK, text);
        ShowWindow(GetDlgItem(dialog, IDC_WHATSNEWLINK), SW_SHOW);
        Step(dialog);
        lstrcpyA(text, g_installedLine);
        lstrcatA(text, "\nAvailable Version:  ");
        lstrcatA(text, received);
        SetDlgItemTextA(dialog, IDC_VERSION, text);
        SetDlgItemTextA(dialog, IDC_MESSAGE, "This is an upgrade\nClick Download to get the Upgrade");
        AFX_STEP_MARK("decided and shown");
    }
    if (file)
        g_winInet.close(file);
    g_winInet.close(session);
    AFX_STEP_MARK("file and session closed");
}

BOOL OnInitDialog(HWND dialog)
{
    AFX_STEP_MARK("dialog and controls created");
    for (int i = 0; i < kLinkCount; ++i) {
        g_links[i].hwnd = GetDlgItem(dialog, kLinkIds[i]);
        g_links[i].previous = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(g_links[i].hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(LinkProc)));
    }
    AFX_STEP_MARK("links and progress bar bound");

    InitCommonControls();
    HICON icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME));
    SendMessageA(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    SendMessageA(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    EnableWindow(GetDlgItem(dialog, IDC_DOWNLOAD), FALSE);
    ShowWindow(GetDlgItem(dialog, IDC_WHATSNEWLINK), SW_HIDE);
    AFX_STEP_MARK("common controls, icon, button states");

    const bool setFile = ReadSetFile();
    AFX_STEP_MARK("set file found and read");
    for (int i = 0; i < kKeyCount; ++i)
        if (setFile)
            GetPrivateProfileStringA(kSection, kKeys[i], "", g_values[i], kValueSize, g_path);
    AFX_STEP_MARK("nine values looked up and descrambled");

    SetWindowTextA(dialog, g_values[0]);
    for (HWND h = GetWindow(dialog, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT))
        if (LOWORD(GetDlgCtrlID(h)) == 0xFFFF && GetWindowTextLengthA(h) == 0) {
            SetWindowTextA(h, g_values[1]);
            break;
        }
    lstrcpyA(g_installedLine, "Installed  Version:  ");
    lstrcatA(g_installedLine, g_values[2]);
    SetDlgItemTextA(dialog, IDC_VERSION, g_installedLine);
    SetDlgItemTextA(dialog, IDC_MAILLINK, g_values[5]);
    SetDlgItemTextA(dialog, IDC_SITELINK, g_values[3]);
    AFX_STEP_MARK("texts and link addresses set");
    return FALSE;
}

// A link's first colour request makes its underlined font from the dialog's and gives the
// static the SS_NOTIFY style it needs for mouse input, as the link control does.
HBRUSH OnLinkColor(HWND dialog, HWND control, HDC dc)
{
    Link* link = FindLink(control);
    if (!link)
        return nullptr;
    const LONG_PTR style = GetWindowLongPtrA(control, GWL_STYLE);
    if (!(style & SS_NOTIFY))
        SetWindowLongPtrA(control, GWL_STYLE, style | SS_NOTIFY);
    if (!link->font) {
        LOGFONTA font = {};
        HFONT dialogFont = reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0));
        if (dialogFont && GetObjectA(dialogFont, sizeof font, &font)) {
            font.lfUnderline = TRUE;
            link->font = CreateFontIndirectA(&font);
            SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(link->font), FALSE);
        }
    }
    if (link->font)
        SelectObject(dc, link->font);
    SetTextColor(dc, kLinkColor);
    SetBkMode(dc, TRANSPARENT);
    return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
}

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog(dialog);
    case WM_CTLCOLORSTATIC:
        return reinterpret_cast<INT_PTR>(
            OnLinkColor(dialog, reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam)));
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_CHECK && HIWORD(wParam) == BN_CLICKED) {
            OnCheck(dialog);
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        }
        break;
    }
    return FALSE;
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int)
{
    AFX_STEP_MARK("program entered");
    g_address = commandLine;
    const bool com = SUCCEEDED(OleInitialize(nullptr));
    AFX_STEP_MARK("COM initialised");
    for (Link& link : g_links)
        link.cursor = LoadCursorA(nullptr, IDC_HAND);
    DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_UPVANE_DIALOG), nullptr, DialogProc, 0);
    for (Link& link : g_links)
        if (link.font)
            DeleteObject(link.font);
    if (com)
        OleUninitialize();
    return 0;
}
