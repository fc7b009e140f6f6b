// A program of the framework whose handlers throw, for the tests of what the framework does
// with an exception at the edge of Windows' callbacks.
//   framework_fault_host         a dialog whose buttons throw std::bad_alloc, an int and
//                                std::runtime_error
//   framework_fault_host init    the same dialog, whose OnInitDialog throws std::bad_alloc
//   framework_fault_host page    a property sheet whose page's OnInitDialog throws an int
#include <windows.h>

#include <cstring>
#include <new>
#include <stdexcept>

#include "FaultHostIds.h"
#include "Framework.h"

namespace {

class CFaultDlg : public CDialog
{
public:
    explicit CFaultDlg(bool bThrowInInit)
        : CDialog(IDD_FAULT_HOST),
          m_bThrowInInit(bThrowInInit)
    {
    }

protected:
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        if (m_bThrowInInit)
            throw std::bad_alloc();
        return TRUE;
    }

    void OnThrowBadAlloc() { throw std::bad_alloc(); }
    void OnThrowInt() { throw 7; }
    void OnThrowRuntimeError() { throw std::runtime_error("thrown by the fault host"); }

    DECLARE_MESSAGE_MAP()

private:
    bool m_bThrowInInit;
};

BEGIN_MESSAGE_MAP(CFaultDlg, CDialog)
    ON_BN_CLICKED(IDC_THROW_BAD_ALLOC, OnThrowBadAlloc)
    ON_BN_CLICKED(IDC_THROW_INT, OnThrowInt)
    ON_BN_CLICKED(IDC_THROW_RUNTIME_ERROR, OnThrowRuntimeError)
END_MESSAGE_MAP()

class CFaultPage : public CPropertyPage
{
public:
    CFaultPage()
        : CPropertyPage(IDD_FAULT_PAGE)
    {
    }

protected:
    BOOL OnInitDialog() override
    {
        CPropertyPage::OnInitDialog();
        throw 7;
    }
};

class CFaultHostApp : public CWinApp
{
public:
    BOOL InitInstance() override
    {
        const char* pszMode = ::GetCommandLineA();
        if (std::strstr(pszMode, " page")) {
            CPropertySheet sheet(IDS_FAULT_SHEET);
            CFaultPage page;
            sheet.AddPage(&page);
            sheet.m_psh.dwFlags |= PSH_NOAPPLYNOW;
            sheet.DoModal();
            return FALSE;
        }
        CFaultDlg dlg(std::strstr(pszMode, " init") != nullptr);
        m_pMainWnd = &dlg;
        dlg.DoModal();
        m_pMainWnd = nullptr;
        return FALSE;
    }
};

CFaultHostApp theApp;

} // namespace
