#include "ToolFolder.h"

#include <sstream>

#include "Files.h"
#include "Registry.h"
#include "Wait.h"

namespace qs::e2e::tools {

const char* const kRegistryFiles[6] = {"Quil1920Pro.reg", "Quil1680Pro.reg", "Quil1440Pro.reg",
                                       "Quil1280Pro.reg", "Quil1152Pro.reg", "Quil1024Pro.reg"};

ToolFolder::ToolFolder(const std::string& tag, const std::string& prefix)
    : m_dir(prefix)
{
    m_ready = !m_dir.Path().empty();
    for (const char* file : kRegistryFiles)
        m_ready = m_ready && m_dir.Write(file, RegistryFileText(ImportValueName(file), tag));
}

std::string RegistryFileText(const std::string& valueName, const std::string& data)
{
    return "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\" + std::string(kImportKey) + "]\r\n\"" + valueName + "\"=\""
           + data + "\"\r\n\r\n";
}

std::string ImportValueName(const std::string& fileName)
{
    return fileName.substr(0, fileName.rfind(".reg"));
}

std::vector<std::string> ImportedValueNames()
{
    return RegistryValueNames(kImportKey);
}

bool WaitForImport(unsigned timeoutMs)
{
    return WaitUntil([] { return !ImportedValueNames().empty(); }, timeoutMs);
}

namespace {

constexpr unsigned kSecondStartMs = 300;

std::vector<StandinStart> ReadStandinStarts(const std::string& path)
{
    std::vector<StandinStart> starts;
    const auto text = ReadFileBytes(path);
    if (!text)
        return starts;
    std::istringstream in(*text);
    for (std::string line; std::getline(in, line);) {
        std::vector<std::string> fields;
        std::istringstream parts(line);
        for (std::string field; std::getline(parts, field, '|');)
            fields.push_back(field);
        if (fields.size() != 5)
            continue;
        starts.push_back(
            {std::stod(fields[0]), fields[1], fields[2], std::stoi(fields[3]), std::stoi(fields[4])});
    }
    return starts;
}

} // namespace

std::vector<StandinStart> WaitForStandinStarts(const std::string& path, unsigned timeoutMs)
{
    if (WaitUntil([&] { return !ReadStandinStarts(path).empty(); }, timeoutMs))
        PumpFor(kSecondStartMs);
    return ReadStandinStarts(path);
}

} // namespace qs::e2e::tools
