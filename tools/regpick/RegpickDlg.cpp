#include "RegpickDlg.h"

#include "RegistryImport.h"
#include "ToolDirectory.h"
#include "resource.h"

CRegpickDlg::CRegpickDlg(CWnd* pParent)
    : CDialog(IDD_REGPICK_DIALOG, pParent),
      m_hIcon(AfxGetApp()->LoadIcon(IDR_MAINFRAME))
{
}

BOOL CRegpickDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);

    ImportRegistryFileForScreen(m_hWnd, GetToolDirectory());

    // Ends before the dialog is ever shown, as its Cancel button would.
    OnCancel();
    return TRUE;
}
