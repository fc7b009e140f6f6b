#include "Window.h"

#include <algorithm>

#include <commctrl.h>
#include <gtest/gtest.h>

#include "Wait.h"

namespace qs::e2e {

namespace {

BOOL CALLBACK CollectChild(HWND hwnd, LPARAM param)
{
    reinterpret_cast<std::vector<HWND>*>(param)->push_back(hwnd);
    return TRUE;
}

LPARAM PointParam(int x, int y)
{
    return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y));
}

} // namespace

std::optional<LRESULT> SendWithTimeout(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                       unsigned timeoutMs)
{
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(hwnd, message, wParam, lParam, SMTO_ABORTIFHUNG, Scaled(timeoutMs), &result)) {
        return std::nullopt;
    }
    return static_cast<LRESULT>(result);
}

HWND Child(HWND parent, int id)
{
    return GetDlgItem(parent, id);
}

std::vector<HWND> Descendants(HWND parent)
{
    std::vector<HWND> children;
    EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&children));
    return children;
}

HWND FindDescendant(HWND parent, const char* className, const char* text)
{
    for (HWND hwnd : Descendants(parent)) {
        if (className && ClassName(hwnd) != className)
            continue;
        if (text && Title(hwnd) != text)
            continue;
        return hwnd;
    }
    return nullptr;
}

std::optional<std::string> TryText(HWND hwnd, unsigned timeoutMs)
{
    const auto length = SendWithTimeout(hwnd, WM_GETTEXTLENGTH, 0, 0, timeoutMs);
    if (!length)
        return std::nullopt;
    std::string text(static_cast<size_t>(*length) + 1, '\0');
    const auto copied =
        SendWithTimeout(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), timeoutMs);
    if (!copied)
        return std::nullopt;
    text.resize(std::min(static_cast<size_t>(*copied), text.size() - 1));
    return text;
}

std::string Text(HWND hwnd)
{
    auto text = TryText(hwnd);
    if (!text) {
        ADD_FAILURE() << "window " << hwnd << " (" << ClassName(hwnd) << ") did not answer WM_GETTEXT";
        return {};
    }
    return *text;
}

std::string Title(HWND hwnd)
{
    char buffer[1024] = {};
    const int n = GetWindowTextA(hwnd, buffer, sizeof buffer);
    return std::string(buffer, n > 0 ? n : 0);
}

std::string ClassName(HWND hwnd)
{
    char buffer[256] = {};
    const int n = GetClassNameA(hwnd, buffer, sizeof buffer);
    return std::string(buffer, n > 0 ? n : 0);
}

bool IsEnabled(HWND hwnd)
{
    return IsWindowEnabled(hwnd) != FALSE;
}
bool IsVisible(HWND hwnd)
{
    return IsWindowVisible(hwnd) != FALSE;
}
LONG_PTR Style(HWND hwnd)
{
    return GetWindowLongPtrA(hwnd, GWL_STYLE);
}
LONG_PTR ExStyle(HWND hwnd)
{
    return GetWindowLongPtrA(hwnd, GWL_EXSTYLE);
}
int ControlId(HWND hwnd)
{
    return GetDlgCtrlID(hwnd);
}

std::optional<int> ProgressPos(HWND progress)
{
    const auto pos = SendWithTimeout(progress, PBM_GETPOS);
    if (!pos)
        return std::nullopt;
    return static_cast<int>(*pos);
}

std::optional<std::pair<int, int>> ProgressRange(HWND progress)
{
    const auto low = SendWithTimeout(progress, PBM_GETRANGE, TRUE);
    const auto high = SendWithTimeout(progress, PBM_GETRANGE, FALSE);
    if (!low || !high)
        return std::nullopt;
    return std::make_pair(static_cast<int>(*low), static_cast<int>(*high));
}

bool Click(HWND button)
{
    return PostMessageA(button, BM_CLICK, 0, 0) != FALSE;
}

bool PostCommand(HWND target, int id, int code, HWND control)
{
    return PostMessageA(target, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(control)) != FALSE;
}

bool PostClose(HWND hwnd)
{
    return PostMessageA(hwnd, WM_CLOSE, 0, 0) != FALSE;
}

bool PostMouseMove(HWND hwnd, int x, int y)
{
    return PostMessageA(hwnd, WM_MOUSEMOVE, 0, PointParam(x, y)) != FALSE;
}

bool PostLeftClick(HWND hwnd, int x, int y)
{
    return PostMessageA(hwnd, WM_MOUSEMOVE, 0, PointParam(x, y))
           && PostMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, PointParam(x, y))
           && PostMessageA(hwnd, WM_LBUTTONUP, 0, PointParam(x, y));
}

bool PostKey(HWND hwnd, UINT vk)
{
    const UINT scan = MapVirtualKeyA(vk, MAPVK_VK_TO_VSC);
    const LPARAM down = 1 | (static_cast<LPARAM>(scan) << 16);
    const LPARAM up = down | static_cast<LPARAM>(0xC0000000u); // previous state down, released
    return PostMessageA(hwnd, WM_KEYDOWN, vk, down) && PostMessageA(hwnd, WM_KEYUP, vk, up);
}

RECT ScreenRect(HWND hwnd)
{
    RECT rect = {};
    GetWindowRect(hwnd, &rect);
    return rect;
}

RECT ClientScreenRect(HWND hwnd)
{
    RECT rect = {};
    GetClientRect(hwnd, &rect);
    MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

POINT ScreenCenter(HWND hwnd)
{
    const RECT rect = ScreenRect(hwnd);
    return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

bool WaitForWindowGone(HWND hwnd, unsigned timeoutMs)
{
    return WaitUntil([&] { return !IsWindow(hwnd); }, timeoutMs);
}

bool WaitForText(HWND hwnd, const std::string& text, unsigned timeoutMs)
{
    return WaitUntil(
        [&] {
            const auto current = TryText(hwnd, 500);
            return current && *current == text;
        },
        timeoutMs, 20);
}

} // namespace qs::e2e
