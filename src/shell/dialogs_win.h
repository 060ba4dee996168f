#pragma once
// The parameter and size dialogs and the one-line command dialog. Each ends
// with 1 when it left a parameter text in the dispatcher's dialog text buffer
// and with 0 when there is nothing to do.

#include <windows.h>

// Template 5 with the lower-left corner (command 143).
INT_PTR CALLBACK ParaDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// Template 5 with the centre of the picture (command 147).
INT_PTR CALLBACK CparaDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// Template 6: image size, limit and colour method (command 144).
INT_PTR CALLBACK SizeDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// Template 3: a free parameter text (command 140).
INT_PTR CALLBACK CmdDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
