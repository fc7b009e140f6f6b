#include "ImportParameters.h"

std::string BuildImportParameters(const std::string& directory, const char* fileName)
{
    std::string parameters;
    if (!fileName)
        return parameters;
    parameters += "/s ";
    parameters += '"';
    parameters += directory;
    parameters += fileName;
    parameters += '"';
    return parameters;
}

namespace {

// `directory` and `name` joined by one backslash; only a drive's root ends in one already.
std::string JoinPath(const std::string& directory, const char* name)
{
    if (directory.empty())
        return std::string();
    std::string path = directory;
    if (path.back() != '\\')
        path += '\\';
    return path + name;
}

} // namespace

std::string ChooseRegistryEditor(bool is32BitOn64BitWindows, const std::string& windowsDir,
                                 const std::string& wow64SystemDir)
{
    static const char kRegistryEditor[] = "regedit.exe";
    return JoinPath(is32BitOn64BitWindows ? wow64SystemDir : windowsDir, kRegistryEditor);
}
