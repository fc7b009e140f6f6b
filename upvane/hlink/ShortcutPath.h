// The file path of a link's Internet shortcut: the special folder, a backslash, the link's
// text unchanged, a dot and "URL". Portable, so that its limits are tested everywhere.
#pragma once

#include "CString.h"

// Size of the path buffers the shell and the shortcut object use (MAX_PATH), terminator
// included.
inline constexpr int kShortcutPathBufferSize = 260;

// Builds the shortcut path for a link text in a folder. Fails (false, strPath emptied) rather
// than shorten or alter anything when the folder is empty, when the text holds a character
// that would put the file somewhere else than directly in the folder ('\', '/', ':'), or when
// the path and its terminator do not fit kShortcutPathBufferSize characters.
bool MakeShortcutPath(const CString& strFolder, const CString& strLinkText, CString& strPath);
