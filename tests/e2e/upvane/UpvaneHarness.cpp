#include "UpvaneHarness.h"

#include <gtest/gtest.h>

#include "Files.h"
#include "Paths.h"
#include "Registry.h"
#include "Wait.h"
#include "Window.h"

namespace qs::e2e {

namespace {

const unsigned kStartTimeoutMs = 15000;

} // namespace

UpvaneRun::UpvaneRun(const std::string& folderPrefix)
    : m_dir(new TempDir(folderPrefix))
{
    EXPECT_FALSE(m_dir->Path().empty());
    EXPECT_TRUE(CopyFileTo(QS_DELIVERABLE(UPVANE), m_dir->File("Upvane.exe")));
}

void UpvaneRun::WriteFile(const std::string& name, const std::string& bytes) const
{
    EXPECT_TRUE(m_dir->Write(name, bytes)) << name;
}

void UpvaneRun::WriteSetFile(const std::map<std::string, std::string>& plainValues,
                             const std::string& name) const
{
    WriteFile(name, MakeSetFileText(plainValues));
}

bool UpvaneRun::Start(const std::string& currentDirectory)
{
    m_process = Process::Start(m_dir->File("Upvane.exe"), "",
                               currentDirectory.empty() ? m_dir->Path() : currentDirectory);
    if (!m_process.Started())
        return false;
    m_dialog = m_process.WaitForTopWindow("#32770", nullptr, kStartTimeoutMs);
    if (!m_dialog)
        return false;
    // The dialog is up once its initialisation has filled the version line.
    return WaitUntil([&] { return TryText(Item(kVersionText)).value_or("") != "Static"; }, kStartTimeoutMs);
}

std::string WinInetErrorText(unsigned long error)
{
    HMODULE wininet = LoadLibraryA("wininet.dll");
    char* text = nullptr;
    const DWORD n = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_HMODULE
                                       | FORMAT_MESSAGE_IGNORE_INSERTS,
                                   wininet, error, 0, reinterpret_cast<LPSTR>(&text), 0, nullptr);
    std::string result = n && text ? std::string(text, n) : std::string();
    if (text)
        LocalFree(text);
    while (!result.empty() && isspace(static_cast<unsigned char>(result.back())))
        result.pop_back();
    return result;
}

HWND UpvaneRun::Item(int id) const
{
    return Child(m_dialog, id);
}

std::string UpvaneRun::ItemText(int id) const
{
    return Text(Item(id));
}

HWND UpvaneRun::Banner() const
{
    for (HWND child : Descendants(m_dialog))
        if ((Style(child) & SS_TYPEMASK) == SS_BITMAP)
            return child;
    return nullptr;
}

HWND UpvaneRun::InformationLine() const
{
    for (HWND h = GetWindow(m_dialog, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT))
        if (LOWORD(GetDlgCtrlID(h)) == 0xFFFF)
            return h;
    return nullptr;
}

HWND UpvaneRun::FindMessageBox() const
{
    for (HWND h : m_process.Windows()) {
        if (h != m_dialog && IsWindowVisible(h) && ClassName(h) == "#32770")
            return h;
    }
    return nullptr;
}

std::string UpvaneRun::MessageBoxText(HWND box)
{
    // The message is the box's static text with the most characters (the icon's static
    // has none).
    std::string best;
    for (HWND h : Descendants(box)) {
        if (ClassName(h) != "Static")
            continue;
        const std::string text = Text(h);
        if (text.size() > best.size())
            best = text;
    }
    return best;
}

HWND UpvaneRun::CheckAndWait(unsigned timeoutMs, const std::function<void()>& meanwhile)
{
    HWND progress = Item(kProgress);
    Click(Item(kCheck));
    HWND box = nullptr;
    // The progress bar starts from 0 on every check; wait for the reset first when a
    // previous check left it full.
    WaitUntil([&] { return ProgressPos(progress).value_or(-1) < 50 || FindMessageBox(); }, 2000);
    if (meanwhile)
        meanwhile();
    WaitUntil(
        [&] {
            box = FindMessageBox();
            return box || ProgressPos(progress).value_or(0) == 50;
        },
        timeoutMs);
    // The full bar comes before the handler has closed the connection; reads that follow
    // must not race that close (it can take a while when the server never answered).
    WaitUntil([&] { return SendWithTimeout(m_dialog, WM_NULL, 0, 0, 1000).has_value(); }, 30000);
    return box;
}

