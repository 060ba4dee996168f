#pragma once
// Commands that only change a menu, a setting or the focus.

#include <windows.h>

// Attaches the reduced menu while a plot runs, the main menu otherwise.
void SwapMenu(HWND window);

LRESULT SelectLineCursor(HWND window);      // 115
LRESULT SelectBlockCursor(HWND window);     // 116
LRESULT ToggleClearOnPress(HWND window);    // 117
LRESULT FocusMainWindow(HWND window);       // 118
LRESULT UseRealArithmetic(HWND window);     // 122
LRESULT UseIntegerArithmetic(HWND window);  // 123
LRESULT UseDeepArithmetic(HWND window);     // 148
LRESULT PostExit(HWND window);              // 105
LRESULT IgnoreStop(HWND window);            // 121: the running plot's message step takes it
