#include "commands/selection_report.h"

#include <cfloat>
#include <cstdio>
#include <cstdlib>

#include "commands/command_state.h"
#include "commands/titles.h"
#include "engine/deep_real.h"
#include "engine/ui_host.h"
#include "engine/view_precision.h"

namespace {

constexpr int kMinimumRegionRows = 2;
constexpr size_t kRoundingTextSize = 64;
constexpr size_t kReportTextSize = 128;
constexpr const char* kZoomLimit = "これ以上は拡大できません (高さの下限 2.2e-308)";

int32_t Min(int32_t a, int32_t b) { return a < b ? a : b; }
int32_t Max(int32_t a, int32_t b) { return a > b ? a : b; }

// A coordinate moved by a selection goes through text so that it carries no
// more digits than the parameter text keeps, and a saved region reads back
// as the same plot: 18 digits of the 80-bit sum while the new view needs no
// more, otherwise the digits of the deep view from the exact sum.
void MoveCoordinate(long double& field, PreciseCoordinate& precise, int32_t pixels,
                    long double step, const DeepReal& exactStep, long double newStep) {
  const long double moved = field + pixels * step;
  char text[kMostCoordinateDigits + 16];
  const int digits = DigitsNeeded(moved, newStep);
  if (digits <= kExtendedDigits ||
      FormatDeepReal(ExactCoordinate(field, precise) + pixels * exactStep, digits, text,
                     sizeof text) == 0) {
    std::snprintf(text, sizeof text, "%-20.18Lg\n", moved);
  }
  SetCoordinateFromText(text, field, precise);
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
// the digits a view of step newStep needs.
void MoveCorner(PlotRecord& record, const SelectionRect& rect, ScrollOrigin scroll,
                long double step, long double newStep) {
  const int32_t h = scroll.horizontal;
  const int32_t v = scroll.vertical;
  const DeepReal exactStep = DeepReal(record.shownHeight) / record.shownSizeY;
  MoveCoordinate(record.x, record.preciseX, Min(rect.left + h, rect.right + h), step, exactStep,
                 newStep);
  MoveCoordinate(record.y, record.preciseY, record.shownSizeY - Max(rect.top + v, rect.bottom + v),
                 step, exactStep, newStep);
  record.shownSizeY = record.sizeY;
}

}  // namespace

// A record with no lines on display has no pixel step; nothing is selected.
bool SelectionToRegion(PlotRecord& record, const SelectionRect& rect, ScrollOrigin scroll) {
  const int32_t rows = std::abs(rect.top - rect.bottom);
  if (rows < kMinimumRegionRows || record.shownSizeY <= 0) {
    record.pending = 0;
    return true;
  }
  const long double step = PixelStep(record);
  const double height = RoundTo15Digits(step * rows);
  // Below the normal doubles a height loses its digits, and then becomes 0.
  if (!(height >= DBL_MIN)) {
    record.pending = 0;
    return false;
  }
  MoveCorner(record, rect, scroll, step, ViewStep(height, record.sizeY));
  record.height = record.shownHeight = height;
  record.pending = 1;
  return true;
}

void SelectionToPoint(PlotRecord& record, const SelectionRect& rect, ScrollOrigin scroll) {
  // The point keeps the digits of the view it was picked in.
  if (record.shownSizeY > 0) {
    MoveCorner(record, rect, scroll, PixelStep(record),
               ViewStep(record.shownHeight, record.shownSizeY));
  }
  record.height = record.shownHeight = 0;
  record.pending = 0;
}

void FormatSelectionReport(const PlotRecord& zoom, char* out, size_t size) {
  if (zoom.flags & kFlagJuliaStart) {
    std::snprintf(out, size, " (x=%Lg y=%Lg)", zoom.x, zoom.y);
  } else {
    std::snprintf(out, size, " (x=%Lg y=%Lg h=%g)", zoom.x, zoom.y, zoom.height);
  }
}

void ReportSelection(UiHost& ui, const SelectionRect& rect, ScrollOrigin scroll) {
  PlotRecord& zoom = g_commands.zoom;
  zoom = g_commands.current;
  zoom.rows = nullptr;  // the counts stay with the current record alone
  if (zoom.flags & kFlagJuliaStart) {
    SelectionToPoint(zoom, rect, scroll);
  } else if (!SelectionToRegion(zoom, rect, scroll)) {
    ui.ShowMessage(kZoomLimit, kProgramName, MessageIcon::Information);
    return;
  }
  char text[kReportTextSize];
  FormatSelectionReport(zoom, text, sizeof text);
  SetPlotTitle(ui, text);
}
