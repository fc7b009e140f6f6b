// profile_file.h: a profile (INI) file read and split into sections once (not part of
// compat.h). The parse is portable: the Linux stand-ins answer from it, and so does the
// set-file reader where the system's profile functions would change the file's bytes (see
// profile_reader.h).
//
// How a line reads (as Wine reads it, measured, and as Windows documents it):
//  - lines end at CR or LF; a UTF-8 byte-order mark at the start is skipped;
//  - blanks (space, tab, CR, LF, VT, FF, Ctrl-Z) at both ends are dropped; bytes >= 0x80 are text;
//  - a name, a value or a line's text ends at a NUL byte, as a C string does; a line whose
//    text is empty that way (a NUL at the end of the file) is a blank line;
//  - "[name]" starts a section (up to the last ']', the name trimmed); a '[' without ']' is text;
//  - ";" starts a comment and an empty line is blank; both are left out of every listing,
//    but a comment with "=" in it still answers a look-up of the text before the "=";
//  - "key = value" is an entry, key and value trimmed; any other line is text, listed as it
//    stands; it is a key without a value, which a look-up answers with the default;
//  - lines before the first section belong to a section with an empty name, which no names
//    list shows; "[]" also has an empty name and, coming later, is never reached.
// A repeated section name lists again, but look-ups answer from its first occurrence only, and
// of repeated keys the first answers, even when it has no value.
//
// Under a double-byte code page (Japanese, Chinese, Korean) Windows reads each line as
// characters: a lead byte and the byte after it are one character, so a second byte of 0x5D
// is no ']', and only single-byte letters have another case. LeadBytes says which bytes lead.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace compat_detail {

// The bytes that begin a double-byte character in an ANSI code page; none in a single-byte
// one.
class LeadBytes
{
public:
    LeadBytes() = default;

    // From a code page's lead-byte ranges as CPINFO::LeadByte lists them: pairs of first and
    // last byte, ended by a pair of zeros or by the end of the array.
    LeadBytes(const unsigned char* ranges, size_t size);

    bool IsLead(unsigned char b) const { return (m_bits[b / 32] >> (b % 32)) & 1u; }

    // The length in bytes of the character that starts at text[i]: 2 for a lead byte followed
    // by a byte of 0x40 or more, 1 otherwise. The second bytes of every double-byte code page
    // of Windows lie at 0x40 and above, so a blank, "=", ";", a quote, a line end or a NUL
    // after a lead byte is read as itself: a value that ends in a lead byte keeps its
    // enclosing quotes and its line.
    size_t CharLength(std::string_view text, size_t i) const;

private:
    uint32_t m_bits[8] = {};
};

enum class LineKind { Comment, Entry, Text };

// One line of a section that is not blank and not a section header.
struct ProfileLine
{
    LineKind kind = LineKind::Text;
    bool comment = false;   // starts with ';': never listed, though it may be an entry
    std::string_view name;  // entry key, or the whole text line
    std::string_view value; // entry value
};

struct ProfileSection
{
    std::string_view name;                        // trimmed; "" before any header
    std::vector<ProfileLine> lines;               // in file order
    std::unordered_map<std::string, size_t> keys; // upper-cased key: its first line
};

// The parsed text of one file. Immutable once made, so a copy of the pointer can be used
// without a lock while the cache moves on to another file.
class ProfileFile
{
public:
    explicit ProfileFile(std::string contents, const LeadBytes& leadBytes = LeadBytes());
    ProfileFile(const ProfileFile&) = delete;
    ProfileFile& operator=(const ProfileFile&) = delete;

    // The text the file was parsed from (without a byte-order mark).
    const std::string& Contents() const { return m_contents; }

    // The list of the non-empty section names in file order, each with its NUL.
    const std::string& SectionNames() const { return m_sectionNames; }

    // The first section whose name equals the given one with letter case ignored, or null.
    // The empty name finds the lines before the first header.
    const ProfileSection* FindSection(std::string_view name) const;

    // The line that answers a look-up of the key in the section, letter case ignored, or null.
    const ProfileLine* FindKey(const ProfileSection& section, std::string_view key) const;

private:
    LeadBytes m_leadBytes;
    std::string m_contents; // the views below point into it
    std::vector<ProfileSection> m_sections;
    std::string m_sectionNames;
    std::unordered_map<std::string, size_t> m_firstSection; // upper-cased name: index
};

// The single-byte ASCII letters upper-cased, every other byte as it is.
std::string FoldCase(std::string_view text, const LeadBytes& leadBytes);

// Blanks (space, tab, CR, LF, VT, FF, Ctrl-Z) removed at both ends.
std::string_view TrimBlanks(std::string_view text);

// A UTF-8 byte-order mark at the start removed; the bytes after it are read as they are.
void DropByteOrderMark(std::string& contents);

// The bytes of the file that a profile call names, read afresh, without a byte-order mark;
// empty when it cannot be read (missing, a folder, a pipe or device, or held open by a program
// that shares it with nobody). A name without any folder means the Windows directory (which
// does not exist on Linux).
std::string ReadProfileFileBytes(const char* lpFileName);

#ifndef _WIN32
// The parsed file that a profile call names; an empty file when it cannot be read (missing,
// a folder, a pipe or device). A name without any folder means the Windows directory, which
// does not exist here.
std::shared_ptr<const ProfileFile> LoadProfileFile(const char* lpFileName);

// The most recently used file stays parsed, so that a reader making one call per section pays
// for one parse. It is used again while the file keeps its identity (device, inode),
// size, modification time and change time, all to the nanosecond, and is older than
// kSettleSeconds: a file changed within a clock tick after it was read could keep its times,
// so a young file is read again on every call and its parse reused only when the bytes are
// the same. A change made through the file system always moves the change time, which no
// program can set back, so an old file that was written is noticed.
constexpr int kSettleSeconds = 2;

// Moves the cache's clock forward by `seconds`, as if that much time had passed since every
// read and write so far: files then count as settled without waiting for it.
void AdvanceProfileClock(int seconds);
#endif

} // namespace compat_detail
