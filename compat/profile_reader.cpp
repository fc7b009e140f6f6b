// The two roads of the profile reads, and the choice between them by the ANSI code page.
#include "profile_reader.h"

#include "profile_answers.h"

namespace {

// Answers from the parsed file that the name names: read afresh on Windows, kept parsed while
// unchanged by the Linux stand-ins' cache (profile_file.h).
template <typename Answer> DWORD AnswerFromFile(LPCSTR lpFileName, Answer answer)
{
#ifdef _WIN32
    const compat_detail::ProfileFile file(compat_detail::ReadProfileFileBytes(lpFileName));
    return answer(file);
#else
    return answer(*compat_detail::LoadProfileFile(lpFileName));
#endif
}

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
};

// Each call reads the file as it is then, as the system's functions do.
class FileBytesReader final : public ProfileReader
{
public:
    DWORD SectionNames(LPSTR lpszReturnBuffer, DWORD nSize, LPCSTR lpFileName) const override
    {
        return AnswerFromFile(lpFileName, [&](const compat_detail::ProfileFile& file) {
            return compat_detail::AnswerSectionNames(file, lpszReturnBuffer, nSize);
        });
    }
    DWORD Section(LPCSTR lpAppName, LPSTR lpReturnedString, DWORD nSize, LPCSTR lpFileName) const override
    {
        return AnswerFromFile(lpFileName, [&](const compat_detail::ProfileFile& file) {
            return compat_detail::AnswerSection(file, lpAppName, lpReturnedString, nSize);
        });
    }
    DWORD String(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpDefault, LPSTR lpReturnedString, DWORD nSize,
                 LPCSTR lpFileName) const override
    {
        return AnswerFromFile(lpFileName, [&](const compat_detail::ProfileFile& file) {
            return compat_detail::AnswerString(file, lpAppName, lpKeyName, lpDefault, lpReturnedString,
                                               nSize);
        });
    }
};

// Stateless: made at compile time, so no guarded initialisation at run time.
constexpr SystemReader kSystemReader{};
constexpr FileBytesReader kFileBytesReader{};

} // namespace

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
