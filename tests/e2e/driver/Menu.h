// Popup menus of another program. A sent WM_CONTEXTMENU would block until the menu closes,
// so it is posted and the menu window (class "#32768") is looked for afterwards.
#pragma once

#include <windows.h>

namespace qs::e2e {

// A visible popup menu window, of process `processId` if not 0; nullptr if none.
HWND FindPopupMenu(DWORD processId = 0);
// FindPopupMenu, polled until found or `timeoutMs` has passed.
HWND WaitForPopupMenu(unsigned timeoutMs, DWORD processId = 0);
// True once no popup menu (of that process, if not 0) is visible.
bool WaitForNoPopupMenu(unsigned timeoutMs, DWORD processId = 0);

// Posts WM_CONTEXTMENU to `target` for screen point `at` and waits for the menu window.
HWND OpenContextMenu(HWND target, POINT at, unsigned timeoutMs);

// Chooses the item at `position` among the menu's selectable items (separators not
// counted) with the keyboard: Down `position + 1` times, then Enter.
void ChooseMenuItem(HWND menu, int position);
// Closes the menu with Escape.
void DismissMenu(HWND menu);
// Ends the menu mode of the window that owns the menu (WM_CANCELMODE).
void CancelMenuMode(HWND owner);

} // namespace qs::e2e
