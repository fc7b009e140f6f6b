#include "TestKit.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <regex>
#include <sstream>

namespace qs::testkit {

namespace {

constexpr char kDisposableReason[] =
    "end-to-end: changes the clipboard, the http/https/mailto handlers, files on the Desktop and in "
    "Favorites, the focus and keys; runs only with --disposable-machine (Windows Sandbox, a CI agent, "
    "a test VM)";
constexpr char kTlsHelperReason[] =
    "needs the TLS helper of the HTTPS cases, a Linux program the Linux test set-up starts through "
    "Wine; it is not part of this kit";
constexpr size_t kJUnitOutputLimit = 16 * 1024; // the tail of an output kept in the report

bool StartsWith(const std::string& text, const std::string& prefix)
{
    return text.compare(0, prefix.size(), prefix) == 0;
}

std::string Upper(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

std::string NameOf(const std::string& assignment)
{
    return assignment.substr(0, assignment.find('='));
}

bool HasLabel(const TestEntry& test, const std::string& label)
{
    return std::find(test.labels.begin(), test.labels.end(), label) != test.labels.end();
}

// The number after `prefix` in the first label that has it; 0 when none does.
unsigned LabelNumber(const TestEntry& test, const std::string& prefix)
{
    for (const std::string& label : test.labels) {
        if (StartsWith(label, prefix))
            return static_cast<unsigned>(std::strtoul(label.c_str() + prefix.size(), nullptr, 10));
    }
    return 0;
}

bool ParseUnsigned(const std::string& text, unsigned& value)
{
    if (text.empty() || text.size() > 9
        || !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return false;
    value = static_cast<unsigned>(std::stoul(text));
    return true;
}

bool AnyMatches(const std::vector<std::string>& patterns, const std::string& output, std::string& error)
{
    for (const std::string& pattern : patterns) {
        try {
            if (std::regex_search(output, std::regex(pattern)))
                return true;
        } catch (const std::regex_error&) {
            error = "the pattern \"" + pattern + "\" cannot be read";
        }
    }
    return false;
}

std::string XmlEscaped(const std::string& text)
{
    std::string out;
    for (char c : text) {
        const unsigned char u = static_cast<unsigned char>(c);
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            // XML 1.0 allows no control characters but tab, CR and LF.
            if (u < 0x20 && c != '\t' && c != '\r' && c != '\n')
                out += '?';
            else
                out += c;
        }
    }
    return out;
}

std::string Seconds(double seconds)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", seconds);
    return text;
}

} // namespace

bool IsWineStartSetting(const std::string& name)
{
    return StartsWith(Upper(name), "WINE");
}

Manifest ParseManifest(const std::string& text)
{
    Manifest manifest;
    std::istringstream in(text);
    std::string line;
    int number = 0;
    const auto error = [&](const std::string& what) {
        manifest.errors.push_back("line " + std::to_string(number) + ": " + what);
    };
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line[0] == '#')
            continue;
        const auto equals = line.find('=');
        if (equals == std::string::npos) {
            error("no \"=\" in \"" + line + "\"");
            continue;
        }
        const std::string key = line.substr(0, equals);
        const std::string value = line.substr(equals + 1);
        if (key == "test") {
            if (value.empty())
                error("a test without a name");
            manifest.tests.push_back(TestEntry{});
            manifest.tests.back().name = value;
            manifest.tests.back().line = number;
            continue;
        }
        if (manifest.tests.empty()) {
            error("\"" + key + "\" before the first test");
            continue;
        }
        TestEntry& test = manifest.tests.back();
        if (key == "program") {
            test.program = value;
        } else if (key == "arg") {
            test.arguments.push_back(value);
        } else if (key == "env") {
            if (value.find('=') == std::string::npos || value[0] == '=')
                error("environment entry \"" + value + "\" is not NAME=VALUE");
            else
                test.environment.push_back(value);
        } else if (key == "dir") {
            test.workingDir = value;
        } else if (key == "timeout") {
            if (!ParseUnsigned(value, test.timeoutSeconds))
                error("time limit \"" + value + "\" is not a number of seconds");
        } else if (key == "label") {
            test.labels.push_back(value);
        } else if (key == "pass") {
            test.passPatterns.push_back(value);
        } else if (key == "skip") {
            test.skipPatterns.push_back(value);
        } else {
            error("unknown key \"" + key + "\"");
        }
    }
    for (const TestEntry& test : manifest.tests) {
        if (test.program.empty())
            manifest.errors.push_back("line " + std::to_string(test.line) + ": test " + test.name
                                      + " names no program");
    }
    return manifest;
}

