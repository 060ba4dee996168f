#pragma once
// Pictures for end-to-end checks: what the core builds for a plot, turned
// into screen colours, and comparisons with screen captures.

#include <cstdint>
#include <string>

#include "engine/plot_record.h"
#include "engine/ui_host.h"
#include "zirn_driver.h"

namespace e2e {

// A UiHost for core work done inside a test: never stops, shows nothing.
class NeverStopHost : public UiHost {
 public:
  int PumpOneMessage(int*) override { return 0; }
  void DrawPixel(int32_t, int32_t, uint32_t) override {}
  void SetTitle(const char*) override {}
  void ShowMessage(const char*, const char*, MessageIcon) override {}
};

// Pixels of exactly `colour` in the rectangle (inclusive bounds).
int CountColour(const Picture& picture, uint32_t colour, int left, int top, int right, int bottom);

// The picture zirn.exe shows for a record with the default palette: the core
// computes the counts and builds the 4-bit image, here turned into 0x00RRGGBB.
Picture CorePicture(PlotRecord record);
// The first plot of a fresh start: the whole view at 400 x 400.
Picture DefaultViewPicture();

// The part of `expected` from (sourceX, sourceY) on, as far as it fits, is
// what `shown` holds from its top-left corner.
bool ShowsAt(const Picture& shown, const Picture& expected, int sourceX, int sourceY);
// The first differing pixel of the same comparison, for failure messages.
std::string DescribeDifference(const Picture& shown, const Picture& expected, int sourceX,
                               int sourceY);

// Waits until zirn's client area shows `expected` from its top-left corner.
// Under Wine on a bare X server a window now and then never gets the paint
// that its own invalidation or an uncovering asks for; after 3 s the window is
// asked to repaint once, as a window manager would, and that is logged, so
// that the check is of the picture, not of the X server. On failure,
// *difference (when given) tells the first differing pixel.
bool ShowsSoon(const ZirnProcess& zirn, const Picture& expected,
               int timeoutMs = kDefaultTimeoutMs, std::string* difference = nullptr);

// Writes a picture as a 24-bit BMP file (for looking at failures and docs).
bool SavePicture(const Picture& picture, const std::string& fileName);

}  // namespace e2e
