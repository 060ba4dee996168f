#pragma once
// The built-in picture shown, centred, until the first image arrives.

#include <windows.h>

void SetStartupPictureInstance(HINSTANCE instance);
int LoadStartupPicture(HWND window, unsigned number);
// x or y of -1 centres the picture in that direction.
void PaintStartupPicture(HWND window, int x, int y);
void ReleaseStartupPicture();
