// A client of Traylet: owner window, icon and menu, and the managers it made, released at the
// end of each test (before the window and the menu go).
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "TrayletHost.h"

class TrayletTest : public ::testing::Test
{
protected:
    static constexpr UINT kCallbackMessage = WM_USER + 600;
    static constexpr WPARAM kIconId = 1000;
    static constexpr UINT kCmdOpen = 9000;
    static constexpr UINT kCmdDestroy = 9001;
    // The sizes of the first version of the records Traylet hands to the system, which every
    // Windows accepts, as the 32-bit and the 64-bit system define them.
    static constexpr DWORD kNotifyRecordSize = sizeof(void*) == 4 ? 88 : 104;
    static constexpr UINT kMenuItemRecordSize = sizeof(void*) == 4 ? 44 : 72;

    void TearDown() override
    {
        for (TrayManager* pManager : m_managers)
            lib.pfnDestroy(&pManager);
    }

    TrayManager* NewManager()
    {
        TrayManager* pManager = nullptr;
        EXPECT_EQ(lib.pfnCreate(&pManager), 1);
        EXPECT_NE(pManager, nullptr);
        m_managers.push_back(pManager);
        return pManager;
    }

    BOOL Release(TrayManager* pManager)
    {
        m_managers.erase(std::remove(m_managers.begin(), m_managers.end(), pManager), m_managers.end());
        TrayManager* pCopy = pManager;
        const BOOL bResult = lib.pfnDestroy(&pCopy);
        EXPECT_EQ(pCopy, pManager) << "the caller's pointer is left as it was";
        return bResult;
    }

    // The one hidden window of this thread.
    static HWND TrayWnd()
    {
        const std::vector<HWND> windows = TrayWindows();
        EXPECT_EQ(windows.size(), 1u);
        return windows.empty() ? nullptr : windows.front();
    }

    const TrayletLibrary& lib = TrayletLibrary::Get();
    TestOwner owner;
    TestMenu menu;
    TestIcon testIcon;
    HICON icon = testIcon.Get();

private:
    std::vector<TrayManager*> m_managers;
};