std::string SkipReason(const TestEntry& test, const Machine& machine)
{
    if (HasLabel(test, kLabelTlsHelper))
        return kTlsHelperReason;
    if (HasLabel(test, kLabelEndToEnd) && !machine.disposable)
        return kDisposableReason;
    if (const unsigned codePage = LabelNumber(test, kLabelCodePagePrefix);
        codePage && codePage != machine.codePage) {
        return "needs the ANSI code page " + std::to_string(codePage) + ", this machine's is "
               + std::to_string(machine.codePage)
               + (machine.underWine ? " (Wine takes it from the locale Wine starts under)"
                                    : " (Windows takes it from the system locale for non-Unicode programs)");
    }
    if (const unsigned dpi = LabelNumber(test, kLabelDpiPrefix); dpi && dpi != machine.dpi) {
        return "needs a display scale of " + std::to_string(dpi) + " DPI (" + std::to_string(dpi * 100 / 96)
               + " %), this machine's system DPI is " + std::to_string(machine.dpi);
    }
    if (const unsigned width = LabelNumber(test, kLabelWidthPrefix); width && width != machine.width) {
        return "needs a screen " + std::to_string(width) + " pixels wide, this machine's is "
               + std::to_string(machine.width);
    }
    if (!machine.underWine)
        return ""; // Windows ignores the settings only Wine reads
    for (const std::string& setting : test.environment) {
        if (!IsWineStartSetting(NameOf(setting)))
            continue;
        const auto& own = machine.wineStartSettings;
        if (std::find(own.begin(), own.end(), setting) == own.end())
            return "needs " + setting
                   + ", which Wine reads only from the environment Wine starts with (start the runner with "
                     "it; Windows needs no such setting)";
    }
    return "";
}

unsigned long long TimeLimitMs(const TestEntry& test, unsigned defaultSeconds, double scale)
{
    const unsigned seconds = test.timeoutSeconds ? test.timeoutSeconds : defaultSeconds;
    if (scale <= 0)
        scale = 1;
    return static_cast<unsigned long long>(seconds * 1000.0 * scale);
}

bool StartMayBeTriedAgain(unsigned long error)
{
    switch (error) {
    case 8:    // ERROR_NOT_ENOUGH_MEMORY
    case 14:   // ERROR_OUTOFMEMORY
    case 1359: // ERROR_INTERNAL_ERROR
    case 1450: // ERROR_NO_SYSTEM_RESOURCES
    case 1455: // ERROR_COMMITMENT_LIMIT
        return true;
    default:
        return false;
    }
}

std::string GoogleTestSkipMessage(const std::string& output)
{
    // GoogleTest prints "FILE(LINE): Skipped" (or "FILE:LINE: Skipped") and then the message.
    const std::string marker = ": Skipped\n";
    std::string text = output;
    text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
    const auto at = text.find(marker);
    if (at == std::string::npos)
        return "";
    const auto start = at + marker.size();
    const auto end = text.find('\n', start);
    return text.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

Outcome Judge(const TestEntry& test, bool timedOut, unsigned long exitCode, const std::string& output)
{
    if (timedOut)
        return {Verdict::Failed, "ended after its time limit"};
    std::string error;
    if (AnyMatches(test.skipPatterns, output, error)) {
        const std::string message = GoogleTestSkipMessage(output);
        return {Verdict::Skipped, message.empty() ? "the test skipped itself" : message};
    }
    if (!test.passPatterns.empty()) {
        if (AnyMatches(test.passPatterns, output, error))
            return {Verdict::Passed, ""};
        return {Verdict::Failed, error.empty() ? "its output does not show the pass it must" : error};
    }
    if (!error.empty())
        return {Verdict::Failed, error};
    if (exitCode == 0)
        return {Verdict::Passed, ""};
    char text[40];
    std::snprintf(text, sizeof text, exitCode > 0xFFFF ? "exit status 0x%08lX" : "exit status %lu", exitCode);
    return {Verdict::Failed, text};
}

std::vector<std::string> MergedEnvironment(const std::vector<std::string>& parent,
                                           const std::vector<std::string>& overrides)
{
    std::vector<std::string> merged;
    const auto replace = [&merged](const std::string& assignment) {
        const std::string name = Upper(NameOf(assignment));
        const auto same = std::find_if(merged.begin(), merged.end(), [&](const std::string& other) {
            return Upper(NameOf(other)) == name;
        });
        if (same != merged.end())
            *same = assignment;
        else
            merged.push_back(assignment);
    };
    for (const std::string& assignment : parent) {
        // Windows keeps per-drive folders as "=C:=C:\\..."; they are no names to compare.
        if (!assignment.empty() && assignment[0] != '=')
            replace(assignment);
    }
    for (const std::string& assignment : overrides)
        replace(assignment);
    std::sort(merged.begin(), merged.end(),
              [](const std::string& a, const std::string& b) { return Upper(NameOf(a)) < Upper(NameOf(b)); });
    return merged;
}

std::string QuotedArgument(const std::string& argument)
{
    if (!argument.empty() && argument.find_first_of(" \t\n\v\"") == std::string::npos)
        return argument;
    std::string out = "\"";
    size_t backslashes = 0;
    for (char c : argument) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        // Backslashes count only before a quote: there each is doubled, and the quote escaped.
        out.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
        backslashes = 0;
        out += c;
    }
    out.append(backslashes * 2, '\\'); // before the closing quote
    return out + "\"";
}

