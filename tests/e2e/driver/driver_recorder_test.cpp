// Addresses handed to the shell reach url_recorder.exe exactly.
#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include "Registry.h"
#include "UrlRecorder.h"

namespace qs::e2e {
namespace {

constexpr unsigned kRecordTimeoutMs = 10000;

class UrlRecorderTest : public ::testing::Test
{
protected:
    void SetUp() override { QS_ASSERT_RECORDING(recorder); }

    // Opens `address` through the shell and returns what the recorder logged for it.
    std::string OpenAndRecord(const std::string& address)
    {
        const size_t before = recorder.CommandLines().size();
        const auto result = reinterpret_cast<INT_PTR>(
            ShellExecuteA(nullptr, "open", address.c_str(), nullptr, nullptr, SW_SHOW));
        EXPECT_GT(result, 32) << address;
        EXPECT_TRUE(recorder.WaitForAddresses(before + 1, kRecordTimeoutMs)) << address;
        const auto addresses = recorder.Addresses();
        return addresses.size() > before ? addresses[before] : std::string();
    }

    UrlRecorder recorder;
};

TEST_F(UrlRecorderTest, HttpAddressArrivesExactly)
{
    EXPECT_EQ(OpenAndRecord("http://127.0.0.1:8080/upgrade/setup.exe"),
              "http://127.0.0.1:8080/upgrade/setup.exe");
    EXPECT_EQ(OpenAndRecord("http://www.example.com/What's New.pdf"),
              "http://www.example.com/What's New.pdf");
    EXPECT_EQ(OpenAndRecord("http://www.example.com//double//slashes"),
              "http://www.example.com//double//slashes");
    EXPECT_EQ(OpenAndRecord("http://"), "http://");
}

TEST_F(UrlRecorderTest, MailtoAddressArrivesExactly)
{
    EXPECT_EQ(OpenAndRecord("mailto:a@b"), "mailto:a@b");
    EXPECT_EQ(OpenAndRecord("mailto:"), "mailto:");
}

TEST_F(UrlRecorderTest, CommandLineIsTheQuotedRecorderAndTheQuotedAddress)
{
    OpenAndRecord("http://host/a b");
    const auto lines = recorder.CommandLines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], "\"" + UrlRecorderPath() + "\" \"http://host/a b\"");
}

TEST(UrlRecorderRegistration, PreviousHandlersComeBackAfterwards)
{
    const auto before = RegistryReadString("http\\shell\\open\\command", "", HKEY_CLASSES_ROOT);
    {
        UrlRecorder recorder;
        QS_ASSERT_RECORDING(recorder);
        EXPECT_EQ(RegistryReadString("mailto\\shell\\open\\command", "", HKEY_CLASSES_ROOT).value_or(""),
                  "\"" + UrlRecorderPath() + "\" \"%1\"");
    }
    EXPECT_EQ(RegistryReadString("http\\shell\\open\\command", "", HKEY_CLASSES_ROOT), before);
    EXPECT_FALSE(RegistryKeyExists("Software\\Classes\\http"));
    EXPECT_FALSE(RegistryKeyExists(kUrlRecorderKey));
}

// A handler in the user's own classes is the user's again afterwards, value for value: the
// recorder's values over it are taken off, and one it added where there was none is gone.
TEST(UrlRecorderRegistration, TheUsersOwnHandlerComesBackAsItWas)
{
    const std::string key = "Software\\Classes\\mailto";
    if (RegistryKeyExists(key))
        GTEST_SKIP()
            << "this user has a mailto class of their own; the test plants its own only where none is";
    ScopedRegistryKey planted(key);
    const std::string command = "\"C:\\Mail\\mail.exe\" \"%1\"";
    ASSERT_TRUE(RegistryWriteString(key, "", "URL:MailTo Protocol"));
    ASSERT_TRUE(RegistryWriteString(key + "\\shell\\open\\command", "", command));
    for (int round = 0; round < 2;
         ++round) { // a second registration must not take the recorder's as the user's
        UrlRecorder recorder;
        QS_ASSERT_RECORDING(recorder);
        EXPECT_NE(RegistryReadString(key + "\\shell\\open\\command", ""), command);
        RegisterUrlRecorder(UrlRecorderPath(), recorder.LogPath());
    }
    EXPECT_EQ(RegistryReadString(key, "").value_or("(none)"), "URL:MailTo Protocol");
    EXPECT_EQ(RegistryReadString(key + "\\shell\\open\\command", "").value_or("(none)"), command);
    EXPECT_FALSE(RegistryValueExists(key, "URL Protocol"));
    EXPECT_FALSE(RegistryKeyExists(kUrlRecorderKey));
}

} // namespace
} // namespace qs::e2e