// A DC of the screen: a memory DC made without one (CreateCompatibleDC(NULL)) is refused to
// 32-bit programs under Wine's WoW64 mode, and measures the same where it works.
DialogFont::DialogFont(int dpi)
    : m_dc(GetDC(nullptr))
{
    if (!m_dc)
        return;
    LOGFONTA font = {};
    font.lfHeight = -MulDiv(8, dpi ? dpi : GetDeviceCaps(m_dc, LOGPIXELSY), 72);
    font.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(font.lfFaceName, "MS Sans Serif", LF_FACESIZE);
    m_font = CreateFontIndirectA(&font);
    if (m_font)
        m_previous = SelectObject(m_dc, m_font);
}

DialogFont::~DialogFont()
{
    if (m_previous)
        SelectObject(m_dc, m_previous);
    if (m_font)
        DeleteObject(m_font);
    if (m_dc)
        ReleaseDC(nullptr, m_dc);
}

SIZE DialogFont::BaseUnits() const
{
    static const char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    SIZE letters = {};
    TEXTMETRICA metrics = {};
    if (!m_font || !GetTextExtentPoint32A(m_dc, kLetters, 52, &letters) || !GetTextMetricsA(m_dc, &metrics))
        return SIZE{};
    return SIZE{(letters.cx / 26 + 1) / 2, metrics.tmHeight};
}

int DialogFont::TextHeight(const std::string& text, int width) const
{
    if (!m_font)
        return -1;
    RECT rect = {0, 0, width, 0};
    DrawTextA(m_dc, text.c_str(), static_cast<int>(text.size()), &rect,
              DT_LEFT | DT_WORDBREAK | DT_EXPANDTABS | DT_CALCRECT);
    return rect.bottom - rect.top;
}

int DialogFont::TextWidth(const std::string& text) const
{
    SIZE size = {};
    if (!m_font || !GetTextExtentPoint32A(m_dc, text.c_str(), static_cast<int>(text.size()), &size))
        return -1;
    return size.cx;
}

RECT MapTemplateRect(int x, int y, int cx, int cy, SIZE units)
{
    const int left = MulDiv(x, units.cx, 4);
    const int top = MulDiv(y, units.cy, 8);
    return RECT{left, top, left + MulDiv(cx, units.cx, 4), top + MulDiv(cy, units.cy, 8)};
}

namespace {

const char kDesktopKey[] = "Control Panel\\Desktop";
const char kLogPixels[] = "LogPixels";

} // namespace

ScopedLogPixels::ScopedLogPixels(int dpi)
    : m_previous(RegistryReadDword(kDesktopKey, kLogPixels))
{
    m_set = RegistryWriteDword(kDesktopKey, kLogPixels, static_cast<DWORD>(dpi));
}

ScopedLogPixels::~ScopedLogPixels()
{
    if (m_previous)
        RegistryWriteDword(kDesktopKey, kLogPixels, *m_previous);
    else
        RegistryDeleteValue(kDesktopKey, kLogPixels);
}

bool SendDpiChanged(HWND window, int dpi, const RECT& suggested)
{
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, processId);
    if (!process)
        return false;
    void* remote =
        VirtualAllocEx(process, nullptr, sizeof suggested, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    bool sent = false;
    if (remote && WriteProcessMemory(process, remote, &suggested, sizeof suggested, nullptr))
        sent = SendWithTimeout(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(remote))
                   .has_value();
    if (remote)
        VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    CloseHandle(process);
    return sent;
}

} // namespace qs::e2e
