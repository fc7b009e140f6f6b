#include "AppStrings.h"

CString g_strInstalled;
CString g_strWebLink;
CString g_strWizFile;
CString g_strUpdateFile;
CString g_strInstalledLine;

CString g_strInstalledVersion;
CString g_strInstalledBuild;
CString g_strAvailableVersion;
CString g_strAvailableBuild;

CString g_strScratch;
