// Reading and driving windows of another process through window messages. Sent messages
// carry a timeout, so a busy or hung program fails a test instead of hanging it.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include <windows.h>

namespace qs::e2e {

constexpr unsigned kSendTimeoutMs = 5000;

// SendMessageTimeoutA; nothing when the window did not answer in time.
std::optional<LRESULT> SendWithTimeout(HWND hwnd, UINT message, WPARAM wParam = 0, LPARAM lParam = 0,
                                       unsigned timeoutMs = kSendTimeoutMs);

// The child with that control id (GetDlgItem); nullptr if none.
HWND Child(HWND parent, int id);
// All descendants of `parent`, depth first.
std::vector<HWND> Descendants(HWND parent);
// The first descendant with that class and text (nullptr = any).
HWND FindDescendant(HWND parent, const char* className, const char* text);

// The window text asked with WM_GETTEXT (what the window's procedure answers); nothing if
// the window does not answer in time.
std::optional<std::string> TryText(HWND hwnd, unsigned timeoutMs = kSendTimeoutMs);
// TryText, failing the running test (and answering "") when there is no answer.
std::string Text(HWND hwnd);
// The caption as the system keeps it (GetWindowTextA); never waits on the window.
std::string Title(HWND hwnd);
std::string ClassName(HWND hwnd);

bool IsEnabled(HWND hwnd);
bool IsVisible(HWND hwnd); // the window and all its parents are visible
LONG_PTR Style(HWND hwnd);
LONG_PTR ExStyle(HWND hwnd);
int ControlId(HWND hwnd);

// PBM_GETPOS / PBM_GETRANGE of a progress bar.
std::optional<int> ProgressPos(HWND progress);
std::optional<std::pair<int, int>> ProgressRange(HWND progress);

// Posts BM_CLICK (returns at once; the click runs in the other program).
bool Click(HWND button);
// Posts WM_COMMAND(id, code) to `target` as if control `control` had sent it.
bool PostCommand(HWND target, int id, int code = BN_CLICKED, HWND control = nullptr);
// Posts WM_CLOSE.
bool PostClose(HWND hwnd);
// Posts mouse messages at a point in `hwnd`'s client coordinates.
bool PostMouseMove(HWND hwnd, int x, int y);
bool PostLeftClick(HWND hwnd, int x, int y);
// Posts a key down and up (WM_KEYDOWN/WM_KEYUP) to `hwnd`.
bool PostKey(HWND hwnd, UINT vk);

// Window rectangle and client rectangle, both in screen coordinates.
RECT ScreenRect(HWND hwnd);
RECT ClientScreenRect(HWND hwnd);
// The centre of the window in screen coordinates.
POINT ScreenCenter(HWND hwnd);

// True once `hwnd` no longer exists (waiting at most `timeoutMs`).
bool WaitForWindowGone(HWND hwnd, unsigned timeoutMs);
// True once `hwnd`'s text (WM_GETTEXT) equals `text`.
bool WaitForText(HWND hwnd, const std::string& text, unsigned timeoutMs);

} // namespace qs::e2e
