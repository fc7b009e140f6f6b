// CWaitCursor: shows the wait cursor for the lifetime of the object.
#pragma once

#include "CWinApp.h"

class CWaitCursor
{
public:
    CWaitCursor() { AfxDoWaitCursor(1); }
    ~CWaitCursor() { AfxDoWaitCursor(-1); }
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
};
