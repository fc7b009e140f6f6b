// The three profile (INI) reads. Every call reads the file and walks it once, line by line,
// stopping as soon as it has its answer: linear in the size of the file.
//
// How a line reads (as Wine reads it, measured, and as Windows documents it):
//  - lines end at CR or LF; a UTF-8 byte-order mark at the start is skipped;
//  - blanks (space, tab, CR, LF, VT, FF, Ctrl-Z) at both ends are dropped; bytes >= 0x80 are text;
//  - "[name]" starts a section (up to the last ']', the name trimmed); a '[' without ']' is text;
//  - ";" starts a comment and an empty line is blank; both are left out of every listing,
//    but a comment with "=" in it still answers a look-up of the text before the "=";
//  - "key = value" is an entry, key and value trimmed; any other line is text, listed as it
//    stands but never a key;
//  - lines before the first section belong to a section with an empty name, which no names
//    list shows; "[]" also has an empty name and, coming later, is never reached.
// A repeated section name lists again, but look-ups answer from its first occurrence only, and
// of repeated keys the first answers.
#include "compat.h"
#include "path_tools.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

namespace {

using compat_detail::EqualNoCase;

struct FileCloser
{
    void operator()(std::FILE* file) const { std::fclose(file); }
};

enum class LineKind { Blank, Comment, Section, Entry, Text };

struct IniLine
{
    LineKind kind = LineKind::Blank;
    bool comment = false;    // starts with ';': never listed
    std::string_view name;   // section name, entry key, or the whole text line
    std::string_view value;  // entry value
};

bool IsBlank(char ch)
{
    return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n' || ch == '\v' || ch == '\f' || ch == '\x1a';
}

std::string_view Trim(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

IniLine ClassifyLine(std::string_view raw)
{
    IniLine line;
    const std::string_view text = Trim(raw);
    if (text.empty())
        return line;
    line.comment = text.front() == ';';
    if (text.front() == '[') {
        const size_t close = text.rfind(']');
        if (close != std::string_view::npos && close > 0) {
            line.kind = LineKind::Section;
            line.name = Trim(text.substr(1, close - 1));
            return line;
        }
    }
    const size_t equals = text.find('=');
    if (equals == std::string_view::npos) {
        line.kind = line.comment ? LineKind::Comment : LineKind::Text;
        line.name = text;
        return line;
    }
    line.kind = LineKind::Entry;
    line.name = Trim(text.substr(0, equals));
    line.value = Trim(text.substr(equals + 1));
    return line;
}

// The text of a profile file, or nothing when it cannot be read. A name without a folder
// means a file in the Windows directory, which this system does not have.
std::string ReadProfileFile(LPCSTR lpFileName)
{
    std::string contents;
    if (!lpFileName || !*lpFileName)
        return contents;
    std::string path(lpFileName);
    if (path.find_first_of("/\\") == std::string::npos)
        return contents;
    for (char& ch : path) {
        if (ch == '\\')
            ch = '/';
    }

    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(compat_detail::ResolveNoCase(path).c_str(), "rb"));
    if (!file)
        return contents;
    char chunk[16384];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, file.get())) > 0)
        contents.append(chunk, got);

    const std::string_view utf8Mark = "\xEF\xBB\xBF";
    if (contents.compare(0, utf8Mark.size(), utf8Mark) == 0)
        contents.erase(0, utf8Mark.size());
    return contents;
}

// Calls visit(line) for every line in file order; visit returns false to stop the walk.
template <typename Visit>
void WalkLines(std::string_view contents, Visit visit)
{
    size_t start = 0;
    while (start <= contents.size()) {
        size_t end = contents.find_first_of("\r\n", start);
        if (end == std::string_view::npos)
            end = contents.size();
        if (!visit(ClassifyLine(contents.substr(start, end - start))))
            return;
        start = end + 1;
    }
}

