#include "RevivoDlg.h"

#include "MainApplication.h"
#include "RegistryImport.h"
#include "ToolDirectory.h"
#include "resource.h"

namespace {

// The tool's only timing: it waits for nothing it starts, so Quillory may start while the
// editor is still importing.
const DWORD kPauseBeforeImportMs = 500;
const DWORD kPauseBeforeStartMs = 100;

} // namespace

CRevivoDlg::CRevivoDlg(CWnd* pParent)
    : CDialog(IDD_REVIVO_DIALOG, pParent),
      m_hIcon(AfxGetApp()->LoadIcon(IDR_MAINFRAME))
{
}

BEGIN_MESSAGE_MAP(CRevivoDlg, CDialog)
    ON_MESSAGE(WM_WINDOWPOSCHANGING, OnWindowPosChanging)
END_MESSAGE_MAP()

BOOL CRevivoDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);

    ::Sleep(kPauseBeforeImportMs);
    const std::string directory = GetToolDirectory();
    ImportRegistryFileForScreen(m_hWnd, directory);
    ::Sleep(kPauseBeforeStartMs);
    StartMainApplication(m_hWnd, directory);

    // Ends before the dialog is ever shown, as its Cancel button would.
    m_bEnded = true;
    OnCancel();
    return TRUE;
}

LRESULT CRevivoDlg::OnWindowPosChanging(WPARAM, LPARAM lParam)
{
    // The template is visible, and the dialog manager may still show a dialog that ended
    // inside its initialisation, just before destroying it; an ended dialog stays hidden.
    WINDOWPOS* pPos = reinterpret_cast<WINDOWPOS*>(lParam);
    if (m_bEnded && pPos)
        pPos->flags &= ~SWP_SHOWWINDOW;
    return Default();
}
