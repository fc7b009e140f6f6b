// The registry editor's command line for a silent import.
#pragma once

#include <string>

// "/s " followed by the directory and the file name between double quotes, so that a path
// with blanks passes as one argument. Empty when `fileName` is null (nothing to import).
std::string BuildImportParameters(const std::string& directory, const char* fileName);
