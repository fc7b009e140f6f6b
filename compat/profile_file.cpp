// Parsing a profile file: portable, the same on every platform (reading the file is the
// platform's part: profile_cache.cpp here, win32/profile_file_win32.cpp on Windows).
#include "profile_file.h"
#include "profile_blanks.h"

namespace compat_detail {

namespace {

bool IsBlank(char ch)
{
    return IsProfileBlank(static_cast<unsigned char>(ch));
}

// The text up to its first NUL byte.
std::string_view UpToNul(std::string_view text)
{
    return text.substr(0, text.find('\0'));
}

// Where the last ']' of the text stands that is a character of its own (not the second byte
// of a double-byte character), or npos.
size_t LastCloseBracket(std::string_view text, const LeadBytes& leadBytes)
{
    size_t close = std::string_view::npos;
    for (size_t i = 0; i < text.size(); i += leadBytes.CharLength(text, i)) {
        if (text[i] == ']')
            close = i;
    }
    return close;
}

enum class Shape { Blank, Header, Line };

// Sorts one raw line; a header gives its name in line.name. The bytes "=", ";", '[' at the
// start and the blanks are never the second byte of a double-byte character (see
// LeadBytes::CharLength), so only ']' needs the code page.
Shape ClassifyLine(std::string_view raw, const LeadBytes& leadBytes, ProfileLine& line)
{
    const std::string_view text = TrimBlanks(raw);
    if (text.empty())
        return Shape::Blank;
    line.comment = text.front() == ';';
    if (text.front() == '[') {
        const size_t close = LastCloseBracket(text, leadBytes);
        if (close != std::string_view::npos && close > 0) {
            line.name = UpToNul(TrimBlanks(text.substr(1, close - 1)));
            return Shape::Header;
        }
    }
    const size_t equals = text.find('=');
    if (equals == std::string_view::npos) {
        line.kind = line.comment ? LineKind::Comment : LineKind::Text;
        line.name = UpToNul(text);
        return line.name.empty() ? Shape::Blank : Shape::Line;
    }
    line.kind = LineKind::Entry;
    line.name = UpToNul(TrimBlanks(text.substr(0, equals)));
    line.value = UpToNul(TrimBlanks(text.substr(equals + 1)));
    return Shape::Line;
}

} // namespace

LeadBytes::LeadBytes(const unsigned char* ranges, size_t size)
{
    for (size_t i = 0; i + 1 < size && ranges[i] != 0; i += 2) {
        for (unsigned b = ranges[i]; b <= ranges[i + 1]; ++b)
            m_bits[b / 32] |= 1u << (b % 32);
    }
}

size_t LeadBytes::CharLength(std::string_view text, size_t i) const
{
    const bool pair = IsLead(static_cast<unsigned char>(text[i])) && i + 1 < text.size()
                      && static_cast<unsigned char>(text[i + 1]) >= 0x40;
    return pair ? 2 : 1;
}

std::string FoldCase(std::string_view text, const LeadBytes& leadBytes)
{
    std::string folded(text);
    for (size_t i = 0; i < folded.size(); i += leadBytes.CharLength(folded, i)) {
        char& ch = folded[i];
        if (ch >= 'a' && ch <= 'z' && leadBytes.CharLength(folded, i) == 1)
            ch = static_cast<char>(ch - 'a' + 'A');
    }
    return folded;
}

void DropByteOrderMark(std::string& contents)
{
    const std::string_view utf8Mark = "\xEF\xBB\xBF";
    if (contents.compare(0, utf8Mark.size(), utf8Mark) == 0)
        contents.erase(0, utf8Mark.size());
}

std::string_view TrimBlanks(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

ProfileFile::ProfileFile(std::string contents, const LeadBytes& leadBytes)
    : m_leadBytes(leadBytes),
      m_contents(std::move(contents))
{
    const std::string_view text = m_contents;
    m_sections.emplace_back(); // the lines before the first header
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos)
            end = text.size();
        ProfileLine line;
        const Shape shape = ClassifyLine(text.substr(start, end - start), m_leadBytes, line);
        if (shape == Shape::Header) {
            m_sections.emplace_back();
            m_sections.back().name = line.name;
            if (!line.name.empty()) {
                m_sectionNames.append(line.name.data(), line.name.size());
                m_sectionNames += '\0';
            }
        } else if (shape == Shape::Line) {
            // A line without "=" is a key as well, one without a value: it hides a later
            // key of that name.
            ProfileSection& section = m_sections.back();
            section.keys.emplace(FoldCase(line.name, m_leadBytes), section.lines.size());
            section.lines.push_back(line);
        }
        start = end + 1;
    }
    for (size_t i = 0; i < m_sections.size(); ++i)
        m_firstSection.emplace(FoldCase(m_sections[i].name, m_leadBytes), i);
}

const ProfileSection* ProfileFile::FindSection(std::string_view name) const
{
    const auto found = m_firstSection.find(FoldCase(name, m_leadBytes));
    return found == m_firstSection.end() ? nullptr : &m_sections[found->second];
}

const ProfileLine* ProfileFile::FindKey(const ProfileSection& section, std::string_view key) const
{
    const auto found = section.keys.find(FoldCase(key, m_leadBytes));
    return found == section.keys.end() ? nullptr : &section.lines[found->second];
}

} // namespace compat_detail
