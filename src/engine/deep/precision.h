#pragma once
// How many mantissa bits the deep arithmetic of a view needs. The deep
// plotters are compiled for a few widths (tiers); a plot computes at the
// narrowest tier that places every pixel far more finely than its step.

#include <cstdint>

#include "engine/plot_record.h"
#include "engine/precise_coordinate.h"

// The mantissa widths the deep plotters are compiled for, narrowest first,
// each at most half as wide again as the one before, so that a
// view computes at little more than the width it needs; the time of an
// iteration grows with the square of the width. The widest is twice the
// precise coordinates' width: no view needs it, it checks that the view's own
// width is enough.
constexpr unsigned kDeepTiers[] = {128,   256,   384,   512,       768,          1024,
                                   1536,  2048,  3072,  4096,      6144,         8192,
                                   12288, 16384, 24576, kDeepBits, 2 * kDeepBits};
constexpr unsigned kWidestDeepTier = 2 * kDeepBits;

// Bits kept beyond those that resolve the pixel step: rounding errors grow
// with the iterations (by a few bits over the largest limit) and must stay far
// below a pixel, so that no count depends on them.
constexpr unsigned kDeepGuardBits = 48;

// The deepest height whose pixels' offsets are 80-bit numbers: 1e-4900.
// Those are normal down to about 3.4e-4932; a view this high on 4000 lines
// leaves them 28 powers of ten above that for their own steps. Deeper views
// scale their offsets by a power of two and hold their small deltas wide
// (wide.h).
constexpr int kDeepestX87HeightExponent = -4900;
constexpr long double kDeepestX87HeightLog2 = kDeepestX87HeightExponent * 3.32192809488736234787L;

// The deepest height the deep plotters serve: 1e-10000. Its pixel step on
// 4000 lines, 2^-33231, resolved at a size of 4 with the guard bits, takes
// 33,281 of the precise coordinates' 33,408 bits.
constexpr int kDeepestHeightExponent = -10000;
constexpr long double kDeepestHeightLog2 = kDeepestHeightExponent * 3.32192809488736234787L;

// log2 of a height given by its double field and precise form (the precise
// form while the field holds its rounding), at any depth; NaN for a height
// that is no finite positive number.
long double HeightLog2(double field, const PreciseCoordinate& precise);

// True when the record's height (for the next plot) is a finite positive
// number no smaller than the deepest height served.
bool DeepHeightServed(const PlotRecord& record);

// The power of two by which the view's pixel offsets are scaled (its shown
// height): 0 for a view no deeper than 1e-4900 (a Julia view: 1e-2450), else
// about -log2 of its height, so that the scaled offsets are near 1.
int32_t DeepOffsetScale(const PlotRecord& record);

// The narrowest tier of at least `bits`; the widest when none is.
unsigned DeepTierAtLeast(unsigned bits);
// The narrowest tier above `bits`; the widest when none is.
unsigned NextDeepTier(unsigned bits);

// Bits that resolve the view's pixel step at the size of its coordinates
// (at least 4, the size of the orbits' points; for a Julia set also the
// constant), plus the guard bits; at most the precise coordinates' width.
// The step is the record's height over its lines. A Julia view whose pixels
// pass near the critical point 0 before they spread needs more: there they
// are squared, and the bits must resolve the square of their size.
unsigned DeepBitsNeeded(const PlotRecord& record);

// For a Julia view: the bits (without guard bits) that resolve, at the size
// of the orbits' points, the smallest pixel image the view's pixels pass
// through before they spread apart again (their images grow back or their
// orbit escapes). 0 for a Mandelbrot view, and for one whose pixel images
// never spread again within the limit: pixels drawn together in a basin keep
// the same count however coarsely they are resolved.
unsigned JuliaSpreadBits(const PlotRecord& record);
