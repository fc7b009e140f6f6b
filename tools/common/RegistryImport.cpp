#include "RegistryImport.h"

#include <shellapi.h>

#include "ImportParameters.h"
#include "RegistryFileChoice.h"

namespace {

const char kRegistryEditor[] = "regedit.exe";

// The registry editor's full path, or empty text when the Windows directory is unknown.
std::string RegistryEditorPath()
{
    char windowsDir[MAX_PATH] = {};
    const UINT nLength = ::GetWindowsDirectoryA(windowsDir, MAX_PATH);
    if (nLength == 0 || nLength >= MAX_PATH)
        return std::string();
    std::string path(windowsDir, nLength);
    // Only a drive's root keeps its backslash.
    if (path.back() != '\\')
        path += '\\';
    return path + kRegistryEditor;
}

} // namespace

void ImportRegistryFile(HWND hwndParent, const std::string& parameters)
{
    if (parameters.empty())
        return;
    const std::string editor = RegistryEditorPath();
    if (editor.empty())
        return;
    ::ShellExecuteA(hwndParent, "Open", editor.c_str(), parameters.c_str(), nullptr, SW_HIDE);
}

void ImportRegistryFileForScreen(HWND hwndParent, const std::string& directory)
{
    const int width = ::GetSystemMetrics(SM_CXFULLSCREEN);
    ImportRegistryFile(hwndParent, BuildImportParameters(directory, PickRegistryFile(width)));
}
