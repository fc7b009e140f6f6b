#include "LinkProgram.h"

#include <commctrl.h>

#include <initializer_list>

#include "Clipboard.h"
#include "Files.h"
#include "Paths.h"
#include "Pixels.h"
#include "ScrambledSetFile.h"
#include "Wait.h"
#include "Window.h"

namespace qs::e2e::hlink {

namespace {

constexpr char kHostCaption[] = "HLink host";
#ifdef QS_PATH_UPVANE
constexpr char kUpvaneCaption[] = "Quillory Upgrade Check";
#endif

#ifdef QS_PATH_UPVANE
std::string SetFile(const LinkSetup& setup)
{
    return MakeSetFileText({
        {"title", kUpvaneCaption},
        {"info", "Links under test"},
        {"installed", "Quillory version 2.1 build 17"},
        {"site", setup.siteText},
        {"weblink", setup.siteHost},
        {"mailtext", setup.mailText},
        {"webmail", setup.mailAddress},
        {"wizfile", "version.txt"},
        {"updatefilename", "setup.exe"},
    });
}
#endif

std::string Quoted(const std::string& text)
{
    return "\"" + text + "\"";
}

bool AllLinksPainted(HWND dialog)
{
    // A link gives itself SS_NOTIFY at its first paint; from then on it takes mouse input.
    for (int id : {kSiteLinkId, kMailLinkId}) {
        HWND link = Child(dialog, id);
        if (!link || (Style(link) & SS_NOTIFY) == 0)
            return false;
    }
    return true;
}

} // namespace

bool LinkProgram::UsesUpvane()
{
#ifdef QS_PATH_UPVANE
    return true;
#else
    return false;
#endif
}

std::unique_ptr<LinkProgram> LinkProgram::Start(const LinkSetup& setup)
{
#ifdef QS_PATH_UPVANE
    std::unique_ptr<LinkProgram> program(new LinkProgram);
    program->m_dir = std::make_unique<TempDir>("qs-hlink-");
    const TempDir& dir = *program->m_dir;
    // Upvane reads the set file of its own folder, found relative to its current directory.
    const std::string exe = dir.File("Upvane.exe");
    if (!CopyFileTo(QS_DELIVERABLE(UPVANE), exe) || !dir.Write("links.set", SetFile(setup)))
        return program;
    ParkPointer();
    program->m_process = Process::Start(exe, "", dir.Path());
    program->WaitForDialog(kUpvaneCaption);
    return program;
#else
    return StartHost(setup);
#endif
}

std::unique_ptr<LinkProgram> LinkProgram::StartHost(const LinkSetup& setup, const std::string& extraArguments)
{
    std::unique_ptr<LinkProgram> program(new LinkProgram);
    std::string arguments = std::to_string(kSiteLinkId) + " " + Quoted(setup.siteText) + " "
                            + Quoted(setup.SiteUrl()) + " " + std::to_string(kMailLinkId) + " "
                            + Quoted(setup.mailText) + " " + Quoted(setup.MailUrl());
    if (!extraArguments.empty())
        arguments += " " + extraArguments;
    ParkPointer();
    program->m_process = Process::Start(TestedWinPath(QS_PATH_HLINK_HOST), arguments);
    program->WaitForDialog(kHostCaption);
    return program;
}

LinkProgram::~LinkProgram()
{
    if (m_dialog && m_process.Running()) {
        PostClose(m_dialog);
        m_process.WaitForExit(kTimeoutMs);
    }
    m_process.Kill();
}

bool LinkProgram::WaitForDialog(const char* caption)
{
    if (!m_process.Started())
        return false;
    HWND dialog = m_process.WaitForTopWindow("#32770", caption, kTimeoutMs);
    if (!dialog || !WaitUntil([&] { return AllLinksPainted(dialog); }, kTimeoutMs))
        return false;
    m_dialog = dialog;
    return true;
}

HWND LinkProgram::Link(int id) const
{
    return m_dialog ? Child(m_dialog, id) : nullptr;
}

bool LinkProgram::PostCommand(HWND link, int command) const
{
    return PostMessageA(link, WM_COMMAND, MAKEWPARAM(command, 0), 0) != FALSE;
}

bool LinkProgram::RunCommand(HWND link, int command) const
{
    return ClearClipboard() && PostCommand(link, command) && PostCommand(link, kCopyShortcutCommand)
           && WaitForClipboardOwner(link);
}

std::optional<std::string> LinkProgram::CopyShortcut(HWND link) const
{
    if (!ClearClipboard() || !PostCommand(link, kCopyShortcutCommand) || !WaitForClipboardOwner(link))
        return std::nullopt;
    return ClipboardText();
}

bool LinkProgram::Settle(HWND link, HWND marker) const
{
    if (!CopyShortcut(marker))
        return false;
    if (!WaitUntil([&] { return !GetUpdateRect(link, nullptr, FALSE); }, kTimeoutMs))
        return false;
    return CopyShortcut(marker).has_value();
}

bool LinkProgram::SetLinkText(HWND link, const std::string& text) const
{
    const auto result = SendWithTimeout(link, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    return result && *result == TRUE;
}

int LinkPixels(HWND link, COLORREF colour)
{
    return CountPixels(ClientScreenRect(link), colour);
}

bool WaitForLinkColour(HWND link, COLORREF colour, unsigned timeoutMs)
{
    return WaitUntil(
        [&] {
            const auto image = CaptureScreen(ClientScreenRect(link));
            if (!image || image->Count(colour) == 0)
                return false;
            for (COLORREF other : {kBlue, kRed, kPurple})
                if (other != colour && image->Count(other) != 0)
                    return false;
            return true;
        },
        timeoutMs, 20);
}

bool WaitForClipboardOwner(HWND link, unsigned timeoutMs)
{
    return WaitUntil([&] { return GetClipboardOwner() == link; }, timeoutMs);
}

void ParkPointer()
{
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
}

HWND DescendantWithId(HWND root, int id)
{
    for (HWND hwnd : Descendants(root))
        if (ControlId(hwnd) == id)
            return hwnd;
    return nullptr;
}

std::string RemoteTabText(HWND tab, int index)
{
    DWORD processId = 0;
    GetWindowThreadProcessId(tab, &processId);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
    if (!process)
        return {};
    constexpr SIZE_T kTextSize = 256;
    auto* remote = static_cast<char*>(
        VirtualAllocEx(process, nullptr, sizeof(TCITEMA) + kTextSize, MEM_COMMIT, PAGE_READWRITE));
    std::string text;
    if (remote) {
        TCITEMA item = {};
        item.mask = TCIF_TEXT;
        item.pszText = remote + sizeof(TCITEMA);
        item.cchTextMax = kTextSize;
        char buffer[kTextSize] = {};
        if (WriteProcessMemory(process, remote, &item, sizeof item, nullptr)) {
            const auto ok = SendWithTimeout(tab, TCM_GETITEMA, index, reinterpret_cast<LPARAM>(remote));
            if (ok && *ok && ReadProcessMemory(process, item.pszText, buffer, kTextSize - 1, nullptr))
                text = buffer;
        }
        VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    }
    CloseHandle(process);
    return text;
}

} // namespace qs::e2e::hlink
