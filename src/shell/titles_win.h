#pragma once
// The window title and the small message boxes that several commands share,
// for callers that hold the window handle.

#include <windows.h>

#include <cstdint>

// The title prefix, "Julia " or "Mandel ", then text; the prefix is emptied.
void SetPlotTitle(HWND window, const char* text);
// The plot title with the current record's region and the picture's size.
void SetRegionTitle(HWND window);
// "Zirn <current file name>  <width>x<height>", after a BMP was opened.
void SetFileTitle(HWND window, int32_t width, int32_t height);
// "Memory Error .." over the window that has the keyboard focus.
void ShowMemoryError();
// "Zirn のパラメータではありません".
void ShowNotParameterText(HWND window);
