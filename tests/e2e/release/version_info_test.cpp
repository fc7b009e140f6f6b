// What Explorer's Properties and installers read from the built files: the version
// information of every deliverable, and the application manifest of every program.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <windows.h>

#include "Paths.h"

namespace qs::e2e {
namespace {

struct Deliverable
{
    const char* fileName;
    std::string path;
    bool program;
};

std::vector<Deliverable> Deliverables()
{
    return {
        {"Upvane.exe", QS_DELIVERABLE(UPVANE), true},
        {"Regpick.exe", QS_DELIVERABLE(REGPICK), true},
        {"Revivo.exe", QS_DELIVERABLE(REVIVO), true},
        {"Traylet.dll", QS_DELIVERABLE(TRAYLET), false},
    };
}

// One text of the version information's English (US, Unicode) block; empty when absent.
std::string VersionString(const std::vector<char>& info, const char* name)
{
    const std::string query = std::string("\\StringFileInfo\\040904b0\\") + name;
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(info.data(), query.c_str(), &value, &length) || !value)
        return "";
    return std::string(static_cast<const char*>(value));
}

TEST(ReleaseFiles, EveryDeliverableCarriesTheSuitesVersionInformation)
{
    for (const Deliverable& d : Deliverables()) {
        SCOPED_TRACE(d.fileName);
        DWORD handle = 0;
        const DWORD size = GetFileVersionInfoSizeA(d.path.c_str(), &handle);
        ASSERT_GT(size, 0u);
        std::vector<char> info(size);
        ASSERT_TRUE(GetFileVersionInfoA(d.path.c_str(), 0, size, info.data()));

        VS_FIXEDFILEINFO* fixed = nullptr;
        UINT length = 0;
        ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
        EXPECT_EQ(VS_FFI_SIGNATURE, fixed->dwSignature);
        EXPECT_EQ(static_cast<DWORD>(d.program ? VFT_APP : VFT_DLL), fixed->dwFileType);
        EXPECT_EQ(fixed->dwFileVersionMS, fixed->dwProductVersionMS);

        EXPECT_EQ(QS_VERSION, VersionString(info, "FileVersion"));
        EXPECT_EQ(QS_VERSION, VersionString(info, "ProductVersion"));
        EXPECT_EQ("Quillsuite", VersionString(info, "ProductName"));
        EXPECT_EQ(d.fileName, VersionString(info, "OriginalFilename"));
        EXPECT_FALSE(VersionString(info, "FileDescription").empty());
        EXPECT_FALSE(VersionString(info, "CompanyName").empty());
        EXPECT_FALSE(VersionString(info, "LegalCopyright").empty());
    }
}

TEST(ReleaseFiles, EveryProgramEmbedsItsManifest)
{
    for (const Deliverable& d : Deliverables()) {
        if (!d.program)
            continue;
        SCOPED_TRACE(d.fileName);
        HMODULE module = LoadLibraryExA(d.path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(nullptr, module);
        HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
        ASSERT_NE(nullptr, resource);
        const DWORD size = SizeofResource(module, resource);
        const char* text = static_cast<const char*>(LockResource(LoadResource(module, resource)));
        ASSERT_NE(nullptr, text);
        const std::string manifest(text, size);
        EXPECT_NE(std::string::npos, manifest.find("level=\"asInvoker\""));
        // Per-monitor aware, with the fallbacks of older Windows.
        EXPECT_NE(std::string::npos, manifest.find("WindowsSettings\">true/pm</dpiAware>"));
        EXPECT_NE(std::string::npos,
                  manifest.find("WindowsSettings\">PerMonitorV2, PerMonitor</dpiAwareness>"));
        EXPECT_NE(std::string::npos, manifest.find("supportedOS"));
        FreeLibrary(module);
    }
}

} // namespace
} // namespace qs::e2e
