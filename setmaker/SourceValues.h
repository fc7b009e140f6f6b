// The plain values a vendor gives: the section "information" of a plain INI file, read through
// the suite's own reader (so blanks around a value are dropped and a pair of quotes around it
// is stripped, as with any INI file), and KEY=VALUE arguments.
#pragma once

#include "SetFileText.h"

#include <string>
#include <vector>

struct SourceReading
{
    bool m_bOpened = false;
    std::string m_strError; // why the file could not be read
    SetFileValueSet m_values;
    std::vector<std::string> m_warnings; // unknown or repeated keys, no section
};

// Reads the nine keys of the section "information" of a plain INI file.
SourceReading ReadSourceValues(const std::string& strPath);

// Sets one value from "key=value" (key in any letter case; the value as it stands, blanks and
// quotes kept). False, with the reason, for an argument without "=" or with an unknown key.
bool ApplyKeyValueArgument(const std::string& strArgument, SetFileValueSet& values, std::string& strError);
