// The three profile (INI) reads of the Linux stand-ins: the file's bytes, as profile_file.h
// reads them and keeps them parsed, answered by the rules of profile_answers.h. Reading and
// parsing happen once per change of the file.
#include "compat.h"
#include "profile_reader.h"

DWORD GetPrivateProfileSectionNamesA(LPSTR lpszReturnBuffer, DWORD nSize, LPCSTR lpFileName)
{
    return FileBytesProfileReader().SectionNames(lpszReturnBuffer, nSize, lpFileName);
}

DWORD GetPrivateProfileSectionA(LPCSTR lpAppName, LPSTR lpReturnedString, DWORD nSize, LPCSTR lpFileName)
{
    return FileBytesProfileReader().Section(lpAppName, lpReturnedString, nSize, lpFileName);
}

DWORD GetPrivateProfileStringA(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpDefault, LPSTR lpReturnedString,
                               DWORD nSize, LPCSTR lpFileName)
{
    return FileBytesProfileReader().String(lpAppName, lpKeyName, lpDefault, lpReturnedString, nSize,
                                           lpFileName);
}
