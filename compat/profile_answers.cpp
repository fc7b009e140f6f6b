// The answers of the three profile (INI) reads, taken from a parsed file. A call costs a
// look-up in the parsed file and the copy of its answer.
#include "profile_answers.h"

#include <cstring>
#include <string>
#include <string_view>

namespace compat_detail {

namespace {

// How an empty list is written: the section names and the keys as one NUL, a section's lines
// as two (what Windows and Wine write; the names of a missing file leave the second byte as it
// was).
enum class EmptyList { OneNul, TwoNuls };

// Copies a list (strings each followed by a NUL) and closes it with one more NUL. A list that
// does not fit is cut so that two NULs end the buffer, and the answer is size - 2.
DWORD CopyList(std::string_view list, LPSTR buffer, DWORD size, EmptyList empty = EmptyList::OneNul)
{
    if (!buffer || size == 0)
        return 0;
    if (size == 1) {
        buffer[0] = '\0';
        return 0;
    }
    if (list.size() <= size - 2) {
        std::memcpy(buffer, list.data(), list.size());
        buffer[list.size()] = '\0';
        if (list.empty() && empty == EmptyList::TwoNuls)
            buffer[1] = '\0';
        return static_cast<DWORD>(list.size());
    }
    std::memcpy(buffer, list.data(), size - 2);
    buffer[size - 2] = '\0';
    buffer[size - 1] = '\0';
    return size - 2;
}

// Copies one text, cut to size - 1 characters, NUL-terminated; answers the characters copied.
DWORD CopyValue(std::string_view text, LPSTR buffer, DWORD size)
{
    if (!buffer || size == 0)
        return 0;
    const size_t count = text.size() < size - 1 ? text.size() : size - 1;
    std::memcpy(buffer, text.data(), count);
    buffer[count] = '\0';
    return static_cast<DWORD>(count);
}

// A value enclosed in a matching pair of double or single quotes loses them.
std::string_view StripQuotes(std::string_view value)
{
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

void AppendToList(std::string& list, std::string_view item)
{
    list.append(item.data(), item.size());
    list += '\0';
}

// The keys of a section's entries, comments left out.
std::string KeysList(const ProfileSection* section)
{
    std::string list;
    if (!section)
        return list;
    for (const auto& line : section->lines) {
        if (line.kind == LineKind::Entry && !line.comment)
            AppendToList(list, line.name);
    }
    return list;
}

// A section's lines as listed: "key=value" for entries, text lines as they stand.
std::string LinesList(const ProfileSection* section)
{
    std::string list;
    if (!section)
        return list;
    for (const auto& line : section->lines) {
        if (line.comment)
            continue;
        if (line.kind == LineKind::Entry) {
            list.append(line.name.data(), line.name.size());
            list += '=';
            AppendToList(list, line.value);
        } else if (line.kind == LineKind::Text) {
            AppendToList(list, line.name);
        }
    }
    return list;
}

} // namespace

DWORD AnswerSectionNames(const ProfileFile& file, LPSTR lpszReturnBuffer, DWORD nSize)
{
    if (!lpszReturnBuffer || nSize == 0)
        return 0;
    return CopyList(file.SectionNames(), lpszReturnBuffer, nSize);
}

DWORD AnswerSection(const ProfileFile& file, LPCSTR lpAppName, LPSTR lpReturnedString, DWORD nSize)
{
    if (!lpAppName || !lpReturnedString || nSize == 0)
        return 0;
    // The name is compared as given, not trimmed (unlike the look-up of one value).
    return CopyList(LinesList(file.FindSection(lpAppName)), lpReturnedString, nSize, EmptyList::TwoNuls);
}

DWORD AnswerString(const ProfileFile& file, LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpDefault,
                   LPSTR lpReturnedString, DWORD nSize)
{
    if (!lpReturnedString || nSize == 0)
        return 0;
    if (!lpAppName)
        return CopyList(file.SectionNames(), lpReturnedString, nSize);
    const ProfileSection* section = file.FindSection(TrimBlanks(lpAppName));
    if (!lpKeyName)
        return CopyList(KeysList(section), lpReturnedString, nSize);

    // The first line of the key answers; a key without a value answers the default.
    const ProfileLine* line = section ? file.FindKey(*section, TrimBlanks(lpKeyName)) : nullptr;
    if (line && line->kind == LineKind::Entry)
        return CopyValue(StripQuotes(line->value), lpReturnedString, nSize);

    // The default loses its trailing blanks (one blank stays of a default made only of them)
    // and, like a value, a matching pair of quotes.
    std::string_view fallback = lpDefault ? lpDefault : "";
    while (fallback.size() > 1 && fallback.back() == ' ')
        fallback.remove_suffix(1);
    return CopyValue(StripQuotes(fallback), lpReturnedString, nSize);
}

} // namespace compat_detail
