// CRegpickApp: runs the import dialog and ends the program when it returns.
#pragma once

#include "Framework.h"

class CRegpickApp : public CWinApp
{
public:
    BOOL InitInstance() override;
};
