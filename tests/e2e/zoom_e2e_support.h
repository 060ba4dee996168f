#pragma once
// Support of the selection and palette-tool end-to-end tests: the first plot,
// mouse gestures posted to the main window, the palette tool window, and
// pictures compared pixel by pixel with one taken before.

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <functional>
#include <string>

#include "picture_checks.h"
#include "res/resource.h"
#include "zirn_driver.h"

namespace e2e_zoom {

using e2e::Picture;
using e2e::ZirnProcess;

constexpr const char* kWholeViewTitle = "Mandel  (x=-2 y=-2 h=4) 400x400";
constexpr int kImageSize = 400;
constexpr uint32_t kInverted = 0xFFFFFF;

// Starts zirn.exe, plots the whole view and waits until it is on screen.
inline bool LaunchWithFirstPlot(ZirnProcess& zirn, Picture* shown = nullptr) {
  if (!zirn.Launch()) return false;
  zirn.PostCommand(IDM_START);
  if (!zirn.WaitForTitle(kWholeViewTitle)) return false;
  const Picture expected = e2e::DefaultViewPicture();
  const bool ok = e2e::ShowsSoon(zirn, expected);
  if (shown != nullptr) *shown = zirn.CaptureClient();
  return ok;
}

inline void Press(const ZirnProcess& zirn, int x, int y, WPARAM keys = 0) {
  zirn.PostMouse(WM_LBUTTONDOWN, x, y, MK_LBUTTON | keys);
}
inline void MoveTo(const ZirnProcess& zirn, int x, int y) {
  zirn.PostMouse(WM_MOUSEMOVE, x, y, MK_LBUTTON);
}
inline void Release(const ZirnProcess& zirn, int x, int y) {
  zirn.PostMouse(WM_LBUTTONUP, x, y, 0);
}

// A press, one move and the release at the moved-to point.
inline void Drag(const ZirnProcess& zirn, int fromX, int fromY, int toX, int toY) {
  Press(zirn, fromX, fromY);
  MoveTo(zirn, toX, toY);
  Release(zirn, toX, toY);
}

// Which image pixels a mark inverts.
using Marked = std::function<bool(int x, int y)>;

// The first image pixel that is not `before` (inverted where marked), or an
// empty text when every pixel of the image area matches.
inline std::string MarkDifference(const Picture& shown, const Picture& before,
                                  const Marked& marked) {
  if (shown.width < kImageSize || shown.height < kImageSize) return "picture too small";
  for (int y = 0; y < kImageSize; ++y) {
    for (int x = 0; x < kImageSize; ++x) {
      const uint32_t expected = marked(x, y) ? before.At(x, y) ^ kInverted : before.At(x, y);
      if (shown.At(x, y) != expected) {
        char text[96];
        std::snprintf(text, sizeof text, "pixel (%d,%d) is %06X, expected %06X", x, y,
                      shown.At(x, y), expected);
        return text;
      }
    }
  }
  return "";
}

// Waits until the screen shows `before` with exactly the marked pixels inverted.
inline ::testing::AssertionResult ShowsMark(const ZirnProcess& zirn, const Picture& before,
                                            const Marked& marked) {
  std::string difference;
  if (e2e::WaitUntil([&] {
        return (difference = MarkDifference(zirn.CaptureClient(), before, marked)).empty();
      })) {
    return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure() << difference;
}

inline Marked NothingMarked() {
  return [](int, int) { return false; };
}
// The block of the selection from (left, top) to (right, bottom), end excluded.
inline Marked BlockMarked(int left, int top, int right, int bottom) {
  return [=](int x, int y) { return x >= left && x < right && y >= top && y < bottom; };
}
// The outline of the closed rectangle [left, right] x [top, bottom].
inline Marked OutlineMarked(int left, int top, int right, int bottom) {
  return [=](int x, int y) {
    const bool inX = x >= left && x <= right;
    const bool inY = y >= top && y <= bottom;
    return (inX && (y == top || y == bottom)) || (inY && (x == left || x == right));
  };
}
// A cross-hair through (cx, cy) across the whole client area; the crossing
// pixel is inverted twice.
inline Marked CrossHairMarked(int cx, int cy) {
  return [=](int x, int y) { return (x == cx) != (y == cy); };
}

// The palette tool window of the process (a dialog titled "ﾊﾟﾚｯﾄ"), if shown.
inline HWND FindPaletteTool(const ZirnProcess& zirn) {
  struct Search {
    DWORD processId;
    HWND found;
  } search{zirn.ProcessId(), nullptr};
  EnumWindows(
      [](HWND window, LPARAM parameter) -> BOOL {
        auto* s = reinterpret_cast<Search*>(parameter);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner != s->processId || !IsWindowVisible(window)) return TRUE;
        if (e2e::DialogWindow(window).Caption() != "ﾊﾟﾚｯﾄ") return TRUE;
        s->found = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

inline bool WaitForNoPaletteTool(const ZirnProcess& zirn) {
  return e2e::WaitUntil([&] { return FindPaletteTool(zirn) == nullptr; });
}

// `before` with every pixel of colour `from` shown as `to` instead.
inline Picture Recoloured(Picture before, uint32_t from, uint32_t to) {
  for (uint32_t& pixel : before.pixels) {
    if (pixel == from) pixel = to;
  }
  return before;
}

inline ::testing::AssertionResult ShowsPicture(const ZirnProcess& zirn, const Picture& expected,
                                               int timeoutMs = e2e::kDefaultTimeoutMs) {
  std::string difference;
  if (e2e::ShowsSoon(zirn, expected, timeoutMs, &difference)) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << difference;
}

// -1 when the menu state cannot be read.
inline bool Greyed(const ZirnProcess& zirn, int item) {
  const int state = zirn.MenuItemState(item);
  return state != -1 && (state & MF_GRAYED) != 0;
}

// Posts a harmless command behind the messages posted before and waits for
// its effect, so that those have been handled too.
inline bool AllPostedHandled(const ZirnProcess& zirn) {
  const auto checked = [&](int item) {
    const int state = zirn.MenuItemState(item);
    return state != -1 && (state & MF_CHECKED) != 0;
  };
  zirn.PostCommand(IDM_INTEGER);
  if (!e2e::WaitUntil([&] { return checked(IDM_INTEGER); })) return false;
  zirn.PostCommand(IDM_REAL);
  return e2e::WaitUntil([&] { return checked(IDM_REAL); });
}

}  // namespace e2e_zoom
