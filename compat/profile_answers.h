// profile_answers.h: what the three profile reads answer for a parsed file (not part of
// compat.h). Portable: the Linux stand-ins answer with these, and so does the set-file reader
// where it reads a file's bytes itself (see profile_reader.h). The rules of each answer are
// those of the calls in compat.h; the buffer and count rules are:
//  - a list is NUL-terminated strings one after another, closed by one more NUL; a list that
//    does not fit is cut and closed inside the buffer, and the answer is size - 2;
//  - one value that does not fit is cut, NUL-terminated, and the answer is size - 1;
//  - a null buffer or a size of 0 answers 0 and writes nothing.
#pragma once

#include "compat.h"
#include "profile_file.h"

namespace compat_detail {

// GetPrivateProfileSectionNamesA.
DWORD AnswerSectionNames(const ProfileFile& file, LPSTR lpszReturnBuffer, DWORD nSize);

// GetPrivateProfileSectionA.
DWORD AnswerSection(const ProfileFile& file, LPCSTR lpAppName, LPSTR lpReturnedString, DWORD nSize);

// GetPrivateProfileStringA.
DWORD AnswerString(const ProfileFile& file, LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpDefault,
                   LPSTR lpReturnedString, DWORD nSize);

} // namespace compat_detail
