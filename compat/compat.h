// compat.h: the few Win32 and runtime calls the portable logic makes.
// On Windows this is simply the platform's own headers. Elsewhere it declares the types those
// calls use and stand-ins that behave as Windows documents them (and as Wine measures them):
// the profile (INI) reads, path resolution, file search, the ANSI code page's character size
// and two runtime string functions.
// Paths on Linux are POSIX paths; a backslash is accepted as a separator as well.
#pragma once

#ifdef _WIN32

#include <windows.h>
#include <string.h>
#include <mbstring.h>

#else

#include <stddef.h>
#include <stdint.h>

// Types -------------------------------------------------------------------------------------

typedef int BOOL;
typedef unsigned char BYTE;
typedef char CHAR;
typedef uint16_t WORD;
typedef uint32_t DWORD;
typedef unsigned int UINT;
typedef int32_t LONG;
typedef void* HANDLE;
typedef char* LPSTR;
typedef const char* LPCSTR;
typedef void* LPVOID;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif
#ifndef WINAPI
#define WINAPI
#endif

#define MAX_PATH 260
#define INVALID_HANDLE_VALUE (reinterpret_cast<HANDLE>(static_cast<intptr_t>(-1)))

#define FILE_ATTRIBUTE_HIDDEN 0x00000002u
#define FILE_ATTRIBUTE_DIRECTORY 0x00000010u
#define FILE_ATTRIBUTE_ARCHIVE 0x00000020u

// 100-nanosecond intervals since 1 January 1601 (UTC).
struct FILETIME
{
    DWORD dwLowDateTime;
    DWORD dwHighDateTime;
};

struct WIN32_FIND_DATAA
{
    DWORD dwFileAttributes;
    FILETIME ftCreationTime;
    FILETIME ftLastAccessTime;
    FILETIME ftLastWriteTime;
    DWORD nFileSizeHigh;
    DWORD nFileSizeLow;
    DWORD dwReserved0;
    DWORD dwReserved1;
    CHAR cFileName[MAX_PATH];    // the name without its folder
    CHAR cAlternateFileName[14]; // no short names here: always empty
};
typedef WIN32_FIND_DATAA* LPWIN32_FIND_DATAA;

// Profile (INI) reads -----------------------------------------------------------------------
// The most recently used file stays parsed while it is unchanged, as on Windows, so one call
// per section costs one parse in all; a changed file is read again (see profile_file.h).
// A file name without any folder is looked for in the Windows directory, which does not exist
// here: such a file reads as missing, and so does anything that is not a regular file.
// Lists are NUL-terminated strings one after another, closed by one more NUL. A list that
// does not fit is cut and closed inside the buffer, and the answer is nSize - 2; one value
// that does not fit is cut, NUL-terminated, and the answer is nSize - 1.

// The names of all sections with a non-empty name, in file order (repeated names repeat). An
// empty list is one NUL; the byte after it stays as it was.
DWORD GetPrivateProfileSectionNamesA(LPSTR lpszReturnBuffer, DWORD nSize, LPCSTR lpFileName);

// The lines of the first section whose name equals lpAppName, letter case ignored: key=value
// with blanks around key and value removed, lines without "=" as they stand (trimmed);
// comment lines (";") and blank lines are left out.
DWORD GetPrivateProfileSectionA(LPCSTR lpAppName, LPSTR lpReturnedString, DWORD nSize, LPCSTR lpFileName);

// The value of the first key lpKeyName in the first section lpAppName (both trimmed, letter
// case ignored), with a matching pair of quotes around it removed; otherwise, and when that
// first key is a line without "=", lpDefault (null: empty) without its trailing blanks. A null lpAppName lists the section names, a null
// lpKeyName the keys of the section.
DWORD GetPrivateProfileStringA(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpDefault, LPSTR lpReturnedString,
                               DWORD nSize, LPCSTR lpFileName);

// Paths --------------------------------------------------------------------------------------

// Absolute, normalised form of lpFileName ("." and ".." resolved, repeated separators
// collapsed); the file need not exist. Answers the length without the NUL, or, when the buffer
// is too small, the size needed including the NUL and writes nothing. *lpFilePart (when
// lpFilePart is not null) points at the last component, or is null when the path ends in a
// separator. 0 on failure.
DWORD GetFullPathNameA(LPCSTR lpFileName, DWORD nBufferLength, LPSTR lpBuffer, LPSTR* lpFilePart);

// The current directory; the same size rules as GetFullPathNameA.
DWORD GetCurrentDirectoryA(DWORD nBufferLength, LPSTR lpBuffer);

// File search over the last path component, which may hold the wildcards * and ? (letter case
// ignored). Answers INVALID_HANDLE_VALUE when nothing matches; a handle must end with FindClose.
HANDLE FindFirstFileA(LPCSTR lpFileName, LPWIN32_FIND_DATAA lpFindFileData);
BOOL FindNextFileA(HANDLE hFindFile, LPWIN32_FIND_DATAA lpFindFileData);
BOOL FindClose(HANDLE hFindFile);

// Code pages ---------------------------------------------------------------------------------

#define CP_ACP 0
#define MAX_DEFAULTCHAR 2
#define MAX_LEADBYTES 12

struct CPINFO
{
    UINT MaxCharSize;
    BYTE DefaultChar[MAX_DEFAULTCHAR];
    BYTE LeadByte[MAX_LEADBYTES];
};
typedef CPINFO* LPCPINFO;

// The stand-ins read every byte as itself, as a single-byte code page does: CP_ACP answers
// MaxCharSize 1 and default character '?'. The double-byte code pages 932, 936 and 949 answer
// MaxCharSize 2 and their lead-byte ranges, as Windows gives them; any other answers FALSE.
BOOL GetCPInfo(UINT CodePage, LPCPINFO lpCPInfo);

// Runtime ------------------------------------------------------------------------------------

// Upper-cases the ASCII letters in place (default locale) and returns its argument.
char* _strupr(char* str);

// Compares two texts byte by byte as unsigned values: negative, 0 or positive.
int _mbscmp(const unsigned char* str1, const unsigned char* str2);

#endif
