// Opening links: a click hands the exact target to the shell's handler, and the drawn colour
// follows hover and the visited state. Without the mouse: Tab reaches the links, keys and a
// screen reader's default action open them, and the accessible object tells what they are.
#include <gtest/gtest.h>

#include <ole2.h>
#include <oleacc.h>

#include "Capabilities.h"
#include "LinkProgram.h"
#include "Menu.h"
#include "UrlRecorder.h"
#include "Wait.h"
#include "Window.h"

namespace qs::e2e::hlink {
namespace {

// The window holding the mouse capture on `hwnd`'s thread, or nullptr.
HWND CaptureOnThreadOf(HWND hwnd)
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(hwnd, nullptr), &info))
        return nullptr;
    return info.hwndCapture;
}

// A left click at the centre of `hwnd` through the system's input queue, as the user's
// would come: a window holding the capture gets it instead of the one under the pointer.
bool InputLeftClick(HWND hwnd)
{
    const POINT centre = ScreenCenter(hwnd);
    if (!SetCursorPos(centre.x, centre.y))
        return false;
    INPUT input[2] = {};
    input[0].type = INPUT_MOUSE;
    input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    input[1].type = INPUT_MOUSE;
    input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    return SendInput(2, input, sizeof(INPUT)) == 2;
}

class LinkOpenTest : public ::testing::Test
{
protected:
    void SetUp() override { QS_ASSERT_RECORDING(m_recorder); }

    UrlRecorder m_recorder;
    LinkSetup m_setup;
};

TEST_F(LinkOpenTest, ClickOpensTheExactTargetOfEachLink)
{
    auto program = LinkProgram::Start(m_setup);
    ASSERT_TRUE(program->Ready());

    ASSERT_TRUE(PostLeftClick(program->SiteLink(), 4, 4));
    ASSERT_TRUE(m_recorder.WaitForAddresses(1, kTimeoutMs));
    ASSERT_TRUE(PostLeftClick(program->MailLink(), 4, 4));
    ASSERT_TRUE(m_recorder.WaitForAddresses(2, kTimeoutMs)) << m_recorder.CommandLines().size();
    EXPECT_EQ(m_recorder.Addresses(), (std::vector<std::string>{m_setup.SiteUrl(), m_setup.MailUrl()}));
}

TEST_F(LinkOpenTest, HoverIsRedAndVisitedShowsAtTheNextRepaint)
{
    QS_SKIP_WITHOUT(PaintingUnseen);
    auto program = LinkProgram::Start(m_setup);
    ASSERT_TRUE(program->Ready());
    HWND link = program->SiteLink();
    const RECT client = ClientScreenRect(link);
    const int width = client.right - client.left;

    ASSERT_TRUE(WaitForLinkColour(link, kBlue));
    PostMouseMove(link, 5, 5);
    ASSERT_TRUE(WaitForLinkColour(link, kRed));
    PostMouseMove(link, width / 2, 6);  // around inside: stays red
    PostMouseMove(link, width + 20, 6); // out, seen through the capture
    ASSERT_TRUE(WaitForLinkColour(link, kBlue));

    // Opened while hovered: visited, but nothing repaints, so red stays on the screen.
    PostMouseMove(link, 5, 5);
    ASSERT_TRUE(WaitForLinkColour(link, kRed));
    PostLeftClick(link, 5, 5);
    ASSERT_TRUE(m_recorder.WaitForAddresses(1, kTimeoutMs));
    ASSERT_TRUE(program->Settle(link, program->MailLink()));
    EXPECT_GT(LinkPixels(link, kRed), 0);
    EXPECT_EQ(LinkPixels(link, kPurple), 0);

    // The next move inside hovers again with the visited state saved; leaving shows purple.
    PostMouseMove(link, 6, 5);
    PostMouseMove(link, -10, 5);
    EXPECT_TRUE(WaitForLinkColour(link, kPurple));

    // A visited link opens again and stays visited.
    PostLeftClick(link, 5, 5);
    ASSERT_TRUE(m_recorder.WaitForAddresses(2, kTimeoutMs));
    PostMouseMove(link, -10, 5);
    EXPECT_TRUE(WaitForLinkColour(link, kPurple));
    EXPECT_EQ(m_recorder.Addresses().back(), m_setup.SiteUrl());

    // The other link was never opened.
    EXPECT_TRUE(WaitForLinkColour(program->MailLink(), kBlue));
}

