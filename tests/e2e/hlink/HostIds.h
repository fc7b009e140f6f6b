// The test host's dialog: its caption and the ids of its links.
#pragma once

#define IDD_HLINK_HOST 200
#define IDC_HOST_MAILLINK 1002 // plain left-aligned static, like the main dialog's
#define IDC_HOST_SITELINK 1003
#define IDC_HOST_NOPREFIXLINK 1041 // SS_LEFT | SS_NOPREFIX: not drawn as a link
#define IDC_HOST_CENTRELINK 1042   // SS_CENTER
#define IDC_HOST_FONTLESSLINK 1043 // made at run time, never given a font

#define HLINK_HOST_CAPTION "HLink host"
