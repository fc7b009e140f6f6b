// The registry editor's command line for a silent import: which editor, and its parameters.
#pragma once

#include <string>

// "/s " followed by the directory and the file name between double quotes, so that a path
// with blanks passes as one argument. Empty when `fileName` is null (nothing to import).
std::string BuildImportParameters(const std::string& directory, const char* fileName);

// The registry editor to start: "regedit.exe" in `windowsDir` (the shared Windows directory),
// or, for a 32-bit tool on 64-bit Windows, in `wow64SystemDir` (the 32-bit system folder).
// The editor asks for elevation, and a program started with elevation is not redirected to
// the 32-bit folder: from the Windows directory the 64-bit editor would import the file into
// the 64-bit registry view, where the 32-bit application never reads it. Empty text when the
// folder it needs is unknown (empty): nothing is then started.
std::string ChooseRegistryEditor(bool is32BitOn64BitWindows, const std::string& windowsDir,
                                 const std::string& wow64SystemDir);
