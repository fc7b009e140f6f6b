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

enum class Shape { Blank, Header, Line };

// Sorts one raw line; a header gives its name in line.name.
Shape ClassifyLine(std::string_view raw, ProfileLine& line)
{
    const std::string_view text = TrimBlanks(raw);
    if (text.empty())
        return Shape::Blank;
    line.comment = text.front() == ';';
    if (text.front() == '[') {
        const size_t close = text.rfind(']');
        if (close != std::string_view::npos && close > 0) {
            line.name = TrimBlanks(text.substr(1, close - 1));
            return Shape::Header;
        }
    }
    const size_t equals = text.find('=');
    if (equals == std::string_view::npos) {
        line.kind = line.comment ? LineKind::Comment : LineKind::Text;
        line.name = text;
        return Shape::Line;
    }
    line.kind = LineKind::Entry;
    line.name = TrimBlanks(text.substr(0, equals));
    line.value = TrimBlanks(text.substr(equals + 1));
    return Shape::Line;
}

} // namespace

std::string FoldCase(std::string_view text)
{
    std::string folded(text);
    for (char& ch : folded) {
        if (ch >= 'a' && ch <= 'z')
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

ProfileFile::ProfileFile(std::string contents)
    : m_contents(std::move(contents))
{
    const std::string_view text = m_contents;
    m_sections.emplace_back(); // the lines before the first header
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos)
            end = text.size();
        ProfileLine line;
        const Shape shape = ClassifyLine(text.substr(start, end - start), line);
        if (shape == Shape::Header) {
            m_sections.emplace_back();
            m_sections.back().name = line.name;
            if (!line.name.empty()) {
                m_sectionNames.append(line.name.data(), line.name.size());
                m_sectionNames += '\0';
            }
        } else if (shape == Shape::Line) {
            ProfileSection& section = m_sections.back();
            if (line.kind == LineKind::Entry)
                section.values.emplace(FoldCase(line.name), line.value);
            section.lines.push_back(line);
        }
        start = end + 1;
    }
    for (size_t i = 0; i < m_sections.size(); ++i)
        m_firstSection.emplace(FoldCase(m_sections[i].name), i);
}

const ProfileSection* ProfileFile::FindSection(std::string_view name) const
{
    const auto found = m_firstSection.find(FoldCase(name));
    return found == m_firstSection.end() ? nullptr : &m_sections[found->second];
}

} // namespace compat_detail
