// Every program of the suite restricts the loader to the system folder before it loads a DLL
// of its own accord: a library planted beside the program (or in the current folder) under a
// bare name is then not loaded.
#include <gtest/gtest.h>

#include <string>

#include <windows.h>

#include "Files.h"
#include "Paths.h"
#include "SafeDllSearch.h"
#include "TempDir.h"

namespace qs::e2e {
namespace {

TEST(DllSearch, APlantedLibraryIsFoundByItsBareNameOnlyBeforeTheRestriction)
{
    // The planted library lies in the test program's folder and the current folder: the two
    // places a bare name finds by default.
    TempDir folder("dll-search-");
    const std::string planted = folder.File("qs_planted.dll");
    ASSERT_TRUE(CopyFileTo(QS_DELIVERABLE(QS_PLANTED), planted));
    char previous[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryA(folder.Path().c_str()));

    // Without the restriction the bare name finds it (the test would prove nothing otherwise).
    HMODULE before = LoadLibraryA("qs_planted.dll");
    ASSERT_NE(nullptr, before);
    FreeLibrary(before);

    EXPECT_TRUE(AfxRestrictDllSearch());
    HMODULE after = LoadLibraryA("qs_planted.dll");
    EXPECT_EQ(nullptr, after);
    if (after)
        FreeLibrary(after);

    // System libraries still load, by bare name.
    HMODULE system = LoadLibraryA("version.dll");
    EXPECT_NE(nullptr, system);
    if (system)
        FreeLibrary(system);

    SetCurrentDirectoryA(previous);
}

}  // namespace
}  // namespace qs::e2e
