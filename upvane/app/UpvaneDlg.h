// CUpvaneDlg: the main dialog. Shows what the set file says about the installed product and
// checks the vendor's version document on request.
#pragma once

#include <vector>

#include "Framework.h"
#include "HLinkCtrl.h"
#include "ResultAlert.h"

class CUpvaneDlg : public CDialog
{
    // Data members
protected:
    CHLinkCtrl m_linkSite;
    CHLinkCtrl m_linkMail;
    CHLinkCtrl m_linkWhatsNew;
    CProgressCtrl m_progress;
    CResultAlert m_resultAlert; // control 1010; announces each check's result
    // While a check runs its waits still answer the thread's messages; the commands that
    // arrive meanwhile (Check again, Cancel, Download) are kept here and carried out after it.
    bool m_bChecking = false;
    std::vector<MSG> m_deferredCommands;

    // Construction
public:
    CUpvaneDlg();
    ~CUpvaneDlg() override;

    // Message map and handlers
protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    BOOL OnInitDialog() override;
    void OnCheck();
    void OnDownload();
    DECLARE_MESSAGE_MAP()

    // Implementation
private:
    // The check itself: session, request, read, decision, report.
    void RunCheck();
    // The name (without folder) of the first set file in the executable's folder, or empty.
    CString FindSetFile() const;
    // The descrambled value of one key of the set file's section.
    static CString ReadSetFileValue(const char* pszKey);
    // The first control whose identifier is -1: the information line.
    HWND FindInformationLine() const;
};
