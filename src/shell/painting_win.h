#pragma once
// Painting the picture on display and its display palette.

#include <windows.h>

#include <cstdint>

// WM_PAINT while an image is present: the DibBlock at the scroll origin.
void PaintImage(HWND window);
// Deletes the display palette so that the next paint makes it again.
void ReleaseDisplayObjects();
// Draws a packed DIB (header, colour table, rows) with its top-left at (x, y).
void DrawPackedDib(HDC dc, int x, int y, const uint8_t* packedDib);
