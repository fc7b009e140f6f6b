// Resource identifiers of Revivo.exe, shared by Revivo.rc and the code.
#pragma once

#define IDD_REVIVO_DIALOG 102
#define IDR_MAINFRAME 128
