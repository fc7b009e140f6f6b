// Paths of the test program, the deliverables and the special folders, in Windows form.
#pragma once

#include <string>

#include "TestedPath.h"

namespace qs::e2e {

// The folder of the running test program, without a trailing backslash.
std::string TestProgramDir();

// A path in Windows form: a Unix path "/a/b" becomes "Z:\a\b" (Wine maps Z: to "/");
// forward slashes of any other path become backslashes.
std::string WinPath(const std::string& path);

// `dir` and `name` joined with exactly one backslash.
std::string JoinPath(const std::string& dir, const std::string& name);

// The folder part of `path` (up to, not including, the last backslash).
std::string DirName(const std::string& path);

// The last component of `path`.
std::string BaseName(const std::string& path);

// A special folder of the current user (CSIDL_DESKTOPDIRECTORY, CSIDL_FAVORITES, ...);
// empty when the shell cannot tell it.
std::string SpecialFolderPath(int csidl);

// The folder GetTempPathA names, without a trailing backslash.
std::string TempRoot();

// The Windows path of a file the build named to the test (QS_PATH_..., QS_URL_RECORDER_PATH),
// inside a test bundle the path of its copy there.
inline std::string TestedWinPath(const std::string& path)
{
    return WinPath(::qs::test::TestedPath(path));
}

} // namespace qs::e2e

// The Windows path of a target named in qs_e2e_test(... DEPENDS NAME), e.g.
// QS_DELIVERABLE(UPVANE) for the target Upvane.
#define QS_DELIVERABLE(NAME) ::qs::e2e::TestedWinPath(QS_PATH_##NAME)
