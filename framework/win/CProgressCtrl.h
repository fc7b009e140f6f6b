// CProgressCtrl: the common controls' progress bar.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "CWnd.h"

class CProgressCtrl : public CWnd
{
    DECLARE_DYNAMIC(CProgressCtrl)

public:
    int SetPos(int nPos) { return static_cast<int>(SendMessage(PBM_SETPOS, static_cast<WPARAM>(nPos))); }
    int StepIt() { return static_cast<int>(SendMessage(PBM_STEPIT)); }
};
