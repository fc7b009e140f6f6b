#include "Clipboard.h"

#include <cstring>

#include "Wait.h"

namespace qs::e2e {

namespace {

constexpr unsigned kOpenTimeoutMs = 2000;

// Holds the clipboard open for one scope; another program may hold it briefly, so opening
// is retried for a bounded time.
class OpenClipboardScope
{
public:
    OpenClipboardScope()
    {
        m_open = WaitUntil([] { return OpenClipboard(nullptr) != FALSE; }, kOpenTimeoutMs);
    }
    ~OpenClipboardScope()
    {
        if (m_open)
            CloseClipboard();
    }
    OpenClipboardScope(const OpenClipboardScope&) = delete;
    OpenClipboardScope& operator=(const OpenClipboardScope&) = delete;
    bool IsOpen() const { return m_open; }

private:
    bool m_open = false;
};

} // namespace

std::optional<std::string> ClipboardText()
{
    OpenClipboardScope clipboard;
    if (!clipboard.IsOpen())
        return std::nullopt;
    HANDLE data = GetClipboardData(CF_TEXT);
    if (!data)
        return std::nullopt;
    const auto* text = static_cast<const char*>(GlobalLock(data));
    if (!text)
        return std::nullopt;
    const size_t capacity = GlobalSize(data);
    std::string result(text, strnlen(text, capacity));
    GlobalUnlock(data);
    return result;
}

std::vector<UINT> ClipboardFormats()
{
    std::vector<UINT> formats;
    OpenClipboardScope clipboard;
    if (!clipboard.IsOpen())
        return formats;
    for (UINT format = EnumClipboardFormats(0); format != 0; format = EnumClipboardFormats(format)) {
        formats.push_back(format);
    }
    return formats;
}

bool ClipboardHasFormat(UINT format)
{
    return IsClipboardFormatAvailable(format) != FALSE;
}

std::string ClipboardFormatName(UINT format)
{
    switch (format) {
    case CF_TEXT:
        return "CF_TEXT";
    case CF_BITMAP:
        return "CF_BITMAP";
    case CF_OEMTEXT:
        return "CF_OEMTEXT";
    case CF_DIB:
        return "CF_DIB";
    case CF_UNICODETEXT:
        return "CF_UNICODETEXT";
    case CF_LOCALE:
        return "CF_LOCALE";
    case CF_HDROP:
        return "CF_HDROP";
    default:
        break;
    }
    char name[256] = {};
    if (GetClipboardFormatNameA(format, name, sizeof name) > 0)
        return name;
    return "#" + std::to_string(format);
}

bool ClearClipboard()
{
    OpenClipboardScope clipboard;
    return clipboard.IsOpen() && EmptyClipboard();
}

bool SetClipboardText(const std::string& text)
{
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    if (!memory)
        return false;
    auto* target = static_cast<char*>(GlobalLock(memory));
    if (!target) {
        GlobalFree(memory);
        return false;
    }
    std::memcpy(target, text.c_str(), text.size() + 1);
    GlobalUnlock(memory);
    OpenClipboardScope clipboard;
    if (!clipboard.IsOpen() || !EmptyClipboard() || !SetClipboardData(CF_TEXT, memory)) {
        GlobalFree(memory);
        return false;
    }
    return true; // the clipboard owns the memory now
}

} // namespace qs::e2e
