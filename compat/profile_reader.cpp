// The two roads of the profile reads, and the choice between them by the ANSI code page.
#include "profile_reader.h"

#include "profile_answers.h"

namespace {

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
        return compat_detail::AnswerSectionNames(*compat_detail::LoadProfileFile(lpFileName),
                                                 lpszReturnBuffer, nSize);
    }
    DWORD Section(LPCSTR lpAppName, LPSTR lpReturnedString, DWORD nSize, LPCSTR lpFileName) const override
    {
        return compat_detail::AnswerSection(*compat_detail::LoadProfileFile(lpFileName), lpAppName,
                                            lpReturnedString, nSize);
    }
    DWORD String(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpDefault, LPSTR lpReturnedString, DWORD nSize,
                 LPCSTR lpFileName) const override
    {
        return compat_detail::AnswerString(*compat_detail::LoadProfileFile(lpFileName), lpAppName, lpKeyName,
                                           lpDefault, lpReturnedString, nSize);
    }
};

} // namespace

const ProfileReader& SystemProfileReader()
{
    static const SystemReader reader;
    return reader;
}

const ProfileReader& FileBytesProfileReader()
{
    static const FileBytesReader reader;
    return reader;
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
