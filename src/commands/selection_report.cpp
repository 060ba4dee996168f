#include "commands/selection_report.h"

#include <cstdio>
#include <cstdlib>

#include "commands/command_state.h"
#include "commands/titles.h"

namespace {

constexpr int kMinimumRegionRows = 2;
constexpr size_t kRoundingTextSize = 64;
constexpr size_t kReportTextSize = 128;

int32_t Min(int32_t a, int32_t b) { return a < b ? a : b; }
int32_t Max(int32_t a, int32_t b) { return a > b ? a : b; }

// The corner goes through text so that it carries no more digits than the
// parameter text keeps; a saved region then reads back as the same plot.
long double RoundTo18Digits(long double value) {
  char text[kRoundingTextSize];
  std::snprintf(text, sizeof text, "%-20.18Lg\n", value);
  return std::strtold(text, nullptr);
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

// Moves R's corner to the rectangle's lower-left corner in the plane.
void MoveCorner(PlotRecord& record, const SelectionRect& rect, ScrollOrigin scroll,
                long double step) {
  const int32_t h = scroll.horizontal;
  const int32_t v = scroll.vertical;
  record.x += Min(rect.left + h, rect.right + h) * step;
  record.y += (record.shownSizeY - Max(rect.top + v, rect.bottom + v)) * step;
  record.x = RoundTo18Digits(record.x);
  record.y = RoundTo18Digits(record.y);
  record.shownSizeY = record.sizeY;
}

}  // namespace

// A record with no lines on display has no pixel step; nothing is selected.
void SelectionToRegion(PlotRecord& record, const SelectionRect& rect, ScrollOrigin scroll) {
  const int32_t rows = std::abs(rect.top - rect.bottom);
  if (rows < kMinimumRegionRows || record.shownSizeY <= 0) {
    record.pending = 0;
    return;
  }
  const long double step = PixelStep(record);
  MoveCorner(record, rect, scroll, step);
  record.height = RoundTo15Digits(step * rows);
  record.shownHeight = record.height;
  record.pending = 1;
}

void SelectionToPoint(PlotRecord& record, const SelectionRect& rect, ScrollOrigin scroll) {
  if (record.shownSizeY > 0) MoveCorner(record, rect, scroll, PixelStep(record));
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
  } else {
    SelectionToRegion(zoom, rect, scroll);
  }
  char text[kReportTextSize];
  FormatSelectionReport(zoom, text, sizeof text);
  SetPlotTitle(ui, text);
}
