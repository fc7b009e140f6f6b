// CUpvaneApp: runs the main dialog and ends the program when it closes.
#pragma once

#include "Framework.h"

class CUpvaneApp : public CWinApp
{
public:
    CUpvaneApp() = default;
    BOOL InitInstance() override;
};
