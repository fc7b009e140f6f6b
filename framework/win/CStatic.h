// CStatic: a static control.
#pragma once

#include "CWnd.h"

class CStatic : public CWnd
{
    DECLARE_DYNAMIC(CStatic)
};
