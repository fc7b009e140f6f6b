// CRevivoApp: runs the reset dialog and ends the program when it returns.
#pragma once

#include "Framework.h"

class CRevivoApp : public CWinApp
{
public:
    BOOL InitInstance() override;
};
