// The three profile (INI) reads of the Linux stand-ins: the file's bytes, as profile_file.h
// reads them and keeps them parsed, answered by the rules of profile_answers.h. Reading and
// parsing happen once per change of the file.
#include "compat.h"
#include "profile_answers.h"

using namespace compat_detail;

DWORD GetPrivateProfileSectionNamesA(LPSTR lpszReturnBuffer, DWORD nSize, LPCSTR lpFileName)
{
    return AnswerSectionNames(*LoadProfileFile(lpFileName), lpszReturnBuffer, nSize);
}

DWORD GetPrivateProfileSectionA(LPCSTR lpAppName, LPSTR lpReturnedString, DWORD nSize, LPCSTR lpFileName)
{
    return AnswerSection(*LoadProfileFile(lpFileName), lpAppName, lpReturnedString, nSize);
}

DWORD GetPrivateProfileStringA(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpDefault, LPSTR lpReturnedString,
                               DWORD nSize, LPCSTR lpFileName)
{
    return AnswerString(*LoadProfileFile(lpFileName), lpAppName, lpKeyName, lpDefault, lpReturnedString,
                        nSize);
}
