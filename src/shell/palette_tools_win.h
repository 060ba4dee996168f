#pragma once
// The two modeless palette tools, both titled "ﾊﾟﾚｯﾄ": the scroll-bar tool
// (PalDlgProc, template 7) and the keyboard tool (DispDlgProc, template 8).
// At most one is open; it is owned by the main window. Every change goes into
// the picture's colour table at once, so the picture recolours without
// recomputing.

#include <windows.h>

#include "res/resource.h"

// The open tool: 0 when none is open, else its menu command,
// IDM_SCROLLBAR_TOOL or IDM_KEYBOARD_TOOL.
int OpenPaletteTool();

// Creates the tool's window owned by mainWindow and makes it the open tool;
// the keyboard tool then shows the palette text. False when the window could
// not be created.
bool CreatePaletteToolWindow(HINSTANCE instance, HWND mainWindow, int tool);

// Shows the tool again after a change of palette, with a refreshed view:
// the keyboard tool rewrites its palette text and swatch, the scroll-bar tool
// reloads its working colour. Only the open tool is shown; show false or any
// other tool does nothing.
void ShowPaletteTool(int tool, bool show);
// Hides the open tool's window, if a tool is open.
void HidePaletteTool();
// Closes the open tool as its close button does, if a tool is open.
void ClosePaletteTool();

INT_PTR CALLBACK PalDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK DispDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
