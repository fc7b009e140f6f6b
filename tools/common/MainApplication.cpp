#include "MainApplication.h"

#include <shellapi.h>

namespace {

const char kMainApplication[] = "Quillory.exe";

} // namespace

void StartMainApplication(HWND hwndParent, const std::string& directory)
{
    ::ShellExecuteA(hwndParent, "open", kMainApplication, nullptr, directory.c_str(), SW_SHOWDEFAULT);
}
