// url_recorder.exe as the prefix's handler of "http", "https" and "mailto" addresses, so that
// whatever a program hands to the shell ends up, exactly, in a log the test reads.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Capabilities.h"
#include "UrlRecorderSettings.h"

namespace qs::e2e {

class TempDir;

// The Windows path of the url_recorder.exe built with the driver.
std::string UrlRecorderPath();

// Makes `recorderPath` the program that opens "http", "https" and "mailto" addresses, and `logPath`
// its log file. The command "\"recorder\" \"%1\"" goes to
// HKCU\Software\Classes\<scheme>\shell\open\command (with "URL Protocol") and, because
// Wine's classes root does not merge the user's classes, to HKCR\<scheme>\shell\open\command
// as well (its previous command is kept).
bool RegisterUrlRecorder(const std::string& recorderPath, const std::string& logPath);
// Removes what RegisterUrlRecorder added and puts back what it replaced: the previous HKCR
// commands, and the user's own class of each scheme as it was (or no such class).
void UnregisterUrlRecorder();

// Why the shell does not hand "http" addresses to the registered recorder (nothing when it
// does). Wine follows the registration; Windows 8 and later follow the user's choice.
std::optional<std::string> HandoffUnavailable();

// The lines of the log: one command line per start of the recorder.
std::vector<std::string> RecordedCommandLines(const std::string& logPath);
// The address in a recorded command line: what follows the program's own (quoted) path,
// without the quotes that the registered command puts around it.
std::string AddressFromCommandLine(const std::string& commandLine);
std::vector<std::string> RecordedAddresses(const std::string& logPath);

// Registers the recorder with a log of its own for one scope and unregisters it afterwards.
class UrlRecorder
{
public:
    UrlRecorder();
    ~UrlRecorder();
    UrlRecorder(const UrlRecorder&) = delete;
    UrlRecorder& operator=(const UrlRecorder&) = delete;

    bool Registered() const { return m_registered; }
    const std::string& LogPath() const { return m_logPath; }
    std::vector<std::string> CommandLines() const { return RecordedCommandLines(m_logPath); }
    std::vector<std::string> Addresses() const { return RecordedAddresses(m_logPath); }
    // True once at least `count` addresses are recorded (waiting at most `timeoutMs`).
    bool WaitForAddresses(size_t count, unsigned timeoutMs) const;

private:
    std::unique_ptr<TempDir> m_dir;
    std::string m_logPath;
    bool m_registered = false;
};

} // namespace qs::e2e

// Requires a registered recorder that the shell hands addresses to. Where Windows keeps the
// addresses from it, the test is skipped with the reason; under Wine that is a fault.
#define QS_ASSERT_RECORDING(recorder) \
    do { \
        ASSERT_TRUE((recorder).Registered()); \
        if (const auto qs_why = ::qs::e2e::HandoffUnavailable()) { \
            if (::qs::e2e::RunningUnderWine()) \
                GTEST_FAIL() << *qs_why; \
            GTEST_SKIP() << *qs_why; \
        } \
    } while (false)
