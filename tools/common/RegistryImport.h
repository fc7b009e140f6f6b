// The import step: the system registry editor imports a registry file silently.
#pragma once

#include <string>

#include <windows.h>

// Starts the registry editor hidden with `parameters` and does not wait for it. The editor
// is named by its full path in the system's shared Windows directory (the 32-bit system
// folder for a 32-bit tool on 64-bit Windows), so that no "regedit.exe" in the current
// folder, the tool's folder or a user's own Windows folder can stand in for it. Nothing is started when `parameters` is empty or the
// editor's folder is unknown; the shell's answer is not looked at.
void ImportRegistryFile(HWND hwndParent, const std::string& parameters);

// The setup tools' shared sequence: measures the primary screen's width, picks the registry
// file for it and imports that file from `directory` (the tool directory). A width that
// fits no file imports nothing.
void ImportRegistryFileForScreen(HWND hwndParent, const std::string& directory);
