#pragma once
// What the parameter and size dialogs show and the parameter text they
// compose from it. The dialog procedures only copy these fields to and from
// their controls.

#include <cstddef>

#include "engine/deep/view_precision.h"
#include "engine/plot_record.h"

// An edit's first line and the terminating NUL: room for a coordinate of the
// most digits (kMostCoordinateDigits, about 10,000 for a view 1e-10000 high).
// The fields are large: callers keep them on the heap.
constexpr size_t kFieldTextSize = kMostCoordinateDigits + 32;

// The edits of the corner and centre dialogs.
struct RegionFields {
  char x[kFieldTextSize] = {};
  char y[kFieldTextSize] = {};
  char height[kFieldTextSize] = {};
  char juliaR[kFieldTextSize] = {};
  char juliaI[kFieldTextSize] = {};
  char limit[kFieldTextSize] = {};
};

// The edits and the method list of the size dialog.
struct SizeFields {
  char width[kFieldTextSize] = {};
  char height[kFieldTextSize] = {};
  char limit[kFieldTextSize] = {};
  int selection = -1;  // 0-based list entry, -1 for none
};

// The record's lower-left corner, height, limit and (for a Julia set) constant.
void FillLowerLeftFields(const PlotRecord& record, RegionFields& fields);
// The same with the centre of the picture on display instead of the corner.
void FillCentreFields(const PlotRecord& record, RegionFields& fields);
// "全体図": the whole view of the Mandelbrot set by its corner or its centre.
void FillWholeViewLowerLeft(RegionFields& fields);
void FillWholeViewCentre(RegionFields& fields);

// "x..y..h.." with the Julia part, the limit and "g ", from the corner fields.
void ComposeLowerLeftText(const RegionFields& fields, char* out, size_t size);
// The same from the centre fields: the centre is turned back into the
// lower-left corner with the current record's image proportions.
void ComposeCentreText(const RegionFields& fields, const PlotRecord& current, char* out,
                       size_t size);

void FillSizeFields(const PlotRecord& record, SizeFields& fields);
// "窓のｻｲｽﾞ": the client area's width and its height less one line.
void FillWindowSize(int clientWidth, int clientHeight, SizeFields& fields);
// "X..Y..n..m.." and then "z " (only the method changed), "g " (size or limit
// changed) or nothing. Returns false when there is nothing to send.
bool ComposeSizeText(const SizeFields& fields, const PlotRecord& current, char* out, size_t size);
