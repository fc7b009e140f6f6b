#include "Globals.h"

HINSTANCE g_hInstance = nullptr;
UINT g_uTaskbarCreated = 0;