TEST_F(LinkOpenTest, FirstMoveOutsideAfterAnOpenReleasesTheCapture)
{
    // Hovered, opened, then the pointer goes straight out: the link lets the capture go, so
    // the next click reaches the button under the pointer instead of opening the link again.
    auto program = LinkProgram::Start(m_setup);
    ASSERT_TRUE(program->Ready());
    HWND link = program->SiteLink();
    HWND cancel = Child(program->Dialog(), IDCANCEL);
    ASSERT_NE(cancel, nullptr);
    const RECT client = ClientScreenRect(link);

    PostMouseMove(link, 5, 5);
    ASSERT_TRUE(WaitUntil([&] { return CaptureOnThreadOf(link) == link; }, kTimeoutMs));
    PostLeftClick(link, 5, 5);
    ASSERT_TRUE(m_recorder.WaitForAddresses(1, kTimeoutMs));
    PostMouseMove(link, client.right - client.left + 40, 5);
    EXPECT_TRUE(WaitUntil([&] { return CaptureOnThreadOf(link) == nullptr; }, kTimeoutMs))
        << "the link still holds the capture";

    ASSERT_TRUE(InputLeftClick(cancel));
    EXPECT_TRUE(program->process().WaitForExit(kTimeoutMs)) << "Cancel did not close the dialog";
    EXPECT_EQ(m_recorder.Addresses(), std::vector<std::string>{m_setup.SiteUrl()});
    ParkPointer();
}

TEST_F(LinkOpenTest, FailedOpenLeavesTheLinkBlue)
{
    QS_SKIP_WITHOUT(PaintingUnseen);
    // No program handles this scheme: both ways of opening fail.
    auto program = LinkProgram::StartHost(LinkSetup(), "1042 \"Nowhere\" \"qsnohandler:nothing\"");
    ASSERT_TRUE(program->Ready());
    HWND link = program->Link(1042);
    ASSERT_TRUE(WaitForLinkColour(link, kBlue));

    ASSERT_TRUE(program->PostCommand(link, kOpenCommand));
    // The site link's open, posted after, has run once its address is recorded.
    ASSERT_TRUE(program->PostCommand(program->SiteLink(), kOpenCommand));
    ASSERT_TRUE(m_recorder.WaitForAddresses(1, kTimeoutMs));

    PostMouseMove(link, 5, 5);
    ASSERT_TRUE(WaitForLinkColour(link, kRed));
    PostMouseMove(link, -10, 5);
    EXPECT_TRUE(WaitForLinkColour(link, kBlue));
    EXPECT_EQ(m_recorder.Addresses(), std::vector<std::string>{m_setup.SiteUrl()});
    EXPECT_TRUE(program->process().Running());
}

// The window with the keyboard focus on `hwnd`'s thread, or nullptr.
HWND FocusOnThreadOf(HWND hwnd)
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(GetWindowThreadProcessId(hwnd, nullptr), &info) ? info.hwndFocus : nullptr;
}

// Presses Tab in the dialog until `target` has the focus; the ids the focus went through.
std::vector<int> TabTo(HWND dialog, HWND target)
{
    std::vector<int> ids;
    for (int i = 0; i < 12 && FocusOnThreadOf(dialog) != target; ++i) {
        HWND from = FocusOnThreadOf(dialog);
        PostKey(from ? from : dialog, VK_TAB);
        if (!WaitUntil([&] { return FocusOnThreadOf(dialog) != from; }, kTimeoutMs))
            break;
        ids.push_back(ControlId(FocusOnThreadOf(dialog)));
    }
    return ids;
}

