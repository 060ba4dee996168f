#pragma once
// Which arithmetic computes a record's counts: the integer plotters when the
// record asks for them, the deep arithmetic when the record forces it (flag
// 0x1000) or when the 80-bit coordinates no longer resolve its view
// (deep/view_precision.h), the 80-bit plotters otherwise. RunPlot plots by it, and
// a record whose counts come from elsewhere (a data file) can be labelled
// with it.

#include <cstddef>

#include "engine/plot_record.h"

PlottedArithmetic ChoosePlotArithmetic(const PlotRecord& record);

// A height a view can have: a positive number no larger than the largest
// double (a text's 1e999 is an infinity) and no deeper than the deepest
// height the deep arithmetic serves (DeepHeightServed). Taken from the
// precise form where the double field holds its rounding (plot_record.h).
bool PlottableHeight(const PlotRecord& record);

// The deepest height PlottableHeight accepts, as "1e-10000" (the text the
// messages name); the length, or 0 when out is too small.
size_t FormatDeepestHeight(char* out, size_t size);

// True when no plotter is to compute the record: its height is not
// plottable. The integer arithmetic refuses finite heights of 0 and below
// itself (kPlotRefused), as it always has.
bool HeightRefused(const PlotRecord& record);
