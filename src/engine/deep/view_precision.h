#pragma once
// How many digits a view's coordinates need, and with it whether the 80-bit
// plotters resolve the view. One rule serves the parameter text, the dialogs,
// the selection and the choice of arithmetic, so that a Mandelbrot view
// written with the 18 digits of an 80-bit coordinate is always plotted in 80
// bits, and a view that needs more is written with more and plotted with the
// deep arithmetic. A Julia view near the critical point needs the deep
// arithmetic already where its corners need no more than 18 digits.

#include <cstdint>

#include "engine/plot_record.h"

// The digits an 80-bit coordinate is written with.
constexpr int kExtendedDigits = 18;
// Never more digits than the precise form holds (32 bits are 9.63 digits),
// and a few beyond them.
constexpr int kMostCoordinateDigits = PreciseCoordinate::kWords * 32 * 30103 / 100000 + 8;

// The decimal logarithm of the pixel step of a view `height` high (a double
// field and its precise form, plot_record.h) over `sizeY` lines, from the
// height as the parameter text carries it (15 significant digits), so that a
// text read back asks for the same digits as the record it was written from.
// Steps far below the 80-bit range have their logarithm all the same. NaN
// when the view has no positive finite step.
long double ViewStepLog(double height, const PreciseCoordinate& preciseHeight, int32_t sizeY);

// Significant digits that put `coordinate` within a thousandth of a step
// whose decimal logarithm is `stepLog`: one more than the decimal places from
// its leading digit down to three places finer than the step. At least 1, at
// most kMostCoordinateDigits; 0 for a coordinate of 0 or a stepLog that is
// not finite.
int DigitsNeeded(long double coordinate, long double stepLog);

// Significant digits that put `coordinate` within a resolution whose decimal
// logarithm is `resolutionLog`, from its leading digit; at least 1, at most
// kMostCoordinateDigits; 0 for a coordinate of 0 or a resolutionLog that is
// not finite.
int DigitsResolving(long double coordinate, long double resolutionLog);

// The digits each coordinate of the record is written and shown with: the
// 18 of an 80-bit value, or more where the view needs them.
int CoordinateDigits(long double coordinate, const PlotRecord& record);

// Mantissa bits of an 80-bit value (64) less the ten that keep a pixel image
// to a thousandth: a Julia view whose pixel images shrink below 2^-54 of the
// orbits' size (4) before they spread again is not resolved in 80 bits.
constexpr unsigned kExtendedResolvedBits = 54;

// True when the 80-bit plotters no longer resolve the view: its height lies
// below the normal doubles that they take it in, some corner of
// the view or (for a Julia set) its constant needs more than 18 digits, or
// the pixels of a Julia view pass so near the critical point 0 that squaring
// shrinks their images below kExtendedResolvedBits before they spread apart
// again (JuliaSpreadBits): a view a few pixels wide around 0 already then.
bool NeedsDeepArithmetic(const PlotRecord& record);

// The Julia constant of a deep view counts to the last bit the deep plot
// computes it with, far below the pixel step where the pixels pass near 0
// (about its square there). The absolute resolution those bits give at the
// orbits' size, as its decimal logarithm; NaN for a Mandelbrot view or one
// the 80-bit plotters resolve.
long double JuliaConstantResolution(const PlotRecord& record);

// The digits a Julia constant is written and shown with: CoordinateDigits,
// or more where `resolutionLog` (JuliaConstantResolution) asks for them, so
// that the text read back plots the same counts.
int JuliaConstantDigits(long double constant, const PlotRecord& record, long double resolutionLog);
