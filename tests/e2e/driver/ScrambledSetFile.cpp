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

} // namespace qs::e2e
