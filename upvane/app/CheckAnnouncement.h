// What a screen reader announces when a check has reported: the lines the check added to the
// version display (the available version, or that it was not found), then the result
// message when the check set one. Pure: the dialog hands the text to its result control.
#pragma once

#include "CString.h"
#include "VersionCheck.h"

// strInstalledLine is the version display's first line, which every report repeats.
CString ComposeCheckAnnouncement(const VersionCheckResult& result, const CString& strInstalledLine);
