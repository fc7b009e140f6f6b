#include "CIniFile.h"

#include "FindHandle.h"

#include <algorithm>
#include <cstring>

namespace {

const char kErrorNameEmpty[] = "FileName empty.";
const char kErrorNotFound[] = "File not founded";
const char kErrorMissingParameters[] = "Missing parameters";

// Profile buffers start at this size and double while the answer says "did not fit".
const DWORD kInitialBufferSize = 1024;

bool IsEmptyText(const char* psz)
{
    return !psz || !*psz;
}

// The name upper-cased the way the runtime's _strupr does it (ASCII letters only).
std::string Fold(const char* psz)
{
    std::string folded(psz ? psz : "");
    _strupr(&folded[0]);
    return folded;
}

// Calls visit(line, length) for each string of a list in buffer[0, size): strings one after
// another, each ending in NUL, the list ending at an empty string or at the buffer's end.
template <typename Visit> void WalkList(const std::vector<char>& buffer, size_t size, Visit visit)
{
    const char* p = buffer.data();
    const char* end = buffer.data() + (size < buffer.size() ? size : buffer.size());
    while (p < end && *p) {
        const char* nul = static_cast<const char*>(std::memchr(p, '\0', static_cast<size_t>(end - p)));
        const size_t length = nul ? static_cast<size_t>(nul - p) : static_cast<size_t>(end - p);
        visit(std::string(p, length));
        p += length + 1;
    }
}

} // namespace

CIniFile::CIniFile()
    : m_profile(ProfileReaderForAnsiCodePage())
{
}

CIniFile::CIniFile(const ProfileReader& profile)
    : m_profile(profile)
{
}

CIniFile::~CIniFile()
{
    Clear();
}

BOOL CIniFile::Open(const char* pszFileName)
{
    if (IsEmptyText(pszFileName)) {
        m_lastError = kErrorNameEmpty;
        return FALSE;
    }

    std::vector<char> fullPath(MAX_PATH, '\0');
    std::vector<char> currentDir(MAX_PATH, '\0');
    const DWORD nFull = ::GetFullPathNameA(pszFileName, MAX_PATH, fullPath.data(), nullptr);
    // An answer of MAX_PATH or more is the size the path would need: nothing was written.
    // It counts as a failed resolution, which is what Wine's ANSI call answers outright for
    // a full path that long, so both platforms take the same road.
    if (nFull == 0 || nFull >= MAX_PATH) {
        fullPath[0] = '\0';
        // Without a full path the current directory stands for it.
        const DWORD nDir = ::GetCurrentDirectoryA(MAX_PATH, currentDir.data());
        if (nDir != 0 && nDir < MAX_PATH)
            std::memcpy(fullPath.data(), currentDir.data(), MAX_PATH);
    }
    fullPath[MAX_PATH - 1] = '\0';
    m_path = fullPath.data();

    if (!FileExists(m_path.c_str())) {
        m_lastError = kErrorNotFound;
        return FALSE;
    }
    return Load();
}

BOOL CIniFile::Load()
{
    Clear();
    // One reading of the file serves every list of this load (on the file's bytes road; the
    // system's functions keep the file they read last).
    const std::unique_ptr<ProfileListing> file = m_profile.ListFile(m_path.c_str());

    // Section names: while the answer is size - 2 the list may have been cut; try larger.
    DWORD namesSize = kInitialBufferSize;
    std::vector<char> names(namesSize, '\0');
    DWORD n = file->SectionNames(names.data(), namesSize);
    while (n == namesSize - 2) {
        namesSize *= 2;
        names.assign(namesSize, '\0');
        n = file->SectionNames(names.data(), namesSize);
    }
    WalkList(names, namesSize, [this](std::string name) {
        auto section = std::make_unique<IniSection>();
        section->name = std::move(name);
        m_sections.push_back(std::move(section));
    });

    // Entry lines: one buffer serves all sections; it only grows. Each section's first call
    // declares 1024 bytes again, however large the buffer has become. Those bytes are cleared
    // first: an answer that writes nothing must not list the previous section's lines again.
    std::vector<char> lines(kInitialBufferSize, '\0');
    for (const auto& section : m_sections) {
        DWORD declared = kInitialBufferSize;
        std::fill_n(lines.begin(), declared, '\0');
        n = file->Section(section->name.c_str(), lines.data(), declared);
        while (n == declared - 2) {
            declared *= 2;
            if (lines.size() < declared)
                lines.assign(declared, '\0');
            n = file->Section(section->name.c_str(), lines.data(), declared);
        }
        WalkList(lines, declared, [&section](const std::string& line) {
            auto entry = std::make_unique<IniEntry>();
            ParseKey(line, entry->key);
            ParseValue(line, entry->value);
            section->entries.push_back(std::move(entry));
        });
    }
    return TRUE;
}

