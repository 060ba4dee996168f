#pragma once
// Which arithmetic computes a record's counts: the integer plotters when the
// record asks for them, the deep arithmetic when the record forces it (flag
// 0x1000) or when the 80-bit coordinates no longer resolve its view
// (view_precision.h), the 80-bit plotters otherwise. RunPlot plots by it, and
// a record whose counts come from elsewhere (a data file) can be labelled
// with it.

#include "engine/plot_record.h"

PlottedArithmetic ChoosePlotArithmetic(const PlotRecord& record);

// A height a view can have: a finite positive number. A text's 1e999 or
// 1e-400 converts to an infinity or to 0, below 2^-1074 there is no double.
bool PlottableHeight(double height);

// True when no plotter is to compute the record: its height is not
// plottable. The integer arithmetic refuses finite heights of 0 and below
// itself (kPlotRefused), as it always has.
bool HeightRefused(const PlotRecord& record);
