#include "VersionReport.h"

#include "SetFileValues.h"
#include "VersionLayout.h"

VersionReport BuildVersionReport(const CString& strInstalled, const char* pReceived, int nReceived)
{
    VersionReport report;
    report.m_result =
        DecideVersionCheck(strInstalled, ComposeInstalledLine(strInstalled), pReceived, nReceived);
    if (report.m_result.m_bMissing)
        report.m_outcome = CheckOutcome::DocumentMissing;
    else if (report.m_result.m_download == ControlChange::Disable)
        report.m_outcome = CheckOutcome::Latest;
    else if (report.m_result.m_download == ControlChange::Enable)
        report.m_outcome = CheckOutcome::Upgrade;
    else
        report.m_outcome = CheckOutcome::NoMessage;

    report.m_installedWarnings = VersionLayoutWarnings(strInstalled);
    if (nReceived <= 0) {
        report.m_documentWarnings.push_back("is empty");
        return report;
    }
    if (!report.m_result.m_bMissing) {
        report.m_documentWarnings = VersionWordWarnings(report.m_result.m_strExamined);
        for (std::string& strWarning : VersionLengthWarnings(DocumentFirstLine(pReceived, nReceived)))
            report.m_documentWarnings.push_back(std::move(strWarning));
    }
    return report;
}

const char* OutcomeName(CheckOutcome outcome)
{
    switch (outcome) {
    case CheckOutcome::Latest:
        return "latest";
    case CheckOutcome::Upgrade:
        return "upgrade";
    case CheckOutcome::NoMessage:
        return "no message";
    case CheckOutcome::DocumentMissing:
        return "document missing";
    }
    return "";
}
