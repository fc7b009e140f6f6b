#include "ScrambledSetFile.h"

namespace qs::e2e {

std::string ScrambleValue(const std::string& plain)
{
    std::string out = plain;
    for (size_t i = 0; i < out.size(); ++i)
        out[i] = static_cast<char>(static_cast<unsigned char>(out[i]) ^ (i & 0xFF) ^ 0xA7);
    return out;
}

std::string MakeSetFileText(const std::map<std::string, std::string>& plainValues, const std::string& section)
{
    std::string text = "; made by the tests\r\n[" + section + "]\r\n";
    for (const auto& [key, value] : plainValues)
        text += key + "=" + ScrambleValue(value) + "\r\n";
    return text;
}

std::map<std::string, std::string> ExampleValues(const std::string& webLink)
{
    return {
        {"title", "Quillory Upgrade"},
        {"info", "Quillory keeps your notes in order."},
        {"installed", "Sample App Version 3.1 Build 5"},
        {"site", "Quillory on the web"},
        {"weblink", webLink},
        {"mailtext", "Write to us"},
        {"webmail", "support@quillory.example"},
        {"wizfile", "version.txt"},
        {"updatefilename", "QuilloryUpgrade.exe"},
    };
}

} // namespace qs::e2e
