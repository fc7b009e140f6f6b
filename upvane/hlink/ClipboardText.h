// Text on the clipboard: the one format the links offer.
#pragma once

#include <windows.h>

#include "CString.h"

// Replaces the clipboard's content with strText as CF_TEXT, the window hWndOwner becoming the
// clipboard's owner. When the clipboard cannot be opened or the memory cannot be allocated or
// locked, the clipboard is closed and left as it was; the answer is then FALSE.
BOOL PutClipboardText(HWND hWndOwner, const CString& strText);
