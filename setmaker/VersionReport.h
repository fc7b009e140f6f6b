// A version check decided exactly as Upvane's Check button decides it (DecideVersionCheck),
// for an installed text and the received start of a version document, with warnings where
// either text is not laid out the way the cut expects.
#pragma once

#include "VersionCheck.h"

#include <string>
#include <vector>

enum class CheckOutcome {
    Latest,          // "You have the latest version."; Download disabled
    Upgrade,         // the upgrade message; Download enabled, the what's-new link shown
    NoMessage,       // the result line emptied; Download and the link as they were
    DocumentMissing, // the server's error page: "Available Version information was not found!"
};

struct VersionReport
{
    VersionCheckResult m_result;
    CheckOutcome m_outcome = CheckOutcome::NoMessage;
    std::vector<std::string> m_installedWarnings;
    std::vector<std::string> m_documentWarnings;
};

// pReceived/nReceived: the document's first bytes, at most the one read Upvane makes.
VersionReport BuildVersionReport(const CString& strInstalled, const char* pReceived, int nReceived);

// "latest", "upgrade", "no message", "document missing".
const char* OutcomeName(CheckOutcome outcome);
