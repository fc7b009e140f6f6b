// Resource identifiers of Regpick.exe, shared by Regpick.rc and the code.
#pragma once

#define IDD_REGPICK_DIALOG 102
#define IDR_MAINFRAME 128
