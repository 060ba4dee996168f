#include "shell/selection_report.h"

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "engine/deep/real.h"
#include "engine/deep/view_precision.h"
#include "engine/plot_arithmetic.h"
#include "engine/ui_host.h"
#include "engine/deep/view_height.h"
#include "shell/command_state.h"
#include "shell/titles.h"

namespace {

constexpr int kMinimumRegionRows = 2;
constexpr size_t kRoundingTextSize = 64;
constexpr size_t kReportTextSize = 128;
constexpr size_t kMessageSize = 128;

int32_t Min(int32_t a, int32_t b) { return a < b ? a : b; }
int32_t Max(int32_t a, int32_t b) { return a > b ? a : b; }

// A coordinate moved by a selection goes through text so that it carries no
// more digits than the parameter text keeps, and a saved region reads back
// as the same plot: 18 digits of the 80-bit sum while the view on display is
// an 80-bit one and the new view needs no more, otherwise the digits of the
// deep view (at least 18) from the exact sum. A deep view's coordinate that
// needs few digits is thus moved by the exact height too: the double height's
// last bits, carried down through many zooms, would move the view away from
// the point zoomed into.
void MoveCoordinate(long double& field, PreciseCoordinate& precise, int32_t pixels,
                    long double step, const DeepReal& exactStep, long double newStepLog,
                    bool deep) {
  const long double moved = field + pixels * step;
  std::string text(kMostCoordinateDigits + 16, '\0');
  int digits = DigitsNeeded(moved, newStepLog);
  if (deep && digits < kExtendedDigits) digits = kExtendedDigits;
  if ((!deep && digits <= kExtendedDigits) ||
      FormatDeepReal(ExactCoordinate(field, precise) + pixels * exactStep, digits, text.data(),
                     text.size()) == 0) {
    std::snprintf(text.data(), text.size(), "%-20.18Lg\n", moved);
  }
  SetCoordinateFromText(text.c_str(), field, precise);
}

double RoundTo15Digits(long double value) {
  char text[kRoundingTextSize];
  std::snprintf(text, sizeof text, "%-17.15g\n", static_cast<double>(value));
  return std::strtod(text, nullptr);
}

// The plane step of one pixel of the picture on display.
long double PixelStep(const PlotRecord& record) {
  return static_cast<long double>(record.shownHeight) / record.shownSizeY;
}

// Moves R's corner to the rectangle's lower-left corner in the plane, with
// the digits a view of step log newStepLog needs; `deep` tells whether the
// view on display is a deep one.
void MoveCorner(PlotRecord& record, const SelectionRect& rect, ScrollOrigin scroll,
                long double step, long double newStepLog, bool deep) {
  const int32_t h = scroll.horizontal;
  const int32_t v = scroll.vertical;
  const DeepReal exactStep = ShownHeightOf(record) / record.shownSizeY;
  MoveCoordinate(record.x, record.preciseX, Min(rect.left + h, rect.right + h), step, exactStep,
                 newStepLog, deep);
  MoveCoordinate(record.y, record.preciseY, record.shownSizeY - Max(rect.top + v, rect.bottom + v),
                 step, exactStep, newStepLog, deep);
  record.shownSizeY = record.sizeY;
}

// The height `rows` pixels of the picture span, rounded to the 15 digits the
// parameter text keeps: in 80 bits while the picture's height and the new
// one are normal doubles, as always, and from the precise height below. The
// precise form is that of the 15 digits, as the text read back gives it.
void SpannedHeight(const PlotRecord& record, int32_t rows, double& height,
                   PreciseCoordinate& precise) {
  const double rounded = RoundTo15Digits(PixelStep(record) * rows);
  if (record.shownHeight >= DBL_MIN && std::isfinite(rounded) && rounded >= DBL_MIN) {
    char text[kRoundingTextSize];
    std::snprintf(text, sizeof text, "%.15g", rounded);
    SetHeightFromText(text, height, precise);
    return;
  }
  RoundHeightTo15Digits(ShownHeightOf(record) / record.shownSizeY * rows, height, precise);
}

void ShowZoomLimit(UiHost& ui) {
  char deepest[32] = "";
  FormatDeepestHeight(deepest, sizeof deepest);
  char text[kMessageSize];
  std::snprintf(text, sizeof text, "これ以上は拡大できません (高さの下限 %s)", deepest);
  ui.ShowMessage(text, kProgramName, MessageIcon::Information);
}

}  // namespace

// A record with no lines on display has no pixel step; nothing is selected.
bool SelectionToRegion(PlotRecord& record, const SelectionRect& rect, ScrollOrigin scroll) {
  const int32_t rows = std::abs(rect.top - rect.bottom);
  if (rows < kMinimumRegionRows || record.shownSizeY <= 0) {
    record.pending = 0;
    return true;
  }
  const bool deep = NeedsDeepArithmetic(record);
  const double height = record.height;
  const PreciseCoordinate preciseHeight = record.preciseHeight;
  SpannedHeight(record, rows, record.height, record.preciseHeight);
  // Deeper than the deep arithmetic serves, the view could not be plotted.
  if (!PlottableHeight(record)) {
    record.height = height;
    record.preciseHeight = preciseHeight;
    record.pending = 0;
    return false;
  }
  const long double newStepLog = ViewStepLog(record.height, record.preciseHeight, record.sizeY);
  MoveCorner(record, rect, scroll, PixelStep(record), newStepLog, deep);
  ShowHeight(record);
  record.pending = 1;
  return true;
}

void SelectionToPoint(PlotRecord& record, const SelectionRect& rect, ScrollOrigin scroll) {
  // The point keeps the digits of the view it was picked in.
  if (record.shownSizeY > 0) {
    MoveCorner(record, rect, scroll, PixelStep(record),
               ViewStepLog(record.shownHeight, record.preciseShownHeight, record.shownSizeY),
               NeedsDeepArithmetic(record));
  }
  record.height = record.shownHeight = 0;
  record.pending = 0;
}

void FormatSelectionReport(const PlotRecord& zoom, char* out, size_t size) {
  if (zoom.flags & kFlagJuliaStart) {
    std::snprintf(out, size, " (x=%Lg y=%Lg)", zoom.x, zoom.y);
  } else {
    char height[kRoundingTextSize] = "";
    FormatShortHeight(zoom.height, zoom.preciseHeight, height, sizeof height);
    std::snprintf(out, size, " (x=%Lg y=%Lg h=%s)", zoom.x, zoom.y, height);
  }
}

void ReportSelection(UiHost& ui, const SelectionRect& rect, ScrollOrigin scroll) {
  PlotRecord& zoom = g_commands.zoom;
  zoom = g_commands.current;
  zoom.rows = nullptr;  // the counts stay with the current record alone
  if (zoom.flags & kFlagJuliaStart) {
    SelectionToPoint(zoom, rect, scroll);
  } else if (!SelectionToRegion(zoom, rect, scroll)) {
    ShowZoomLimit(ui);
    return;
  }
  char text[kReportTextSize];
  FormatSelectionReport(zoom, text, sizeof text);
  SetPlotTitle(ui, text);
}
