// The common controls (progress bar, property sheet) of the system's comctl32.dll, which is
// not among the system's known DLLs and so is never imported statically (see
// SystemLibrary.h): it is loaded from the system folder at its first use.
#pragma once

#include <windows.h>
#include <commctrl.h>

// Loads comctl32.dll, which registers the common control classes, and calls its
// InitCommonControls. A dialog whose template holds a common control needs this before it is
// made. FALSE, with the last error set, when the DLL or the function is missing.
BOOL AfxInitCommonControls();

// PropertySheetA of comctl32.dll: -1, with the last error set, when the DLL or the function is
// missing (the value the function itself answers when it fails).
INT_PTR AfxPropertySheet(LPCPROPSHEETHEADERA pHeader);
