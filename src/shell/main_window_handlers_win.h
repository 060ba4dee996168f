#pragma once
// The handlers MainWndProc hands its messages to (internal to the shell).

#include <windows.h>

// Input: keys, characters, the start gesture, the mouse, scrolling.
void OnKey(HWND window, WPARAM virtualKey, bool keyDown);
void OnCharacter(HWND window, WPARAM character);
void OnStartGesture(HWND window);
void OnMouse(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void OnScroll(HWND window, UINT message, WPARAM wParam);

// The menu rule applied when a menu opens.
void OnInitMenu(HWND window);
// Answers the registered "ZirnMenuItemState" message (see main_window_win.cpp).
LRESULT OnMenuItemStateQuery(HWND window, WPARAM itemId);
