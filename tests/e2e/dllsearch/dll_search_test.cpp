// Every program of the suite restricts the loader to the system folder before it loads a DLL
// of its own accord: a library planted beside the program (or in the current folder) under a
// bare name is then not loaded. The running program itself is asked, by a thread started in
// it that loads the library the way the program's own code would.
// The system DLLs that are not among the system's known DLLs are not imported, so a library
// planted under one of their names beside the program is not loaded either, even with the
// load order that prefers the program's folder.
#include <gtest/gtest.h>

#include <string>

#include <windows.h>
#include <oleacc.h>
#include <psapi.h>

#include "Files.h"
#include "HttpServer.h"
#include "Paths.h"
#include "TempDir.h"
#include "UpvaneHarness.h"
#include "Wait.h"
#include "Window.h"

namespace qs::e2e {
namespace {

const unsigned kLoadTimeoutMs = 15000;

// The base address of kernel32.dll in `process`, or nullptr.
HMODULE RemoteKernel32(HANDLE process)
{
    HMODULE modules[512] = {};
    DWORD needed = 0;
    if (!K32EnumProcessModules(process, modules, sizeof(modules), &needed))
        return nullptr;
    const DWORD count = needed / sizeof(HMODULE);
    for (DWORD i = 0; i < count && i < 512; ++i) {
        char name[MAX_PATH] = {};
        if (K32GetModuleBaseNameA(process, modules[i], name, MAX_PATH)
            && lstrcmpiA(name, "kernel32.dll") == 0)
            return modules[i];
    }
    return nullptr;
}

// Runs LoadLibraryA(`name`) on a new thread inside `process`: true when the library was
// loaded there. `ran` tells whether the thread could be started and ended in time.
bool LoadsInProcess(HANDLE process, const std::string& name, bool& ran)
{
    ran = false;
    const HMODULE localKernel = GetModuleHandleA("kernel32.dll");
    const HMODULE remoteKernel = RemoteKernel32(process);
    if (!localKernel || !remoteKernel)
        return false;
    const auto localLoad = reinterpret_cast<const char*>(GetProcAddress(localKernel, "LoadLibraryA"));
    const auto remoteLoad = reinterpret_cast<const char*>(remoteKernel)
                            + (localLoad - reinterpret_cast<const char*>(localKernel));

    void* remoteName =
        VirtualAllocEx(process, nullptr, name.size() + 1, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (!remoteName)
        return false;
    bool loaded = false;
    if (WriteProcessMemory(process, remoteName, name.c_str(), name.size() + 1, nullptr)) {
        HANDLE thread = CreateRemoteThread(
            process, nullptr, 0,
            reinterpret_cast<LPTHREAD_START_ROUTINE>(reinterpret_cast<void*>(const_cast<char*>(remoteLoad))),
            remoteName, 0, nullptr);
        if (thread) {
            DWORD code = 0;
            ran = WaitForSingleObject(thread, kLoadTimeoutMs) == WAIT_OBJECT_0
                  && GetExitCodeThread(thread, &code);
            // The exit code is the low half of the module handle: never 0 for a loaded one.
            loaded = ran && code != 0;
            CloseHandle(thread);
        }
    }
    VirtualFreeEx(process, remoteName, 0, MEM_RELEASE);
    return loaded;
}

TEST(DllSearch, ARunningProgramDoesNotLoadALibraryPlantedBesideItByItsBareName)
{
    // The program runs from its own folder, which is also its current folder: the two places a
    // bare name finds by default.
    UpvaneRun run("dll-search-");
    ASSERT_TRUE(CopyFileTo(QS_DELIVERABLE(QS_PLANTED), run.Folder().File("qs_planted.dll")));
    ASSERT_TRUE(run.Start());
    const HANDLE process = run.Program().Handle();

    // By its full path the library loads there: the probe works and the library is sound.
    bool ran = false;
    ASSERT_TRUE(LoadsInProcess(process, run.Folder().File("qs_planted.dll"), ran));
    ASSERT_TRUE(ran);
    // Loaded once, a bare name would now find the loaded module; use a second copy instead.
    ASSERT_TRUE(CopyFileTo(QS_DELIVERABLE(QS_PLANTED), run.Folder().File("qs_planted2.dll")));

    EXPECT_FALSE(LoadsInProcess(process, "qs_planted2.dll", ran)) << "the planted copy was loaded";
    EXPECT_TRUE(ran);
    // System libraries still load by their bare names.
    EXPECT_TRUE(LoadsInProcess(process, "version.dll", ran));
    EXPECT_TRUE(run.Program().Running());
}

// Upvane imports no DLL that the system looks for beside the program first: planted under
// the names of the system DLLs it uses, marker libraries are not loaded by its start, a check,
// a link's property sheet or a screen reader's question to a link. ctest starts this test with Windows' load order for these
// names (WINEDLLOVERRIDES="wininet,comctl32,oleacc=n,b": the program's folder first), which
// Wine reads from the environment the Wine process was started with.
TEST(DllSearch, LibrariesPlantedUnderTheNamesOfSystemLibrariesAreNotLoaded)
{
    const char* const planted[] = {"wininet.dll", "comctl32.dll", "oleacc.dll"};
    HttpServer server;
    ASSERT_TRUE(server.Listening());
    server.Serve("/version.txt", HttpReply::Ok("Sample App Version 3.1 Build 5"));
    UpvaneRun run("dll-planting-");
    run.WriteSetFile(ExampleValues(server.Address()));
    for (const char* name : planted)
        ASSERT_TRUE(CopyFileTo(QS_DELIVERABLE(QS_PLANTED), run.Folder().File(name)));
    const bool started = run.Start();
    if (started) {
        EXPECT_EQ(nullptr, run.CheckAndWait());
        EXPECT_EQ(kLatestMessage, run.ItemText(kMessageText));
        // The link's property sheet (common controls).
        const WPARAM propertiesCommand = 32773;
        PostMessageA(run.Item(kSiteLink), WM_COMMAND, propertiesCommand, 0);
        HWND sheet = run.Program().WaitForTopWindow("#32770", "Properties", kLoadTimeoutMs);
        EXPECT_NE(nullptr, sheet);
        if (sheet) {
            PostClose(sheet);
            EXPECT_TRUE(WaitForWindowGone(sheet, kLoadTimeoutMs));
        }
        // A screen reader's question (oleacc): the link answers with its own object, which
        // only the system's oleacc can hand over.
        EXPECT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
        IAccessible* acc = nullptr;
        EXPECT_TRUE(SUCCEEDED(AccessibleObjectFromWindow(
            run.Item(kSiteLink), OBJID_CLIENT, __uuidof(IAccessible), reinterpret_cast<void**>(&acc))));
        if (acc) {
            VARIANT self = {};
            self.vt = VT_I4;
            VARIANT role = {};
            EXPECT_TRUE(SUCCEEDED(acc->get_accRole(self, &role)));
            EXPECT_EQ(ROLE_SYSTEM_LINK, role.lVal);
            acc->Release();
        }
        CoUninitialize();
    }
    for (const char* name : planted)
        EXPECT_FALSE(FileExists(run.Folder().File(std::string(name) + ".loaded")))
            << name << " beside the program was loaded";
    EXPECT_TRUE(started);

    // The load order is in force in the program: the same library, loaded there by its full
    // path under a system DLL's name, is the planted one, not Wine's own.
    ASSERT_TRUE(started);
    const std::string control = run.Folder().MakeDir("control") + "\\oleacc.dll";
    ASSERT_TRUE(CopyFileTo(QS_DELIVERABLE(QS_PLANTED), control));
    bool ran = false;
    EXPECT_TRUE(LoadsInProcess(run.Program().Handle(), control, ran));
    EXPECT_TRUE(FileExists(control + ".loaded"))
        << "the test needs WINEDLLOVERRIDES=wininet,comctl32,oleacc=n,b in the Wine process's environment";
}

} // namespace
} // namespace qs::e2e
