// The tool directory: the folder in which the setup tools look for the registry files.
#pragma once

#include <string>

// The process's current directory with its trailing backslash, found by resolving the
// relative name "Regpick.exe" (never looked for on disk). Empty when the name cannot be
// resolved or its full path does not fit the 256-character buffer.
std::string GetToolDirectory();
