#pragma once
// The application shell's program-wide state: one instance, one main window.

#include <windows.h>

#include "shell/drop_list.h"

using Ctl3dColorChangeProc = BOOL(WINAPI*)();

// The built-in picture shown until the first image arrives.
struct StartupPicture {
  HINSTANCE instance = nullptr;  // where the bitmap resource is found
  HGLOBAL resource = nullptr;    // the loaded resource; none until loaded
  DWORD size = 0;                // its size in bytes
  HWND window = nullptr;         // the window it is shown in
};

struct ShellState {
  HINSTANCE instance = nullptr;
  HBRUSH backgroundBrush = nullptr;                 // dark blue 0x00330000
  Ctl3dColorChangeProc ctl3dColorChange = nullptr;  // null without CTL3D32.DLL
  HWND mainWindow = nullptr;
  HMENU mainMenu = nullptr;           // "PMFwinMenu"
  HMENU reducedMenu = nullptr;        // "exPMFwinMenu", attached while a plot runs
  bool sizeGuard = false;             // WM_SIZE is being handled
  int scrollRangeGuard = 0;           // UpdateScrollRanges is running
  HPALETTE displayPalette = nullptr;  // made lazily by painting
  RECT selection = {};                // the mouse selection in client pixels
  StartupPicture startup;
  DropList droppedFiles;  // the files of the last drop; emptied when the window closes
};

extern ShellState g_shell;
