#pragma once
// The count of one pixel of a deep plot, from its deltas to the reference.
//
// The pixel follows a reference orbit Z by its delta dz (deep_formula.h),
// skipping iterations with the approximation tables where they hold. When
// its point comes closer to 0 than to the reference (|Z + dz| < |dz|), or the
// reference orbit ends, it rebases: its point becomes the delta to an orbit
// that starts at the critical point 0, and it follows that orbit from its
// start. A pixel thus never strays far from the orbit it follows, which is
// what keeps the 80-bit deltas exact enough (no glitches to detect).
//
// Mandelbrot: the reference orbit starts at 0 with constant C; the pixel
// starts at Z_1 = C with dz = dc, and rebases to the same orbit's start.
// Julia: dc = 0; the pixel starts at Z_0 of the orbit of the view's
// reference point with dz = its offset from that point, and rebases to the
// orbit of 0 under the same constant, which also serves all later rebases.
//
// Where no skip holds and the delta is large (after the linear regime, most
// of a pixel's steps), steps run in doubles: with |dz| above 2^-450 and dc
// either 0 or above 2^-960 every term of a step is a normal double, and the
// relative error of 2^-53 per step moves a pixel by far less than its size.

#include <cstdint>

#include "engine/deep_bla.h"
#include "engine/deep_formula.h"
#include "engine/deep_orbit.h"

struct DeepOrbitPath {
  const DeltaPoint* points;
  const DoublePoint* doubles;  // the same points as doubles
  uint32_t last;               // the last point of the orbit
  const BlaTable* table;       // null: no skipping
};

struct DeepPixelSetup {
  DeepOrbitPath start;     // the orbit a pixel starts on
  uint32_t startIndex;     // 1 for the Mandelbrot set, 0 for a Julia set
  DeepOrbitPath critical;  // the orbit of 0, where rebasing goes
  bool julia;
  uint32_t limit;  // effective limit
};

// The count with the convention of the reference plotters: iterations until
// |z|^2 > 4, at most the limit; delta is dc (Mandelbrot) or dz_0 (Julia).
// Needs the x87 unit at 64-bit precision.
uint32_t DeepPixelCount(const DeepPixelSetup& setup, DeltaPoint delta);
