#pragma once
// Entry point companions: the About box procedure (opened by command 114).

#include <windows.h>

INT_PTR CALLBACK AboutDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
