// Resource identifiers of Upvane.exe, shared by the resource scripts and the code.
#pragma once

// Main dialog
#define IDD_UPVANE_DIALOG 102
#define IDR_MAINFRAME 128
#define IDB_BANNER 157
#define IDB_BANNER_LARGE 158
#define IDC_MAILLINK 1002
#define IDC_SITELINK 1003
#define IDC_WHATSNEWLINK 1004
#define IDC_VERSION 1008
#define IDC_PROGRESS 1009
#define IDC_MESSAGE 1010
#define IDC_DOWNLOAD 1011
#define IDC_CHECK 1012

// Hyperlink control: menu, property sheet, cursor
#define IDR_HLINK_MENU 103
#define IDS_HLINK_PROPERTIES 105
#define IDD_HLINK_GENERAL 105
#define IDC_HLINK_HAND 130
#define IDC_HLINK_NAME 1005
#define IDC_HLINK_URL_LABEL 1006
#define IDC_HLINK_URL 1007
#define ID_HLINK_COPYSHORTCUT 32771
#define ID_HLINK_PROPERTIES 32773
#define ID_HLINK_ADDTOFAVORITES 32774
#define ID_HLINK_ADDTODESKTOP 32775
#define ID_HLINK_OPEN 32776
