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
    CResultAlert m_resultAlert;  // control 1010; announces each check's result
    int m_nDpi;                  // the scale the dialog is laid out at
    CFont m_fontDialog;          // the dialog's font once a change of scale made a new one
    HBITMAP m_hbmBannerOriginal; // the static's own bitmap 157 (borrowed)
    CBitmap m_bmpBannerLarge;    // bitmap 158, the source of every scaled banner
    CBitmap m_bmpBanner;         // the banner scaled to its frame, while the static shows it
    HICON m_hIconBig;            // owned: the program's icon at the scale's sizes
    HICON m_hIconSmall;
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
    LRESULT OnDpiChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnGetFont(WPARAM wParam, LPARAM lParam);
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
    // The static that shows the banner (the bitmap static of the template).
    HWND FindBanner() const;
    // The program's icon, large and small, at the sizes of the dialog's scale.
    void SetIcons();
    // Fills the banner's frame: bitmap 157 as it is where the frame has its size, else bitmap
    // 158 scaled down to the frame.
    void ShowBanner();
    // Places every control and gives it the font, as the template asks at the scale `nDpi`.
    void LayOutAtDpi(int nDpi);
};
