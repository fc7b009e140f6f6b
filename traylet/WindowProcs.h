// The hidden window's procedure and the procedure installed on the client's owner window.
#ifndef TRAYLET_WINDOWPROCS_H
#define TRAYLET_WINDOWPROCS_H

#include <windows.h>

LRESULT CALLBACK TrayWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK OwnerWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);

#endif
