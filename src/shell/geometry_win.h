#pragma once
// Client size, scroll ranges and the sizing of the window to the picture.

#include <windows.h>

#include "shell/selection_report.h"

// The client rectangle as it would be without scroll bars.
void GetFullClientRect(HWND window, RECT* rect);
// Sets both scroll ranges from the picture size and the client size.
void UpdateScrollRanges(HWND window);
// The main window's scroll positions.
ScrollOrigin WindowScrollOrigin(HWND window);
// Records the picture size from the DibBlock, marks the image present and
// sizes the window to the picture (within the desktop). Returns 1.
int FitWindowToImage(HWND window);
