// The framework's window classes in one include.
#pragma once

#include "AfxTypes.h"
#include "CDC.h"
#include "CDataExchange.h"
#include "CDialog.h"
#include "CException.h"
#include "CInternetSession.h"
#include "CFont.h"
#include "CMenu.h"
#include "CProgressCtrl.h"
#include "CPropertyPage.h"
#include "CPropertySheet.h"
#include "CStatic.h"
#include "CString.h"
#include "CWaitCursor.h"
#include "CWinApp.h"
#include "CWnd.h"
