// A running program whose dialog holds links: Upvane.exe started beside a set file (when the
// build has it) or the test host, both with a site link (1003, "http://" + host) and a mail
// link (1002, "mailto:" + address).
#pragma once

#include <memory>
#include <optional>
#include <string>

#include <windows.h>

#include "Process.h"
#include "TempDir.h"

namespace qs::e2e::hlink {

// Link colours as the control draws them.
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kPurple = RGB(128, 0, 128);

constexpr int kMailLinkId = 1002;
constexpr int kSiteLinkId = 1003;

// Commands of the link's context menu.
constexpr int kOpenCommand = 32776;
constexpr int kCopyShortcutCommand = 32771;
constexpr int kAddToFavoritesCommand = 32774;
constexpr int kAddToDesktopCommand = 32775;
constexpr int kPropertiesCommand = 32773;

constexpr unsigned kTimeoutMs = 10000;

struct LinkSetup
{
    std::string siteText = "Quillory Home Page";
    std::string siteHost = "www.quillory.example/home";
    std::string mailText = "Write to Quillory support";
    std::string mailAddress = "support@quillory.example";

    std::string SiteUrl() const { return "http://" + siteHost; }
    std::string MailUrl() const { return "mailto:" + mailAddress; }
};

class LinkProgram
{
public:
    // Upvane.exe when the build has it, else the test host.
    static std::unique_ptr<LinkProgram> Start(const LinkSetup& setup = LinkSetup());
    // The test host, with links `extraArguments` ("ID TEXT TARGET"...) set besides the two.
    static std::unique_ptr<LinkProgram> StartHost(const LinkSetup& setup = LinkSetup(),
                                                  const std::string& extraArguments = "");
    static bool UsesUpvane();

    ~LinkProgram();

    // True when the dialog came up with its links painted.
    bool Ready() const { return m_dialog != nullptr; }
    const Process& process() const { return m_process; }
    HWND Dialog() const { return m_dialog; }
    HWND Link(int id) const;
    HWND SiteLink() const { return Link(kSiteLinkId); }
    HWND MailLink() const { return Link(kMailLinkId); }

    // Posts a menu command to a link, as the context menu would send it.
    bool PostCommand(HWND link, int command) const;
    // Runs a command on a link and waits until it has run: a Copy Shortcut posted after it
    // takes the clipboard only once the command before it is done.
    bool RunCommand(HWND link, int command) const;
    // Runs Copy Shortcut on a link; the clipboard's text afterwards.
    std::optional<std::string> CopyShortcut(HWND link) const;
    // Waits until the dialog has handled everything posted to it so far and drawn what that
    // changed in `link`: a Copy Shortcut posted to `marker` takes the clipboard only after what
    // came before it, then no paint of `link` may be pending, and a second marker lets the
    // program go idle, which puts what it drew on the screen.
    bool Settle(HWND link, HWND marker) const;
    // Changes a link's window text (sent, so done on return).
    bool SetLinkText(HWND link, const std::string& text) const;

private:
    LinkProgram() = default;
    bool WaitForDialog(const char* caption);

    std::unique_ptr<TempDir> m_dir;
    Process m_process;
    HWND m_dialog = nullptr;
};

// Pixels of exactly `colour` in the link's client area on the screen.
int LinkPixels(HWND link, COLORREF colour);
// Waits until the link shows `colour` and none of the other link colours.
bool WaitForLinkColour(HWND link, COLORREF colour, unsigned timeoutMs = kTimeoutMs);

// Waits until the link has emptied the clipboard, which makes it the owner. Polling the
// clipboard's content instead could hold the clipboard open just when the link wants it.
bool WaitForClipboardOwner(HWND link, unsigned timeoutMs = kTimeoutMs);

// The pointer out of the way, so that no real mouse move reaches the links.
void ParkPointer();

// A descendant window of `root` with that control id.
HWND DescendantWithId(HWND root, int id);

// The text of a tab of a tab control of another process.
std::string RemoteTabText(HWND tab, int index);

} // namespace qs::e2e::hlink
