// Copy Shortcut and the Internet-shortcut files of Add to Favorites / Add to Desktop.
#include <gtest/gtest.h>

#include <set>

#include <shlobj.h>

#include "Capabilities.h"
#include "Clipboard.h"
#include "Files.h"
#include "LinkProgram.h"
#include "Paths.h"
#include "UrlRecorder.h"
#include "Wait.h"
#include "Window.h"

namespace qs::e2e::hlink {
namespace {

// The clipboard buffer and shortcut path buffer size, terminator included.
constexpr size_t kPathBuffer = 260;

class LinkShortcutTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_desktop = SpecialFolderPath(CSIDL_DESKTOPDIRECTORY);
        m_favorites = SpecialFolderPath(CSIDL_FAVORITES);
        ASSERT_TRUE(DirectoryExists(m_desktop)) << m_desktop;
        ASSERT_TRUE(DirectoryExists(m_favorites)) << m_favorites;
        m_program = LinkProgram::Start(m_setup);
        ASSERT_TRUE(m_program->Ready());
    }

    void TearDown() override
    {
        for (const std::string& path : m_cleanup)
            RemoveTree(path);
    }

    std::string Remember(const std::string& path)
    {
        m_cleanup.push_back(path);
        return path;
    }

    void RunCommand(HWND link, int command) { ASSERT_TRUE(m_program->RunCommand(link, command)); }

    // The shortcut file for `target`: [InternetShortcut] with the target unchanged.
    static void ExpectShortcut(const std::string& path, const std::string& target)
    {
        const auto content = ReadFileBytes(path);
        ASSERT_TRUE(content.has_value()) << path;
        EXPECT_NE(content->find("[InternetShortcut]"), std::string::npos) << *content;
        EXPECT_NE(content->find("URL=" + target + "\r\n"), std::string::npos) << *content;
    }

    LinkSetup m_setup;
    std::unique_ptr<LinkProgram> m_program;
    std::string m_desktop;
    std::string m_favorites;
    std::vector<std::string> m_cleanup;
};

TEST_F(LinkShortcutTest, CopyPutsOnlyTheTargetOnTheClipboardAsText)
{
    ASSERT_TRUE(SetClipboardText("previous content"));
    HWND link = m_program->MailLink();
    ASSERT_TRUE(m_program->PostCommand(link, kCopyShortcutCommand));
    ASSERT_TRUE(WaitForClipboardOwner(link));
    EXPECT_EQ(ClipboardText(), m_setup.MailUrl());

    // Besides CF_TEXT only the system's own conversions of that text may be there.
    const std::set<UINT> allowed = {CF_TEXT, CF_OEMTEXT, CF_UNICODETEXT, CF_LOCALE};
    for (UINT format : ClipboardFormats())
        EXPECT_TRUE(allowed.count(format)) << ClipboardFormatName(format);
    if (OpenClipboard(nullptr)) {
        if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
            const auto* text = static_cast<const wchar_t*>(GlobalLock(data));
            const std::string url = m_setup.MailUrl();
            const std::wstring wide(url.begin(), url.end());
            EXPECT_EQ(std::wstring(text ? text : L""), wide);
            GlobalUnlock(data);
        }
        CloseClipboard();
    }
}

TEST_F(LinkShortcutTest, CopyWhileTheClipboardIsBusyLeavesItAsItWas)
{
    ASSERT_TRUE(SetClipboardText("previous content"));
    HWND link = m_program->SiteLink();
    const std::string file = Remember(JoinPath(m_desktop, m_setup.siteText + ".URL"));
    ASSERT_TRUE(OpenClipboard(nullptr));
    m_program->PostCommand(link, kCopyShortcutCommand);
    // Add to Desktop, posted after the copy, marks when the copy has been tried.
    m_program->PostCommand(link, kAddToDesktopCommand);
    const bool marked = WaitUntil([&] { return FileExists(file); }, kTimeoutMs);
    CloseClipboard();
    ASSERT_TRUE(marked);
    EXPECT_EQ(ClipboardText(), "previous content");
}

