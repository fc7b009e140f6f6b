// Process-wide values of the library, shared by every manager.
#ifndef TRAYLET_GLOBALS_H
#define TRAYLET_GLOBALS_H

#include <windows.h>

// This module; instance of the hidden window's class and of the window itself.
extern HINSTANCE g_hInstance;
// Id of the registered message "TaskbarCreated"; 0 until the first Init.
extern UINT g_uTaskbarCreated;

#endif
