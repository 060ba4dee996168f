#pragma once
// The command dispatcher: every WM_COMMAND of the main window, the menu items
// and the internal commands that other parts of the program send or post.

#include <windows.h>

// wParam is the whole command id; lParam is not used. Returns 0, except 1
// from the clipboard copy commands when memory runs out.
LRESULT DispatchCommand(HWND window, WPARAM wParam, LPARAM lParam);
