// The clipboard as another program left it.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include <windows.h>

namespace qs::e2e {

// The CF_TEXT content (up to its terminating zero); nothing when absent or the clipboard
// stays busy.
std::optional<std::string> ClipboardText();
// The formats present, in the order the clipboard lists them.
std::vector<UINT> ClipboardFormats();
bool ClipboardHasFormat(UINT format);
// The name of a registered format, or a readable name of a standard one ("CF_TEXT", ...).
std::string ClipboardFormatName(UINT format);

// Empties the clipboard (before a test that expects something to be copied).
bool ClearClipboard();
// Puts `text` on the clipboard as CF_TEXT.
bool SetClipboardText(const std::string& text);

} // namespace qs::e2e