// Keys through the system's input queue, with Shift (or vkHeld) held around them when asked.
void InputKeys(std::initializer_list<WORD> keys, bool bShift, WORD vkHeld = VK_SHIFT)
{
    std::vector<INPUT> input;
    auto add = [&](WORD vk, bool bUp) {
        INPUT in = {};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = vk;
        in.ki.dwFlags = bUp ? KEYEVENTF_KEYUP : 0;
        input.push_back(in);
    };
    if (bShift)
        add(vkHeld, false);
    for (WORD vk : keys) {
        add(vk, false);
        add(vk, true);
    }
    if (bShift)
        add(vkHeld, true);
    SendInput(static_cast<UINT>(input.size()), input.data(), sizeof(INPUT));
}

std::string Narrow(BSTR bstr)
{
    std::string text;
    for (const wchar_t* p = bstr; p && *p; ++p)
        text += static_cast<char>(*p);
    SysFreeString(bstr);
    return text;
}

VARIANT Self()
{
    VARIANT var = {};
    var.vt = VT_I4;
    var.lVal = CHILDID_SELF;
    return var;
}

LONG AccState(IAccessible* acc)
{
    VARIANT state = {};
    return SUCCEEDED(acc->get_accState(Self(), &state)) && state.vt == VT_I4 ? state.lVal : -1;
}

// Ways to operate a focused link without the mouse.
enum class Way { Enter, Space, ShiftF10, MenuKey, DefaultAction, LinkDestroyed, AltLetter };

struct KeyboardCase
{
    const char* name;
    int linkId;
    Way way;
};

void PrintTo(const KeyboardCase& c, std::ostream* os)
{
    *os << c.name;
}

const KeyboardCase kKeyboardCases[] = {
    {"EnterOpensMail", kMailLinkId, Way::Enter},
    {"SpaceOpensSite", kSiteLinkId, Way::Space},
    {"DefaultActionOpensSite", kSiteLinkId, Way::DefaultAction},
    {"ShiftF10OpensMailMenu", kMailLinkId, Way::ShiftF10},
    {"MenuKeyOpensSiteMenu", kSiteLinkId, Way::MenuKey},
    {"ObjectOutlivesItsLink", kMailLinkId, Way::LinkDestroyed},
    {"AnAmpersandIsNoMnemonic", kMailLinkId, Way::AltLetter},
};

class LinkKeyboardTest : public ::testing::TestWithParam<KeyboardCase>
{
protected:
    void SetUp() override
    {
        QS_ASSERT_RECORDING(m_recorder);
        ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    }
    void TearDown() override
    {
        if (m_acc)
            m_acc->Release();
        CoUninitialize();
    }

    UrlRecorder m_recorder;
    LinkSetup m_setup;
    IAccessible* m_acc = nullptr;
};

