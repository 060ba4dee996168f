#pragma once
// Which arithmetic computes a record's counts: the integer plotters when the
// record asks for them, the deep arithmetic when the record forces it (flag
// 0x1000) or when the 80-bit coordinates no longer resolve its view
// (view_precision.h), the 80-bit plotters otherwise. RunPlot plots by it, and
// a record whose counts come from elsewhere (a data file) can be labelled
// with it.

#include "engine/plot_record.h"

PlottedArithmetic ChoosePlotArithmetic(const PlotRecord& record);
