// An exception of any kind that leaves a handler stops at the framework's edge: the standard
// error box tells the user, and the program goes on.
#include <string>

#include <gtest/gtest.h>
#include <windows.h>

#include "FaultHostIds.h"
#include "Process.h"
#include "Wait.h"
#include "Window.h"

namespace qs::e2e {
namespace {

constexpr unsigned kTimeoutMs = 10000;
// The standard error box's caption: the application's name, from its file name.
constexpr char kAppName[] = "framework_fault_host";
constexpr char kUnexpectedFailureText[] = "An unexpected error stopped the last operation.";
// The control of a message box that holds its text.
constexpr int kMessageBoxTextId = 0xFFFF;

std::string SystemText(DWORD error)
{
    char text[512] = {};
    DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
                             text, sizeof text, nullptr);
    while (n > 0 && (text[n - 1] == '\r' || text[n - 1] == '\n' || text[n - 1] == ' '))
        --n;
    return std::string(text, n);
}

class FrameworkFault : public ::testing::Test
{
protected:
    void Start(const std::string& mode)
    {
        m_host = Process::Start(QS_PATH_FRAMEWORK_FAULT_HOST, mode);
        ASSERT_TRUE(m_host.Started());
    }

    // The error box (captioned with the application's name), or nullptr after the timeout.
    HWND WaitForErrorBox() const { return m_host.WaitForTopWindow("#32770", kAppName, kTimeoutMs); }

    // Expects an error box with `text`, then answers it and expects the program to go on.
    void ExpectErrorBoxAndAnswer(const std::string& text)
    {
        HWND box = WaitForErrorBox();
        ASSERT_NE(box, nullptr) << "no error box";
        EXPECT_EQ(Text(Child(box, kMessageBoxTextId)), text);
        ASSERT_TRUE(Click(Child(box, IDOK)));
        EXPECT_TRUE(WaitForWindowGone(box, kTimeoutMs));
        EXPECT_TRUE(m_host.Running());
    }

    Process m_host;
};

TEST_F(FrameworkFault, ExceptionsOfEveryKindFromACommandAreReportedAndTheDialogGoesOn)
{
    Start("");
    HWND dialog = m_host.WaitForTopWindow("#32770", FAULT_HOST_CAPTION, kTimeoutMs);
    ASSERT_NE(dialog, nullptr);

    ASSERT_TRUE(Click(Child(dialog, IDC_THROW_BAD_ALLOC)));
    ASSERT_NO_FATAL_FAILURE(ExpectErrorBoxAndAnswer(SystemText(ERROR_NOT_ENOUGH_MEMORY)));
    ASSERT_TRUE(Click(Child(dialog, IDC_THROW_INT)));
    ASSERT_NO_FATAL_FAILURE(ExpectErrorBoxAndAnswer(kUnexpectedFailureText));
    ASSERT_TRUE(Click(Child(dialog, IDC_THROW_RUNTIME_ERROR)));
    ASSERT_NO_FATAL_FAILURE(ExpectErrorBoxAndAnswer(kUnexpectedFailureText));

    // Still working: Cancel ends it as usual.
    ASSERT_TRUE(Click(Child(dialog, IDCANCEL)));
    EXPECT_TRUE(m_host.WaitForExit(kTimeoutMs));
}

TEST_F(FrameworkFault, AnExceptionFromOnInitDialogIsReportedAndTheDialogStillComesUp)
{
    Start("init");
    ASSERT_NO_FATAL_FAILURE(ExpectErrorBoxAndAnswer(SystemText(ERROR_NOT_ENOUGH_MEMORY)));
    HWND dialog = m_host.WaitForTopWindow("#32770", FAULT_HOST_CAPTION, kTimeoutMs);
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(Click(Child(dialog, IDCANCEL)));
    EXPECT_TRUE(m_host.WaitForExit(kTimeoutMs));
}

TEST_F(FrameworkFault, AnExceptionFromAPagesOnInitDialogIsReportedAndTheSheetStillComesUp)
{
    Start("page");
    ASSERT_NO_FATAL_FAILURE(ExpectErrorBoxAndAnswer(kUnexpectedFailureText));
    HWND sheet = m_host.WaitForTopWindow("#32770", FAULT_HOST_CAPTION, kTimeoutMs);
    ASSERT_NE(sheet, nullptr);
    ASSERT_TRUE(Click(Child(sheet, IDCANCEL)));
    EXPECT_TRUE(m_host.WaitForExit(kTimeoutMs));
}

} // namespace
} // namespace qs::e2e
