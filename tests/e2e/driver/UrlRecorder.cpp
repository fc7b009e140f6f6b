#include "UrlRecorder.h"

#include "Files.h"
#include "Paths.h"
#include "Registry.h"
#include "TempDir.h"
#include "Wait.h"

#include <cctype>

#include <shlwapi.h>

namespace qs::e2e {

namespace {

constexpr const char* kSchemes[] = {"http", "https", "mailto"};

std::string CommandKey(const std::string& scheme)
{
    return scheme + "\\shell\\open\\command";
}

std::string PreviousCommandValue(const std::string& scheme)
{
    return "Previous " + scheme;
}

std::string UserClassKey(const std::string& scheme)
{
    return "Software\\Classes\\" + scheme;
}

// The user's own class of a scheme may hold the user's handler: what the recorder's
// registration overwrites there is kept under the recorder's key (once, so that a run after
// an interrupted one keeps the user's, not the recorder's) and put back on removal.
struct UserValue
{
    const char* subkey;
    const char* name;
    const char* saved;
};
constexpr UserValue kUserValues[] = {
    {"", "", "User name "},
    {"", "URL Protocol", "User protocol "},
    {"\\shell\\open\\command", "", "User command "},
};
constexpr char kUserKeyExisted[] = "User key ";

void SaveUserScheme(const std::string& scheme)
{
    const std::string key = UserClassKey(scheme);
    if (RegistryValueExists(kUrlRecorderKey, kUserKeyExisted + scheme))
        return;
    for (const UserValue& value : kUserValues) {
        if (const auto previous = RegistryReadString(key + value.subkey, value.name))
            RegistryWriteString(kUrlRecorderKey, value.saved + scheme, *previous);
    }
    RegistryWriteDword(kUrlRecorderKey, kUserKeyExisted + scheme, RegistryKeyExists(key) ? 1 : 0);
}

void RestoreUserScheme(const std::string& scheme)
{
    const std::string key = UserClassKey(scheme);
    if (RegistryReadDword(kUrlRecorderKey, kUserKeyExisted + scheme).value_or(0) == 0) {
        RegistryDeleteKey(key);
        return;
    }
    for (const UserValue& value : kUserValues) {
        if (const auto previous = RegistryReadString(kUrlRecorderKey, value.saved + scheme))
            RegistryWriteString(key + value.subkey, value.name, *previous);
        else
            RegistryDeleteValue(key + value.subkey, value.name);
    }
}

bool RegisterUserScheme(const std::string& scheme, const std::string& command)
{
    SaveUserScheme(scheme);
    const std::string key = UserClassKey(scheme);
    return RegistryWriteString(key, "", "URL:" + scheme) && RegistryWriteString(key, "URL Protocol", "")
           && RegistryWriteString(key + "\\shell\\open\\command", "", command);
}

} // namespace

std::string UrlRecorderPath()
{
    return TestedWinPath(QS_URL_RECORDER_PATH);
}

// Wine's HKEY_CLASSES_ROOT does not look at HKCU\Software\Classes, so the command is
// written to both: the user's classes (where Windows looks first) and the classes root.
// The root's previous command is kept under the recorder's key and put back on removal.
bool RegisterUrlRecorder(const std::string& recorderPath, const std::string& logPath)
{
    const std::string command = "\"" + WinPath(recorderPath) + "\" \"%1\"";
    bool ok = RegistryWriteString(kUrlRecorderKey, kUrlRecorderLogValue, logPath);
    for (const char* scheme : kSchemes) {
        const std::string saved = PreviousCommandValue(scheme);
        if (!RegistryValueExists(kUrlRecorderKey, saved)) {
            const auto previous = RegistryReadString(CommandKey(scheme), "", HKEY_CLASSES_ROOT);
            if (previous)
                ok = RegistryWriteString(kUrlRecorderKey, saved, *previous) && ok;
        }
        ok = RegisterUserScheme(scheme, command) && ok;
        ok = RegistryWriteString(CommandKey(scheme), "", command, HKEY_CLASSES_ROOT) && ok;
    }
    return ok;
}

void UnregisterUrlRecorder()
{
    for (const char* scheme : kSchemes) {
        RestoreUserScheme(scheme);
        const auto previous = RegistryReadString(kUrlRecorderKey, PreviousCommandValue(scheme));
        if (previous) {
            RegistryWriteString(CommandKey(scheme), "", *previous, HKEY_CLASSES_ROOT);
        } else {
            RegistryDeleteKey(CommandKey(scheme), HKEY_CLASSES_ROOT);
        }
    }
    RegistryDeleteKey(kUrlRecorderKey);
}

std::optional<std::string> HandoffUnavailable()
{
    char command[MAX_PATH * 2] = {};
    DWORD size = sizeof command;
    const HRESULT hr = AssocQueryStringA(ASSOCF_NONE, ASSOCSTR_COMMAND, "http", "open", command, &size);
    std::string found = SUCCEEDED(hr) ? command : "";
    const std::string recorder = BaseName(UrlRecorderPath());
    const auto lower = [](std::string text) {
        for (char& c : text)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return text;
    };
    if (lower(found).find(lower(recorder)) != std::string::npos)
        return std::nullopt;
    return "the shell hands http addresses to \"" + found + "\", not to the registered " + recorder
           + " (Windows 8 and later take the handler the user chose, UserChoice, which a program cannot set)";
}

std::vector<std::string> RecordedCommandLines(const std::string& logPath)
{
    std::vector<std::string> lines;
    const auto content = ReadFileBytes(logPath);
    if (!content)
        return lines;
    size_t start = 0;
    for (size_t end; (end = content->find("\r\n", start)) != std::string::npos; start = end + 2) {
        lines.push_back(content->substr(start, end - start));
    }
    return lines; // a line still being written (no CRLF yet) is left for the next read
}

std::string AddressFromCommandLine(const std::string& commandLine)
{
    size_t pos = 0;
    if (!commandLine.empty() && commandLine[0] == '"') {
        const auto close = commandLine.find('"', 1);
        pos = close == std::string::npos ? commandLine.size() : close + 1;
    } else {
        pos = commandLine.find(' ');
        if (pos == std::string::npos)
            pos = commandLine.size();
    }
    while (pos < commandLine.size() && commandLine[pos] == ' ')
        ++pos;
    std::string address = commandLine.substr(pos);
    if (address.size() >= 2 && address.front() == '"' && address.back() == '"') {
        address = address.substr(1, address.size() - 2);
    }
    return address;
}

std::vector<std::string> RecordedAddresses(const std::string& logPath)
{
    std::vector<std::string> addresses;
    for (const std::string& line : RecordedCommandLines(logPath)) {
        addresses.push_back(AddressFromCommandLine(line));
    }
    return addresses;
}

UrlRecorder::UrlRecorder()
    : m_dir(std::make_unique<TempDir>("qs-urls-"))
{
    m_logPath = JoinPath(m_dir->Path(), "urls.log");
    m_registered = !m_dir->Path().empty() && RegisterUrlRecorder(UrlRecorderPath(), m_logPath);
}

UrlRecorder::~UrlRecorder()
{
    UnregisterUrlRecorder();
}

bool UrlRecorder::WaitForAddresses(size_t count, unsigned timeoutMs) const
{
    return WaitUntil([&] { return RecordedCommandLines(m_logPath).size() >= count; }, timeoutMs, 20);
}

} // namespace qs::e2e
