// url_recorder.exe as the prefix's handler of "http", "https" and "mailto" addresses, so that
// whatever a program hands to the shell ends up, exactly, in a log the test reads.
#pragma once

#include <memory>
#include <string>
#include <vector>

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
// Removes what RegisterUrlRecorder added and puts the previous HKCR commands back.
void UnregisterUrlRecorder();

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
