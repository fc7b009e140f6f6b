// profile_reader.h: the three profile reads the set-file reader makes, by one of two roads
// (not part of compat.h).
//
// The system's profile functions read an ANSI file through the ANSI code page into Unicode
// and back. Under a single-byte code page that gives every byte back as it stands. Under a
// multi-byte one (Japanese, Chinese, Korean, UTF-8) it does not: a byte pair that is no
// character of that code page comes back as another character, and a scrambled set-file value
// is bytes, not text. There the answers are taken from the file's own bytes instead, by the
// rules those functions apply (profile_file.h, profile_answers.h): the same sections, lines,
// comments, blanks, quotes, letter case, double-byte characters and first of two equal keys,
// every byte kept.
#pragma once

#include "compat.h"

#include <memory>

// The two lists of one file that a load asks for, answered as SectionNames and Section of the
// reader that made it answer them.
class ProfileListing
{
public:
    virtual ~ProfileListing() = default;
    virtual DWORD SectionNames(LPSTR lpszReturnBuffer, DWORD nSize) const = 0;
    virtual DWORD Section(LPCSTR lpAppName, LPSTR lpReturnedString, DWORD nSize) const = 0;
};

class ProfileReader
{
public:
    // GetPrivateProfileSectionNamesA, GetPrivateProfileSectionA and GetPrivateProfileStringA,
    // with their arguments, buffer rules and answers. Each call reads the file as it is then.
    virtual DWORD SectionNames(LPSTR lpszReturnBuffer, DWORD nSize, LPCSTR lpFileName) const = 0;
    virtual DWORD Section(LPCSTR lpAppName, LPSTR lpReturnedString, DWORD nSize, LPCSTR lpFileName) const = 0;
    virtual DWORD String(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpDefault, LPSTR lpReturnedString,
                         DWORD nSize, LPCSTR lpFileName) const = 0;

    // The lists of the file for one load of all its sections. The file's bytes are read and
    // parsed once, here, and every list of the load is answered from that parse: one read per
    // list would make a load cost sections times file size. The system's road asks the
    // system's functions on each call; they keep the file they read last.
    virtual std::unique_ptr<ProfileListing> ListFile(LPCSTR lpFileName) const = 0;

protected:
    ProfileReader() = default;
    ~ProfileReader() = default; // the readers below live as long as the program
};

// The file's bytes, read and answered by this project's own rules, with the double-byte
// characters of a code page: CP_ACP means this process's ANSI code page, asked on every read.
class FileBytesReader final : public ProfileReader
{
public:
    constexpr explicit FileBytesReader(UINT codePage)
        : m_codePage(codePage)
    {
    }

    DWORD SectionNames(LPSTR lpszReturnBuffer, DWORD nSize, LPCSTR lpFileName) const override;
    DWORD Section(LPCSTR lpAppName, LPSTR lpReturnedString, DWORD nSize, LPCSTR lpFileName) const override;
    DWORD String(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpDefault, LPSTR lpReturnedString, DWORD nSize,
                 LPCSTR lpFileName) const override;
    std::unique_ptr<ProfileListing> ListFile(LPCSTR lpFileName) const override;

private:
    UINT m_codePage;
};

// The system's profile functions (the stand-ins of compat.h on Linux).
const ProfileReader& SystemProfileReader();

// The file's bytes under this process's ANSI code page.
const ProfileReader& FileBytesProfileReader();

// The road for an ANSI code page whose characters take at most maxCharSize bytes: the
// system's functions for a single-byte page, the file's bytes for any other.
const ProfileReader& ProfileReaderForCharSize(UINT maxCharSize);

// The road for this process's ANSI code page (GetCPInfo(CP_ACP)).
const ProfileReader& ProfileReaderForAnsiCodePage();
