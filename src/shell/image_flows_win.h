#pragma once
// The flows that put a new image into the window or recolour the one shown.

#include <windows.h>

struct PlotRecord;

// Reads the BMP named by the current file name and shows it.
bool LoadBitmapImage(HWND window);
// Builds the 16-colour image from the record's counts and shows it.
bool MakeBitmapFromCounts(HWND window, PlotRecord& record);
// Writes the program palette into the image's colour table and repaints.
bool RefreshImagePalette(HWND window);
