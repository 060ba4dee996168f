#include "shell/geometry_win.h"

#include <algorithm>

#include "colour/dib_layout.h"
#include "files/image_state.h"
#include "shell/shell_state_win.h"
#include "shell/window_geometry.h"

namespace {

constexpr int kMostSizings = 4;  // the first sizing and up to three retries

bool HasStyle(HWND window, LONG bit) { return (GetWindowLongA(window, GWL_STYLE) & bit) != 0; }

FrameMetrics SystemFrameMetrics() {
  return {GetSystemMetrics(SM_CXFRAME),   GetSystemMetrics(SM_CYFRAME),
          GetSystemMetrics(SM_CYMENU),    GetSystemMetrics(SM_CYBORDER),
          GetSystemMetrics(SM_CYCAPTION), GetSystemMetrics(SM_CXHSCROLL),
          GetSystemMetrics(SM_CXVSCROLL)};
}

PixelRect ToPixelRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

}  // namespace

void GetFullClientRect(HWND window, RECT* rect) {
  GetClientRect(window, rect);
  if (HasStyle(window, WS_HSCROLL)) rect->bottom += GetSystemMetrics(SM_CYHSCROLL);
  if (HasStyle(window, WS_VSCROLL)) rect->right += GetSystemMetrics(SM_CXVSCROLL);
}

// Showing one bar narrows the client area the other way, which may call for
// the other bar: the second pass sees that and the third settles it.
void UpdateScrollRanges(HWND window) {
  if (g_shell.scrollRangeGuard != 0) return;
  ++g_shell.scrollRangeGuard;
  RECT client;
  GetFullClientRect(window, &client);
  for (int pass = 0; pass < 3; ++pass) {
    const int verticalMaximum = ScrollMaximum(g_image.height, client.bottom);
    const int horizontalMaximum = ScrollMaximum(g_image.width, client.right);
    if (verticalMaximum < GetScrollPos(window, SB_VERT) ||
        horizontalMaximum < GetScrollPos(window, SB_HORZ)) {
      InvalidateRect(window, nullptr, TRUE);  // the picture will shift
    }
    SetScrollRange(window, SB_VERT, 0, verticalMaximum, TRUE);
    SetScrollRange(window, SB_HORZ, 0, horizontalMaximum, TRUE);
    GetClientRect(window, &client);
  }
  --g_shell.scrollRangeGuard;
}

int FitWindowToImage(HWND window) {
  g_image.imagePresent = true;
  const uint8_t* header = g_image.dib.Data();
  const bool hasHeader = header != nullptr && g_image.dib.Size() >= kInfoHeaderSize;
  g_image.width = hasHeader ? ReadLe16(header + kWidthField) : 0;
  g_image.height = hasHeader ? ReadLe16(header + kHeightField) : 0;

  WINDOWPLACEMENT placement = {};
  placement.length = sizeof placement;
  GetWindowPlacement(window, &placement);
  if (placement.showCmd == SW_SHOWMAXIMIZED) {
    UpdateScrollRanges(window);
    InvalidateRect(window, nullptr, TRUE);
    return 1;
  }
  if (placement.showCmd == SW_SHOWMINIMIZED) {
    placement.showCmd = SW_RESTORE;
    SetWindowPlacement(window, &placement);
  }

  RECT windowRect;
  GetWindowRect(window, &windowRect);
  RECT desktopRect;
  GetWindowRect(GetDesktopWindow(), &desktopRect);
  const PixelRect desktop = ToPixelRect(desktopRect);
  PixelRect rect = WindowRectForImage(g_image.width, g_image.height, windowRect.left,
                                      windowRect.top, SystemFrameMetrics(), desktop);
  for (int sizing = 0; sizing < kMostSizings; ++sizing) {
    SetWindowPos(window, nullptr, 0, 0, rect.right - rect.left, rect.bottom - rect.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    UpdateScrollRanges(window);
    // A vertical bar in a window that could still grow means the menu bar
    // wrapped onto more lines (a narrow picture): grow by what the client
    // area lacks, at least one menu line, and try again.
    if (!HasStyle(window, WS_VSCROLL) || rect.bottom >= desktop.bottom) break;
    RECT client;
    GetClientRect(window, &client);
    const int32_t lacking = g_image.height - (client.bottom - client.top);
    rect.bottom += std::max<int32_t>(lacking, GetSystemMetrics(SM_CYMENU));
    rect.bottom = std::min(rect.bottom, desktop.bottom);
  }
  return 1;
}

ScrollOrigin WindowScrollOrigin(HWND window) {
  return ScrollOrigin{GetScrollPos(window, SB_HORZ), GetScrollPos(window, SB_VERT)};
}
