#pragma once
// How many digits a view's coordinates need, and with it whether the 80-bit
// plotters resolve the view. One rule serves the parameter text, the dialogs,
// the selection and the choice of arithmetic, so that a view written with the
// 18 digits of an 80-bit coordinate is always plotted in 80 bits, and a view
// that needs more is written with more and plotted with the deep arithmetic.

#include <cstdint>

#include "engine/plot_record.h"

// The digits an 80-bit coordinate is written with.
constexpr int kExtendedDigits = 18;
// Never more digits than this (heights end near 1e-308, the precise form
// holds about 366 digits).
constexpr int kMostCoordinateDigits = 350;

// The pixel step of a view of `height` over `sizeY` lines, from the height as
// the parameter text carries it (15 significant digits), so that a text read
// back asks for the same digits as the record it was written from. 0 when the
// view has no positive step.
long double ViewStep(double height, int32_t sizeY);

// Significant digits that put `coordinate` within a thousandth of `step`:
// one more than the decimal places from its leading digit down to three
// places finer than the step. At least 1, at most kMostCoordinateDigits; 0
// for a coordinate of 0 or a step that is not positive.
int DigitsNeeded(long double coordinate, long double step);

// The digits each coordinate of the record is written and shown with: the
// 18 of an 80-bit value, or more where the view needs them.
int CoordinateDigits(long double coordinate, const PlotRecord& record);

// True when some corner of the view or (for a Julia set) its constant needs
// more than 18 digits: the 80-bit plotters no longer resolve the view.
bool NeedsDeepArithmetic(const PlotRecord& record);