// Calls visit(line) for the lines of the first section named like sectionName (letter case
// ignored). The lines before the first header are that first section when the name is empty.
template <typename Visit>
void WalkSection(std::string_view contents, std::string_view sectionName, Visit visit)
{
    bool inside = sectionName.empty();
    WalkLines(contents, [&](const IniLine& line) {
        if (line.kind == LineKind::Section) {
            if (inside)
                return false;  // the first matching section has ended
            inside = EqualNoCase(line.name, sectionName);
            return true;
        }
        return !inside || visit(line);
    });
}

// Copies a list (strings each followed by a NUL) and closes it with one more NUL. A list that
// does not fit is cut so that two NULs end the buffer, and the answer is size - 2.
DWORD CopyList(const std::string& list, LPSTR buffer, DWORD size)
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
        if (list.empty())
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

std::string SectionNamesList(std::string_view contents)
{
    std::string list;
    WalkLines(contents, [&list](const IniLine& line) {
        if (line.kind == LineKind::Section && !line.name.empty())
            AppendToList(list, line.name);
        return true;
    });
    return list;
}

std::string SectionKeysList(std::string_view contents, std::string_view sectionName)
{
    std::string list;
    WalkSection(contents, Trim(sectionName), [&list](const IniLine& line) {
        if (line.kind == LineKind::Entry && !line.comment)
            AppendToList(list, line.name);
        return true;
    });
    return list;
}

}  // namespace

DWORD GetPrivateProfileSectionNamesA(LPSTR lpszReturnBuffer, DWORD nSize, LPCSTR lpFileName)
{
    if (!lpszReturnBuffer || nSize == 0)
        return 0;
    return CopyList(SectionNamesList(ReadProfileFile(lpFileName)), lpszReturnBuffer, nSize);
}

DWORD GetPrivateProfileSectionA(LPCSTR lpAppName, LPSTR lpReturnedString, DWORD nSize, LPCSTR lpFileName)
{
    if (!lpAppName || !lpReturnedString || nSize == 0)
        return 0;
    const std::string contents = ReadProfileFile(lpFileName);
    std::string list;
    // The name is compared as given, not trimmed (unlike the look-up of one value).
    WalkSection(contents, lpAppName, [&list](const IniLine& line) {
        if (line.comment)
            return true;
        if (line.kind == LineKind::Entry) {
            list.append(line.name.data(), line.name.size());
            list += '=';
            AppendToList(list, line.value);
        } else if (line.kind == LineKind::Text) {
            AppendToList(list, line.name);
        }
        return true;
    });
    return CopyList(list, lpReturnedString, nSize);
}

DWORD GetPrivateProfileStringA(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpDefault,
                               LPSTR lpReturnedString, DWORD nSize, LPCSTR lpFileName)
{
    if (!lpReturnedString || nSize == 0)
        return 0;
    const std::string contents = ReadProfileFile(lpFileName);
    if (!lpAppName)
        return CopyList(SectionNamesList(contents), lpReturnedString, nSize);
    if (!lpKeyName)
        return CopyList(SectionKeysList(contents, lpAppName), lpReturnedString, nSize);

    const std::string_view key = Trim(lpKeyName);
    bool found = false;
    std::string_view value;
    WalkSection(contents, Trim(lpAppName), [&](const IniLine& line) {
        if (line.kind == LineKind::Entry && EqualNoCase(line.name, key)) {
            found = true;
            value = line.value;
            return false;
        }
        return true;
    });
    if (found)
        return CopyValue(StripQuotes(value), lpReturnedString, nSize);

    // The default loses its trailing blanks (one blank stays of a default made only of them)
    // and, like a value, a matching pair of quotes.
    std::string_view fallback = lpDefault ? lpDefault : "";
    while (fallback.size() > 1 && fallback.back() == ' ')
        fallback.remove_suffix(1);
    return CopyValue(StripQuotes(fallback), lpReturnedString, nSize);
}
