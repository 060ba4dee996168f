#pragma once
// Where the main window hands over input that other parts of the shell and
// the palette tools act on: the mouse selection, the keyboard palette tool and
// the list of dropped files.

#include <windows.h>
// after windows.h
#include <shellapi.h>

// Mouse messages while no plot runs (WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP).
void HandleRegionSelection(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void HandlePointPicking(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// True while the open palette tool is the keyboard tool.
bool KeyboardPaletteToolOpen();
// "q" or "Q" closes the keyboard tool; other characters edit the palette.
void CloseKeyboardPaletteTool();
void PaletteToolCharacter(HWND window, unsigned character);

// The dropped-file list: emptied, then filled from a drop.
void FreeDroppedFiles();
void ReadDroppedFiles(HDROP drop);