TEST_F(LinkShortcutTest, DesktopAndFavoritesGetAFileNamedAfterTheLinkText)
{
    HWND site = m_program->SiteLink();
    HWND mail = m_program->MailLink();
    const std::string desktopFile = Remember(JoinPath(m_desktop, m_setup.siteText + ".URL"));
    const std::string favoritesFile = Remember(JoinPath(m_favorites, m_setup.mailText + ".URL"));

    RunCommand(site, kAddToDesktopCommand);
    ExpectShortcut(desktopFile, m_setup.SiteUrl());
    RunCommand(mail, kAddToFavoritesCommand);
    ExpectShortcut(favoritesFile, m_setup.MailUrl());

    // The text is used unchanged, blanks, dots and apostrophes included; an empty text
    // leaves only the extension.
    const std::string odd = " What's new. v2 ";
    const std::string oddFile = Remember(JoinPath(m_desktop, odd + ".URL"));
    ASSERT_TRUE(m_program->SetLinkText(site, odd));
    RunCommand(site, kAddToDesktopCommand);
    ExpectShortcut(oddFile, m_setup.SiteUrl());

    const std::string emptyFile = Remember(JoinPath(m_desktop, ".URL"));
    ASSERT_TRUE(m_program->SetLinkText(site, ""));
    RunCommand(site, kAddToDesktopCommand);
    ExpectShortcut(emptyFile, m_setup.SiteUrl());

    // Letters beyond ASCII are read in the system's ANSI code page, as the text itself is.
    QS_SKIP_WITHOUT(AnsiTextDamaged);
    const std::string accented = "Caf\xE9 \xC0 la carte";
    const std::string accentedFile = Remember(JoinPath(m_desktop, accented + ".URL"));
    ASSERT_TRUE(m_program->SetLinkText(site, accented));
    RunCommand(site, kAddToDesktopCommand);
    ExpectShortcut(accentedFile, m_setup.SiteUrl());
}

TEST_F(LinkShortcutTest, LongestNameThatFitsIsSavedAndOneMoreIsNot)
{
    HWND site = m_program->SiteLink();
    // Desktop + "\" + text + ".URL" and the terminator fill the 260-character buffer.
    const size_t fits = kPathBuffer - 1 - m_desktop.size() - 1 - 4;
    const std::string longest(fits, 'q');
    const std::string longestFile = Remember(JoinPath(m_desktop, longest + ".URL"));
    ASSERT_TRUE(m_program->SetLinkText(site, longest));
    RunCommand(site, kAddToDesktopCommand);
    ExpectShortcut(longestFile, m_setup.SiteUrl());
    RemoveTree(longestFile);

    const auto before = ListDirectory(m_desktop);
    for (size_t length : {fits + 1, fits + 40, size_t{1000}}) {
        ASSERT_TRUE(m_program->SetLinkText(site, std::string(length, 'q')));
        RunCommand(site, kAddToDesktopCommand);
        EXPECT_EQ(ListDirectory(m_desktop), before) << length;
    }
    EXPECT_TRUE(m_program->process().Running());
}

TEST_F(LinkShortcutTest, TextTheFileSystemRefusesGivesNoFile)
{
    HWND site = m_program->SiteLink();
    const std::string sub = Remember(JoinPath(m_desktop, "qs-sub"));
    ASSERT_TRUE(CreateDirectoryA(sub.c_str(), nullptr));
    const auto desktopBefore = ListDirectory(m_desktop);
    const auto favoritesBefore = ListDirectory(m_favorites);
    for (const char* text : {"What?", "Star*", "a<b>", "qs-sub\\Inner", "..\\Outside", "C:Drive"}) {
        ASSERT_TRUE(m_program->SetLinkText(site, text));
        RunCommand(site, kAddToDesktopCommand);
        RunCommand(site, kAddToFavoritesCommand);
        EXPECT_EQ(ListDirectory(m_desktop), desktopBefore) << text;
        EXPECT_EQ(ListDirectory(m_favorites), favoritesBefore) << text;
    }
    EXPECT_TRUE(ListDirectory(sub).empty());
    EXPECT_FALSE(FileExists(JoinPath(DirName(m_desktop), "Outside.URL")));
    EXPECT_TRUE(m_program->process().Running());
}

} // namespace
} // namespace qs::e2e::hlink
