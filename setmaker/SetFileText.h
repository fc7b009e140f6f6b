// The set file as the tool writes it and as Upvane reads it.
#pragma once

#include "CString.h"
#include "SetFileValues.h"

#include <array>
#include <optional>
#include <string>

// Plain (descrambled) values by key; a key without a value is absent.
using SetFileValueSet = std::array<std::optional<CString>, keyCount>;

// The index of a key in kSetFileKeys, letter case ignored as the reader ignores it; -1 for none.
int FindSetFileKey(const std::string& strName);

// The bytes of a set file: a comment, the section and one line per present value, scrambled
// and written as WrittenStoredValue says, lines ended by CR LF. No check: whether each value
// survives the reader is FindValueProblems'.
std::string ComposeSetFileText(const SetFileValueSet& values);

// A set file read the way Upvane reads it: CIniFile::Open, then for every key
// GetValue("information", key, "") copied and descrambled. A key the reader does not have is
// absent (Upvane shows it empty).
struct SetFileReading
{
    bool m_bOpened = false;
    std::string m_strError;     // why it could not be opened
    bool m_bHasSection = false; // the section "information" is there
    SetFileValueSet m_values;
};
// strPath: a full path (Windows looks for a bare name in its own folder).
SetFileReading ReadSetFileAsUpvane(const std::string& strPath);

// Why a file could not be opened by the reader.
extern const char kNoSuchFile[];
