// The two roads of the profile reads, and the choice between them by the ANSI code page.
#include "profile_reader.h"

#include "profile_answers.h"

namespace {

using compat_detail::LeadBytes;
using compat_detail::ProfileFile;

// The lead bytes of the code page; none when the system does not know it.
LeadBytes LeadBytesOf(UINT codePage)
{
    CPINFO info = {};
    if (!::GetCPInfo(codePage, &info))
        return LeadBytes();
    return LeadBytes(info.LeadByte, MAX_LEADBYTES);
}

class SystemListing final : public ProfileListing
{
public:
    explicit SystemListing(LPCSTR lpFileName)
        : m_fileName(lpFileName)
    {
    }
    DWORD SectionNames(LPSTR lpszReturnBuffer, DWORD nSize) const override
    {
        return ::GetPrivateProfileSectionNamesA(lpszReturnBuffer, nSize, m_fileName);
    }
    DWORD Section(LPCSTR lpAppName, LPSTR lpReturnedString, DWORD nSize) const override
    {
        return ::GetPrivateProfileSectionA(lpAppName, lpReturnedString, nSize, m_fileName);
    }

private:
    LPCSTR m_fileName; // the caller's, which outlives the listing
};

class SystemReader final : public ProfileReader
{
public:
    DWORD SectionNames(LPSTR lpszReturnBuffer, DWORD nSize, LPCSTR lpFileName) const override
    {
        return ::GetPrivateProfileSectionNamesA(lpszReturnBuffer, nSize, lpFileName);
    }
    DWORD Section(LPCSTR lpAppName, LPSTR lpReturnedString, DWORD nSize, LPCSTR lpFileName) const override
    {
        return ::GetPrivateProfileSectionA(lpAppName, lpReturnedString, nSize, lpFileName);
    }
    DWORD String(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpDefault, LPSTR lpReturnedString, DWORD nSize,
                 LPCSTR lpFileName) const override
    {
        return ::GetPrivateProfileStringA(lpAppName, lpKeyName, lpDefault, lpReturnedString, nSize,
                                          lpFileName);
    }
    std::unique_ptr<ProfileListing> ListFile(LPCSTR lpFileName) const override
    {
        return std::make_unique<SystemListing>(lpFileName);
    }
};

class ParsedListing final : public ProfileListing
{
public:
    ParsedListing(std::string contents, const LeadBytes& leadBytes)
        : m_file(std::move(contents), leadBytes)
    {
    }
    DWORD SectionNames(LPSTR lpszReturnBuffer, DWORD nSize) const override
    {
        return compat_detail::AnswerSectionNames(m_file, lpszReturnBuffer, nSize);
    }
    DWORD Section(LPCSTR lpAppName, LPSTR lpReturnedString, DWORD nSize) const override
    {
        return compat_detail::AnswerSection(m_file, lpAppName, lpReturnedString, nSize);
    }

private:
    const ProfileFile m_file;
};

// Stateless: made at compile time, so no guarded initialisation at run time.
constexpr SystemReader kSystemReader{};
constexpr FileBytesReader kFileBytesReader{CP_ACP};

} // namespace

// Each call reads the file as it is then, as the system's functions do.
DWORD FileBytesReader::SectionNames(LPSTR lpszReturnBuffer, DWORD nSize, LPCSTR lpFileName) const
{
    return ListFile(lpFileName)->SectionNames(lpszReturnBuffer, nSize);
}

DWORD FileBytesReader::Section(LPCSTR lpAppName, LPSTR lpReturnedString, DWORD nSize, LPCSTR lpFileName) const
{
    return ListFile(lpFileName)->Section(lpAppName, lpReturnedString, nSize);
}

DWORD FileBytesReader::String(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpDefault, LPSTR lpReturnedString,
                              DWORD nSize, LPCSTR lpFileName) const
{
    const ProfileFile file(compat_detail::ReadProfileFileBytes(lpFileName), LeadBytesOf(m_codePage));
    return compat_detail::AnswerString(file, lpAppName, lpKeyName, lpDefault, lpReturnedString, nSize);
}

std::unique_ptr<ProfileListing> FileBytesReader::ListFile(LPCSTR lpFileName) const
{
    return std::make_unique<ParsedListing>(compat_detail::ReadProfileFileBytes(lpFileName),
                                           LeadBytesOf(m_codePage));
}

const ProfileReader& SystemProfileReader()
{
    return kSystemReader;
}

const ProfileReader& FileBytesProfileReader()
{
    return kFileBytesReader;
}

const ProfileReader& ProfileReaderForCharSize(UINT maxCharSize)
{
    return maxCharSize > 1 ? FileBytesProfileReader() : SystemProfileReader();
}

const ProfileReader& ProfileReaderForAnsiCodePage()
{
    CPINFO info = {};
    return ProfileReaderForCharSize(::GetCPInfo(CP_ACP, &info) ? info.MaxCharSize : 1);
}
