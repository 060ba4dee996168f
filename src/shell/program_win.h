#pragma once
// The program's run, which the entry point starts once the command layer is
// connected, and the About box procedure (opened by command 114).

#include <windows.h>

// Creates the main window, runs the message loop and returns the exit code.
int RunProgram(HINSTANCE instance, HINSTANCE previousInstance, LPSTR commandLine, int show);

INT_PTR CALLBACK AboutDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
