#include "shell/startup_picture_win.h"

#include <cstdio>

#include "colour/dib_layout.h"
#include "colour/dib_block.h"
#include "shell/painting_win.h"
#include "shell/shell_state_win.h"
#include "shell/window_geometry.h"

void SetStartupPictureInstance(HINSTANCE instance) { g_shell.startup.instance = instance; }

int LoadStartupPicture(HWND window, unsigned number) {
  StartupPicture& picture = g_shell.startup;
  picture.window = window;
  char name[16];  // "IMAGE" and at most 10 digits
  std::snprintf(name, sizeof name, "IMAGE%03u", number);
  HRSRC found = FindResourceA(picture.instance, name, MAKEINTRESOURCEA(2) /* RT_BITMAP */);
  picture.resource = found ? LoadResource(picture.instance, found) : nullptr;
  picture.size = found ? SizeofResource(picture.instance, found) : 0;
  return 1;
}

void PaintStartupPicture(HWND window, int x, int y) {
  const StartupPicture& picture = g_shell.startup;
  const auto* dib = picture.resource && picture.size >= kInfoHeaderSize
                        ? static_cast<const uint8_t*>(LockResource(picture.resource))
                        : nullptr;
  if (dib != nullptr) {
    RECT client;
    GetClientRect(window, &client);
    x = PicturePosition(x, client.right, ReadLe16(dib + kWidthField));
    y = PicturePosition(y, client.bottom, ReadLe16(dib + kHeightField));
  }
  // Painting without a picture still validates the window.
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  if (dib != nullptr) DrawPackedDib(dc, x, y, dib);
  EndPaint(window, &paint);
}

void ReleaseStartupPicture() {
  StartupPicture& picture = g_shell.startup;
  if (picture.resource != nullptr) FreeResource(picture.resource);
  picture.resource = nullptr;
  picture.size = 0;
  picture.window = nullptr;
}
