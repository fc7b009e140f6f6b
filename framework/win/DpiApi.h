// The display scale of windows, for per-monitor DPI-aware programs. The calls that only newer
// Windows has are looked up in user32 at run time; where one is missing the system DPI (one
// scale for every monitor) stands in, as it is then the only one.
#pragma once

#include <windows.h>

#include "DisplayScale.h"

// The DPI a window is drawn at: its monitor's under per-monitor awareness, else the system's.
int AfxGetWindowDpi(HWND hWnd);
// A system metric (SM_CXICON, ...) at `nDpi`.
int AfxGetSystemMetricForDpi(int nIndex, int nDpi);
// The base units a dialog with this font has.
DialogBaseUnits AfxGetFontBaseUnits(HFONT hFont);
// Tells Windows (10 1703 and later) not to lay the dialog out again itself after a change of
// scale, nor to send its controls new fonts: the dialog's WM_DPICHANGED handler does both.
void AfxKeepDialogLayoutToItself(HWND hDlg);
