// Process-wide strings of Upvane. The dialog's initialisation fills the set-file values; the
// check computes the four version parts. They live until program exit and are touched only by
// the user-interface thread.
#pragma once

#include "CString.h"

extern CString g_strInstalled;     // descrambled `installed`
extern CString g_strWebLink;       // descrambled `weblink`
extern CString g_strWizFile;       // descrambled `wizfile`
extern CString g_strUpdateFile;    // descrambled `updatefilename`
extern CString g_strInstalledLine; // "Installed  Version:  " + g_strInstalled

extern CString g_strInstalledVersion; // parts cut by the last check
extern CString g_strInstalledBuild;
extern CString g_strAvailableVersion;
extern CString g_strAvailableBuild;

extern CString g_strScratch; // working copy for DescrambleValue
