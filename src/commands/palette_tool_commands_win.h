#pragma once
// The menu commands that open the palette tools.

#include <windows.h>

LRESULT OpenScrollBarToolCommand(HWND window);  // 145
LRESULT OpenKeyboardToolCommand(HWND window);   // 146
