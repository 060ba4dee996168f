#pragma once
// The selection report: a mouse selection turned into the region of the next
// plot, or into the picked point that becomes a Julia constant.

#include <cstddef>

#include "engine/plot_record.h"
#include "shell/selection.h"

class UiHost;

// The main window's scroll positions: the picture pixel at the client origin.
struct ScrollOrigin {
  int32_t horizontal = 0;
  int32_t vertical = 0;
};

// The rectangle becomes the region of R: its lower-left corner in the plane
// (rounded to 18 significant digits) and the height its pixel height spans
// (rounded to 15), with R's pending set to 1. A rectangle under 2 pixels high
// sets pending to 0 and leaves R's region as it was. So does one whose
// height would lie below the smallest normal double (about 2.2e-308, where a
// height no longer keeps its 15 digits): then the result is false.
bool SelectionToRegion(PlotRecord& record, const SelectionRect& rect, ScrollOrigin scroll);
// The rectangle's lower-left corner becomes R's x and y; heights and pending 0.
void SelectionToPoint(PlotRecord& record, const SelectionRect& rect, ScrollOrigin scroll);

// " (x=%Lg y=%Lg)" for a picked point, " (x=%Lg y=%Lg h=%g)" for a region.
void FormatSelectionReport(const PlotRecord& zoom, char* out, size_t size);

// Command 199: copies the current record into the zoom record, applies the
// selection as a point (Julia start armed) or as a region, and shows it in
// the title.
void ReportSelection(UiHost& ui, const SelectionRect& rect, ScrollOrigin scroll);
