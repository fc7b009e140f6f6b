// CIniFile: reads an INI-format file (the set file) into memory through the profile reads and
// answers look-ups by section and key, letter case ignored.
// The loaded copy is an index: it decides whether a section or key exists. A value is read
// again from the file, by the caller's section and key, when it is asked for.
// The profile reads are the system's profile functions under a single-byte ANSI code page;
// under a multi-byte one, where those would change the file's bytes, the reader applies their
// rules to the file's bytes itself (profile_reader.h). The road is chosen at construction.
#pragma once

#include "compat.h"
#include "profile_reader.h"

#include <memory>
#include <string>
#include <vector>

// One entry line of a section, split at its first '='.
struct IniEntry
{
    std::string key;   // text before the first '=' (empty for a line without one)
    std::string value; // text after the first '=' as it stood when the file was loaded
};

// One section: its name as the section-names list gives it and its lines in listed order.
struct IniSection
{
    std::vector<std::unique_ptr<IniEntry>> entries;
    std::string name;
};

class CIniFile
{
    // Data members
private:
    std::string m_path;                                  // full path of the open file
    std::vector<std::unique_ptr<IniSection>> m_sections; // loaded sections, in listed order
    std::string m_value;                                 // result text of GetValue/GetSectionName
    std::string m_lastError;                             // text of the latest failure
    const ProfileReader& m_profile;                      // the road of every profile read

    // Construction
public:
    // Reads by the road this process's ANSI code page needs.
    CIniFile();
    explicit CIniFile(const ProfileReader& profile);
    virtual ~CIniFile();
    CIniFile(const CIniFile&) = delete;
    CIniFile& operator=(const CIniFile&) = delete;

    // Operations
    // Resolves the name against the current directory and loads the file. FALSE (with the
    // loaded copy kept) for an empty name or a file that does not exist.
    BOOL Open(const char* pszFileName);

    int GetSectionCount() const;

    // Name of the section at the index, clamped into range; empty text without sections.
    // The text stays valid until the next GetSectionName or GetValue.
    const char* GetSectionName(int nIndex);

    // The value of the key, read from the file now, or a copy of the default when the
    // section or key is not in the loaded copy. Valid until the next GetSectionName/GetValue.
    const char* GetValue(const char* pszSection, const char* pszKey, const char* pszDefault);

    BOOL HasSection(const char* pszSection);
    BOOL HasKey(const char* pszSection, const char* pszKey);

    // Text of the latest failure ("" until one happens); success does not clear it.
    const char* GetLastErrorText() const { return m_lastError.c_str(); }

    // Implementation
private:
    BOOL Load();
    void Clear();
    static BOOL FileExists(const char* pszPath);
    static BOOL ParseKey(const std::string& line, std::string& key);
    static BOOL ParseValue(const std::string& line, std::string& value);
};
