#include "RegistryImport.h"

#include <shellapi.h>

#include "ImportParameters.h"
#include "RegistryFileChoice.h"

namespace {

// A folder as the system names it through `getFolder` (GetSystemWindowsDirectoryA and its
// kind), or empty text when the system cannot say.
template <class GetFolder> std::string SystemFolder(GetFolder getFolder)
{
    char folder[MAX_PATH] = {};
    const UINT nLength = getFolder(folder, MAX_PATH);
    if (nLength == 0 || nLength >= MAX_PATH)
        return std::string();
    return std::string(folder, nLength);
}

// True for a 32-bit process on 64-bit Windows. Both functions are looked up at run time, so
// that systems before them still start the tools (they have no 64-bit editor either).
bool Is32BitOn64BitWindows()
{
    typedef BOOL(WINAPI * PFN_ISWOW64PROCESS)(HANDLE, PBOOL);
    HMODULE hKernel = ::GetModuleHandleA("kernel32.dll");
    auto pfnIsWow64 = hKernel ? reinterpret_cast<PFN_ISWOW64PROCESS>(
                          reinterpret_cast<void*>(::GetProcAddress(hKernel, "IsWow64Process")))
                              : nullptr;
    BOOL bWow64 = FALSE;
    return pfnIsWow64 && pfnIsWow64(::GetCurrentProcess(), &bWow64) && bWow64;
}

// The registry editor's full path, or empty text when its folder is unknown. The shared
// Windows directory, not GetWindowsDirectoryA's answer: on a Remote Desktop session host that
// may be the user's private, writable Windows folder, which holds no editor of its own and
// where anyone could place one. A 32-bit tool on 64-bit Windows names the 32-bit system
// folder's editor, so that the import lands in the registry view the application reads.
std::string RegistryEditorPath()
{
    const bool bWow64 = Is32BitOn64BitWindows();
    std::string wow64SystemDir;
    if (bWow64)
        wow64SystemDir = SystemFolder(::GetSystemWow64DirectoryA);
    return ChooseRegistryEditor(bWow64, SystemFolder(::GetSystemWindowsDirectoryA), wow64SystemDir);
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
