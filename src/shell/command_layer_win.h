#pragma once
// The command layer above the window, as the window sees it: every WM_COMMAND
// goes to its dispatcher, and while a data file is written it decides whether
// a command or a close may go ahead. The program's entry point connects it
// before the main window is created.

#include <windows.h>

struct CommandLayer {
  LRESULT (*dispatch)(HWND window, WPARAM wParam, LPARAM lParam) = nullptr;
  bool (*commandMayRun)(int command) = nullptr;
  bool (*closeMayProceed)() = nullptr;
};

extern CommandLayer g_commandLayer;
