// The start of the main application, Quillory.
#pragma once

#include <string>

#include <windows.h>

// Has the shell open "Quillory.exe" (found by the shell's own search) with no parameters,
// `directory` as its working directory (empty text when the tool directory is unknown)
// and the default show state. Does not wait; the shell's answer is not looked at.
void StartMainApplication(HWND hwndParent, const std::string& directory);