std::string OutputFileName(const std::string& testName)
{
    std::string name = testName;
    for (char& c : name) {
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '-' && c != '_' && c != '.')
            c = '_';
    }
    return name + ".txt";
}

std::string ResultLine(const Result& result)
{
    static const char* const kWords[] = {"passed ", "FAILED ", "skipped"};
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, "%6.1f s", result.seconds);
    std::string line =
        std::string(kWords[static_cast<int>(result.outcome.verdict)]) + " " + seconds + "  " + result.name;
    if (result.outcome.verdict == Verdict::Failed)
        line += "  (" + result.outcome.reason + ")";
    return line;
}

std::string Summary(const std::vector<Result>& results)
{
    size_t counts[3] = {};
    std::string skips, failures;
    for (const Result& result : results) {
        ++counts[static_cast<int>(result.outcome.verdict)];
        if (result.outcome.verdict == Verdict::Skipped)
            skips += "  " + result.name + ": " + result.outcome.reason + "\n";
        if (result.outcome.verdict == Verdict::Failed)
            failures +=
                "  " + result.name + ": " + result.outcome.reason + " (output: " + result.outputFile + ")\n";
    }
    std::string text;
    if (!skips.empty())
        text += "Skipped, and why:\n" + skips;
    if (!failures.empty())
        text += "Failed:\n" + failures;
    return text + std::to_string(counts[0]) + " passed, " + std::to_string(counts[1]) + " failed, "
           + std::to_string(counts[2]) + " skipped\n";
}

std::string JUnitXml(const std::string& suiteName, const std::vector<Result>& results)
{
    size_t failures = 0, skipped = 0;
    double total = 0;
    for (const Result& result : results) {
        failures += result.outcome.verdict == Verdict::Failed;
        skipped += result.outcome.verdict == Verdict::Skipped;
        total += result.seconds;
    }
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    xml += "<testsuites tests=\"" + std::to_string(results.size()) + "\" failures=\""
           + std::to_string(failures) + "\" skipped=\"" + std::to_string(skipped) + "\" time=\""
           + Seconds(total) + "\">\n";
    xml += "  <testsuite name=\"" + XmlEscaped(suiteName) + "\" tests=\"" + std::to_string(results.size())
           + "\" failures=\"" + std::to_string(failures) + "\" errors=\"0\" skipped=\""
           + std::to_string(skipped) + "\" time=\"" + Seconds(total) + "\">\n";
    for (const Result& result : results) {
        // "program.Suite.Case": the class is what comes before the last dot.
        const auto dot = result.name.rfind('.');
        const std::string className = dot == std::string::npos ? suiteName : result.name.substr(0, dot);
        xml += "    <testcase classname=\"" + XmlEscaped(className) + "\" name=\"" + XmlEscaped(result.name)
               + "\" time=\"" + Seconds(result.seconds) + "\"";
        if (result.outcome.verdict == Verdict::Passed) {
            xml += "/>\n";
            continue;
        }
        xml += ">\n";
        if (result.outcome.verdict == Verdict::Skipped) {
            xml += "      <skipped message=\"" + XmlEscaped(result.outcome.reason) + "\"/>\n";
        } else {
            xml += "      <failure message=\"" + XmlEscaped(result.outcome.reason) + "\"/>\n";
            const std::string& output = result.output;
            const std::string tail =
                output.size() > kJUnitOutputLimit ? output.substr(output.size() - kJUnitOutputLimit) : output;
            xml += "      <system-out>" + XmlEscaped(tail) + "</system-out>\n";
        }
        xml += "    </testcase>\n";
    }
    return xml + "  </testsuite>\n</testsuites>\n";
}

} // namespace qs::testkit