TEST_P(LinkKeyboardTest, ReachedByTabAndUsedWithoutTheMouse)
{
    const KeyboardCase& c = GetParam();
    if (c.way == Way::AltLetter)
        m_setup.mailText = "Mail R&D";
    auto program = LinkProgram::Start(m_setup);
    ASSERT_TRUE(program->Ready());
    HWND dialog = program->Dialog();
    HWND link = program->Link(c.linkId);
    const bool bMail = c.linkId == kMailLinkId;
    const std::string url = bMail ? m_setup.MailUrl() : m_setup.SiteUrl();
    SetForegroundWindow(dialog);

    // Template order: the mail link right before the site link, nothing else between.
    const std::vector<int> ids = TabTo(dialog, link);
    ASSERT_EQ(FocusOnThreadOf(dialog), link) << ::testing::PrintToString(ids);
    if (!bMail) {
        EXPECT_EQ(ids.at(ids.size() - 2), kMailLinkId);
    }

    ASSERT_TRUE(SUCCEEDED(AccessibleObjectFromWindow(link, OBJID_CLIENT, __uuidof(IAccessible),
                                                     reinterpret_cast<void**>(&m_acc))));
    VARIANT role = {};
    ASSERT_TRUE(SUCCEEDED(m_acc->get_accRole(Self(), &role)));
    EXPECT_EQ(role.lVal, ROLE_SYSTEM_LINK);
    BSTR text = nullptr;
    EXPECT_TRUE(SUCCEEDED(m_acc->get_accName(Self(), &text)));
    EXPECT_EQ(Narrow(text), bMail ? m_setup.mailText : m_setup.siteText);
    EXPECT_TRUE(SUCCEEDED(m_acc->get_accValue(Self(), &text)));
    EXPECT_EQ(Narrow(text), url);
    EXPECT_TRUE(SUCCEEDED(m_acc->get_accDefaultAction(Self(), &text)));
    EXPECT_EQ(Narrow(text), "Jump");
    const LONG kShown = STATE_SYSTEM_LINKED | STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_FOCUSED;
    EXPECT_EQ(AccState(m_acc) & (kShown | STATE_SYSTEM_TRAVERSED | STATE_SYSTEM_INVISIBLE), kShown);

    switch (c.way) {
    case Way::Enter:
    case Way::Space:
    case Way::DefaultAction: {
        if (c.way == Way::DefaultAction)
            EXPECT_EQ(m_acc->accDoDefaultAction(Self()), S_OK);
        else
            PostKey(link, c.way == Way::Enter ? VK_RETURN : VK_SPACE);
        ASSERT_TRUE(m_recorder.WaitForAddresses(1, kTimeoutMs));
        EXPECT_EQ(m_recorder.Addresses(), std::vector<std::string>{url});
        EXPECT_TRUE(WaitUntil([&] { return (AccState(m_acc) & STATE_SYSTEM_TRAVERSED) != 0; }, kTimeoutMs));
        // The dialog's default button was not pressed: no check started, the dialog is up.
        if (LinkProgram::UsesUpvane()) {
            EXPECT_EQ(ProgressPos(Child(dialog, 1009)), 0);
        }
        EXPECT_TRUE(program->process().Running());
        break;
    }
    case Way::ShiftF10:
    case Way::MenuKey: {
        InputKeys({c.way == Way::ShiftF10 ? WORD(VK_F10) : WORD(VK_APPS)}, c.way == Way::ShiftF10);
        HWND menu = WaitForPopupMenu(kTimeoutMs, program->process().Id());
        ASSERT_TRUE(menu);
        if (!MenuMeasuredWrongly()) {
            EXPECT_EQ(ScreenRect(menu).left, ClientScreenRect(link).left + 5);
            EXPECT_EQ(ScreenRect(menu).top, ClientScreenRect(link).top + 5);
        }
        DismissMenu(menu);
        EXPECT_TRUE(WaitForNoPopupMenu(kTimeoutMs, program->process().Id()));
        break;
    }
    case Way::AltLetter: {
        // The "&" is text: no shortcut is announced, and Alt+D leaves the focus where it is,
        // so Space then opens this link, not the one after it.
        BSTR shortcut = nullptr;
        EXPECT_TRUE(SUCCEEDED(m_acc->get_accKeyboardShortcut(Self(), &shortcut)));
        EXPECT_EQ(Narrow(shortcut), "");
        InputKeys({WORD('D')}, true, VK_MENU);
        InputKeys({WORD(VK_SPACE)}, false);
        ASSERT_TRUE(m_recorder.WaitForAddresses(1, kTimeoutMs));
        EXPECT_EQ(m_recorder.Addresses(), std::vector<std::string>{url});
        EXPECT_EQ(FocusOnThreadOf(dialog), link);
        break;
    }
    case Way::LinkDestroyed:
        // A static destroys itself on WM_CLOSE; the object a reader still holds must fail cleanly.
        PostClose(link);
        ASSERT_TRUE(WaitForWindowGone(link, kTimeoutMs));
        EXPECT_TRUE(FAILED(m_acc->get_accName(Self(), &text)));
        EXPECT_TRUE(FAILED(m_acc->accDoDefaultAction(Self())));
        EXPECT_EQ(AccState(m_acc), -1);
        EXPECT_TRUE(program->process().Running());
        break;
    }
}

INSTANTIATE_TEST_SUITE_P(Ways, LinkKeyboardTest, ::testing::ValuesIn(kKeyboardCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace qs::e2e::hlink