BOOL CIniFile::ParseKey(const std::string& line, std::string& key)
{
    const size_t equals = line.find('=');
    if (equals == std::string::npos) {
        key.clear();
        return FALSE;
    }
    key = line.substr(0, equals);
    return TRUE;
}

BOOL CIniFile::ParseValue(const std::string& line, std::string& value)
{
    const size_t equals = line.find('=');
    if (equals == std::string::npos) {
        value.clear();
        return FALSE;
    }
    value = line.substr(equals + 1);
    return TRUE;
}

void CIniFile::Clear()
{
    m_sections.clear(); // each section frees its entries
}

BOOL CIniFile::FileExists(const char* pszPath)
{
    WIN32_FIND_DATAA findData = {};
    const FindHandle find(::FindFirstFileA(pszPath, &findData));
    return find.IsValid() ? TRUE : FALSE;
}

BOOL CIniFile::HasSection(const char* pszSection)
{
    if (IsEmptyText(pszSection)) {
        m_lastError = kErrorMissingParameters;
        return FALSE;
    }
    const std::string wanted = Fold(pszSection);
    for (const auto& section : m_sections) {
        if (Fold(section->name.c_str()) == wanted)
            return TRUE;
    }
    return FALSE;
}

BOOL CIniFile::HasKey(const char* pszSection, const char* pszKey)
{
    if (IsEmptyText(pszSection) || IsEmptyText(pszKey)) {
        m_lastError = kErrorMissingParameters;
        return FALSE;
    }
    if (!HasSection(pszSection))
        return FALSE;

    // A section name may repeat: every section of that name is searched.
    const std::string wantedSection = Fold(pszSection);
    const std::string wantedKey = Fold(pszKey);
    for (const auto& section : m_sections) {
        if (Fold(section->name.c_str()) != wantedSection)
            continue;
        for (const auto& entry : section->entries) {
            if (Fold(entry->key.c_str()) == wantedKey)
                return TRUE;
        }
    }
    return FALSE;
}

const char* CIniFile::GetValue(const char* pszSection, const char* pszKey, const char* pszDefault)
{
    m_value = pszDefault ? pszDefault : "";
    if (!HasKey(pszSection, pszKey))
        return m_value.c_str();

    // The value is read from the file with the caller's section and key; while the answer is
    // size - 1 it may have been cut, so read again with twice the room.
    DWORD size = kInitialBufferSize;
    std::vector<char> buffer(size, '\0');
    DWORD n = m_profile.String(pszSection, pszKey, pszDefault, buffer.data(), size, m_path.c_str());
    while (n == size - 1) {
        size *= 2;
        buffer.assign(size, '\0');
        n = m_profile.String(pszSection, pszKey, pszDefault, buffer.data(), size, m_path.c_str());
    }
    m_value.assign(buffer.data(), strnlen(buffer.data(), size));
    return m_value.c_str();
}

const char* CIniFile::GetSectionName(int nIndex)
{
    m_value.clear();
    if (m_sections.empty())
        return m_value.c_str();

    const int last = static_cast<int>(m_sections.size()) - 1;
    const int index = nIndex < 0 ? 0 : (nIndex > last ? last : nIndex);
    m_value = m_sections[static_cast<size_t>(index)]->name;
    return m_value.c_str();
}

int CIniFile::GetSectionCount() const
{
    return static_cast<int>(m_sections.size());
}
