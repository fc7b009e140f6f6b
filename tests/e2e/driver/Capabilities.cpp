#include "Capabilities.h"

#include <algorithm>
#include <cstring>
#include <thread>

#include <windows.h>

#include "Paths.h"
#include "Pixels.h"
#include "Process.h"
#include "Wait.h"

namespace qs::e2e {

namespace {

constexpr unsigned kTimeoutMs = 3000;
constexpr COLORREF kProbeColour = RGB(0x12, 0x9A, 0x56);
constexpr int kProbeSize = 40;

// A top-level popup window of the tests' own class for one probe.
class ProbeWindow
{
public:
    ProbeWindow(const char* className, WNDPROC proc, int width, int height)
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = className;
        RegisterClassA(&wc);
        m_hwnd = CreateWindowExA(WS_EX_TOPMOST, className, "", WS_POPUP | WS_VISIBLE, 0, 0, width, height,
                                 nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    }
    ~ProbeWindow()
    {
        if (m_hwnd)
            DestroyWindow(m_hwnd);
    }
    ProbeWindow(const ProbeWindow&) = delete;
    ProbeWindow& operator=(const ProbeWindow&) = delete;
    HWND Get() const { return m_hwnd; }

private:
    HWND m_hwnd = nullptr;
};

LRESULT CALLBACK PaintProbeProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg != WM_PAINT)
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    HBRUSH brush = CreateSolidBrush(kProbeColour);
    RECT client;
    GetClientRect(hwnd, &client);
    FillRect(dc, &client, brush);
    DeleteObject(brush);
    EndPaint(hwnd, &ps);
    return 0;
}

std::optional<std::string> ProbePainting()
{
    ProbeWindow window("QsPaintProbe", PaintProbeProc, kProbeSize, kProbeSize);
    if (!window.Get())
        return "no window for the probe";
    const int expected = kProbeSize * kProbeSize;
    int seen = -1;
    WaitUntil(
        [&] {
            seen = CountWindowPixels(window.Get(), kProbeColour);
            return seen == expected;
        },
        kTimeoutMs);
    if (seen == expected)
        return std::nullopt;
    if (seen < 0)
        return "this process cannot read the screen";
    return "a window painted " + std::to_string(expected) + " pixels of a colour, the screen shows "
           + std::to_string(seen);
}

// A visible popup menu window of this process.
HWND OwnPopupMenu()
{
    for (HWND hwnd = FindWindowExA(nullptr, nullptr, "#32768", nullptr); hwnd;
         hwnd = FindWindowExA(nullptr, hwnd, "#32768", nullptr)) {
        DWORD pid = 0;
        GetWindowThreadProcessId(hwnd, &pid);
        if (pid == GetCurrentProcessId() && IsWindowVisible(hwnd))
            return hwnd;
    }
    return nullptr;
}

std::optional<std::string> ProbeMenuMeasure()
{
    ProbeWindow window("QsMenuProbe", DefWindowProcA, 10, 10);
    HMENU menu = CreatePopupMenu();
    AppendMenuA(menu, MF_STRING, 1, "Open");
    // The menu's loop runs on this thread until the watcher has measured and closed it.
    int height = -1;
    std::thread watcher([&] {
        HWND popup = nullptr;
        const DWORD start = GetTickCount();
        while (!(popup = OwnPopupMenu())) {
            if (GetTickCount() - start > kTimeoutMs)
                return;
            Sleep(10);
        }
        RECT rect;
        GetWindowRect(popup, &rect);
        height = rect.bottom - rect.top;
        PostMessageA(window.Get(), WM_CANCELMODE, 0, 0);
    });
    SetForegroundWindow(window.Get());
    TrackPopupMenu(menu, TPM_RETURNCMD, 100, 100, 0, window.Get(), nullptr);
    watcher.join();
    DestroyMenu(menu);
    const int screen = GetSystemMetrics(SM_CYSCREEN);
    if (height < 0)
        return "no popup menu came up";
    if (height > 0 && height < screen / 4)
        return std::nullopt;
    return "a one-item popup menu measured " + std::to_string(height) + " pixels high (screen "
           + std::to_string(screen) + ")";
}

std::optional<std::string> ProbeSheet()
{
    Process child = Process::Start(TestedWinPath(QS_DRIVER_CHILD_PATH), "sheet");
    if (!child.Started())
        return "the probe's program did not start";
    if (!child.WaitForExit(15000)) {
        child.Kill();
        return "a property sheet with an edit box did not end";
    }
    const DWORD code = child.ExitCode().value_or(99);
    if (code == 0)
        return std::nullopt;
    char text[96];
    wsprintfA(text, "a property sheet with an edit box ended its program with 0x%08lX",
              static_cast<unsigned long>(code));
    return std::string(text);
}

