#include "RegistryImport.h"

#include <shellapi.h>

#include "ImportParameters.h"
#include "RegistryFileChoice.h"

namespace {

const char kRegistryEditor[] = "regedit.exe";

// The registry editor's full path, or empty text when the Windows directory is unknown.
// The shared Windows directory, not GetWindowsDirectoryA's answer: on a Remote Desktop
// session host that may be the user's private, writable Windows folder, which holds no
// editor of its own and where anyone could place one.
std::string RegistryEditorPath()
{
    char windowsDir[MAX_PATH] = {};
    const UINT nLength = ::GetSystemWindowsDirectoryA(windowsDir, MAX_PATH);
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
