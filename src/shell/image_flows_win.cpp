#include "shell/image_flows_win.h"

#include "colour/image_builder.h"
#include "files/bitmap_file.h"
#include "files/image_state.h"
#include "shell/geometry_win.h"
#include "shell/painting_win.h"
#include "shell/titles.h"
#include "shell/window_host_win.h"

namespace {

// What painting made from the old image goes before a new image comes in.
void ForgetShownImage() {
  if (!g_image.imagePresent) return;
  ReleaseDisplayObjects();
  g_image.imagePresent = false;
}

}  // namespace

bool LoadBitmapImage(HWND window) {
  ForgetShownImage();
  WindowHost host(window);
  if (!ReadBitmapFile(g_image.fileName, g_image.dib, &g_image.bitsOffset, host)) {
    host.ShowMessage("File Read error ..", kProgramName, MessageIcon::Error);
    InvalidateRect(window, nullptr, TRUE);  // the start-up picture comes back
    return false;
  }
  FitWindowToImage(window);
  SetFileTitle(host, g_image.width, g_image.height);
  return true;
}

bool MakeBitmapFromCounts(HWND window, PlotRecord& record) {
  ForgetShownImage();
  SetWindowTextA(window, "making bitmap ..");
  if (!BuildImageFromCounts(record, g_image.dib, &g_image.bitsOffset)) {
    MessageBoxA(window, "cannot make DIB.", "error", MB_ICONERROR);
    return false;
  }
  FitWindowToImage(window);
  return true;
}

bool RefreshImagePalette(HWND window) {
  if (!g_image.imagePresent) return false;
  if (!WritePaletteToImage(g_image.dib)) {
    WindowHost host(window);
    // The 16-colour test names the usual cause itself; an image that declares
    // 16 colours but is not 4 bits per pixel gets the general message.
    if (RequireSixteenColours(g_image.dib, host)) {
      host.ShowMessage("Palette process error.", "error", MessageIcon::Error);
    }
    return false;
  }
  ReleaseDisplayObjects();
  InvalidateRect(window, nullptr, FALSE);
  return true;
}