std::optional<std::string> ProbeTextMeasure()
{
    HDC dc = GetDC(nullptr);
    if (!dc)
        return "no DC of the screen";
    LOGFONTA font = {};
    font.lfHeight = -MulDiv(8, GetDeviceCaps(dc, LOGPIXELSY), 72);
    font.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(font.lfFaceName, "MS Sans Serif", LF_FACESIZE);
    HFONT made = CreateFontIndirectA(&font);
    HGDIOBJ previous = made ? SelectObject(dc, made) : nullptr;
    SIZE letters = {};
    TEXTMETRICA metrics = {};
    RECT line = {0, 0, 200, 0};
    const bool measured = made && GetTextExtentPoint32A(dc, "Abc", 3, &letters)
                          && GetTextMetricsA(dc, &metrics)
                          && DrawTextA(dc, "Abc", 3, &line, DT_CALCRECT | DT_WORDBREAK) > 0;
    if (previous)
        SelectObject(dc, previous);
    if (made)
        DeleteObject(made);
    ReleaseDC(nullptr, dc);
    if (measured && letters.cx > 0 && metrics.tmHeight > 0 && line.bottom > line.top)
        return std::nullopt;
    return "text is not measured (width " + std::to_string(letters.cx) + ", height "
           + std::to_string(metrics.tmHeight) + ", drawn line " + std::to_string(line.bottom - line.top)
           + ")";
}

} // namespace

std::optional<std::string> SheetWithEditFails()
{
    static const std::optional<std::string> why = ProbeSheet();
    return why;
}

std::optional<std::string> TextMeasuredWrongly()
{
    static const std::optional<std::string> why = ProbeTextMeasure();
    return why;
}

std::optional<std::string> AnsiTextDamaged()
{
    static const std::optional<std::string> why = [] {
        ProbeWindow window("QsTextProbe", DefWindowProcA, 10, 10);
        const char sent[] = "Caf\xE9 \xC0 \x80";
        SetWindowTextA(window.Get(), sent);
        char back[32] = {};
        const int n = GetWindowTextA(window.Get(), back, sizeof back);
        if (std::string(back, n > 0 ? n : 0) == sent)
            return std::optional<std::string>();
        std::string hex;
        for (int i = 0; i < n; ++i) {
            char byte[4];
            wsprintfA(byte, " %02X", static_cast<unsigned char>(back[i]));
            hex += byte;
        }
        return std::optional<std::string>("a window text set in the ANSI code page reads back as" + hex);
    }();
    return why;
}

bool BeyondAscii(const std::string& text)
{
    return std::any_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

std::optional<std::string> IconsMissing()
{
    // An icon resource as a program's own icon is loaded from: a 32 x 32 monochrome image
    // (header, two colours, the image rows, the mask rows), made into an icon the same way.
    struct
    {
        BITMAPINFOHEADER header;
        RGBQUAD colours[2];
        BYTE image[32 * 4];
        BYTE mask[32 * 4];
    } resource = {};
    resource.header.biSize = sizeof resource.header;
    resource.header.biWidth = 32;
    resource.header.biHeight = 64; // image and mask
    resource.header.biPlanes = 1;
    resource.header.biBitCount = 1;
    resource.colours[1] = RGBQUAD{255, 255, 255, 0};
    HICON made = CreateIconFromResourceEx(reinterpret_cast<PBYTE>(&resource), sizeof resource, TRUE,
                                          0x00030000, 32, 32, LR_DEFAULTCOLOR);
    if (!made)
        return "an icon resource makes no icon (CreateIconFromResourceEx, error "
               + std::to_string(GetLastError()) + ")";
    DestroyIcon(made);
    return std::nullopt;
}

std::optional<std::string> PaintingUnseen()
{
    static const std::optional<std::string> why = ProbePainting();
    return why;
}

std::optional<std::string> StockIconMissing()
{
    if (LoadIconA(nullptr, IDI_APPLICATION))
        return std::nullopt;
    return "LoadIcon(NULL, IDI_APPLICATION) answers NULL";
}

std::optional<std::string> CursorsMissing()
{
    if (!LoadCursorA(nullptr, IDC_ARROW))
        return "LoadCursor(NULL, IDC_ARROW) answers NULL";
    // A 32 x 32 cursor, all of it transparent.
    BYTE andMask[32 * 4];
    BYTE xorMask[32 * 4] = {};
    memset(andMask, 0xFF, sizeof andMask);
    HCURSOR made = CreateCursor(GetModuleHandleA(nullptr), 8, 3, 32, 32, andMask, xorMask);
    if (!made)
        return "CreateCursor answers NULL (error " + std::to_string(GetLastError()) + ")";
    DestroyCursor(made);
    return std::nullopt;
}

bool CapabilitiesRequired()
{
    char value[8] = {};
    const DWORD n = GetEnvironmentVariableA("QS_REQUIRE_CAPABILITIES", value, sizeof value);
    return n == 1 && value[0] == '1';
}

std::optional<std::string> Probed(const char* probe, std::optional<std::string> why)
{
    if (why && CapabilitiesRequired())
        ADD_FAILURE() << "this run requires every capability, and " << probe
                      << " found one missing: " << *why;
    return why;
}

std::optional<std::string> MenuMeasuredWrongly()
{
    static const std::optional<std::string> why = ProbeMenuMeasure();
    return why;
}

bool RunningUnderWine()
{
    return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
}

} // namespace qs::e2e
