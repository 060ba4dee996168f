#pragma once
// The parts of a deep plot that need the deep arithmetic, computed once per
// plot on the calling thread: the reference orbits and every pixel's offset
// from the reference point.
//
// The reference point is one of the view's pixels. Mandelbrot: one orbit, of
// 0 under the reference point as constant. Julia: the orbit of the reference
// point and the orbit of 0 (the critical point), both under the record's
// constant. The offsets are exact differences of the pixels' coordinates
// (geometry.h) and the reference point, rounded to 80 bits; in a view
// too deep for 80-bit deltas, scaled first (DeepOffsetScale).

#include <cstdint>
#include <memory>

#include "engine/deep/orbit.h"
#include "engine/plot_record.h"
#include "engine/ui_host.h"

struct DeepReference {
  ReferenceOrbit start;     // Mandelbrot: the only orbit; Julia: the reference point's
  ReferenceOrbit critical;  // Julia only: the orbit of 0
  std::unique_ptr<long double[]> columnOffsets;  // sizeX entries
  std::unique_ptr<long double[]> lineOffsets;    // sizeY entries, by image line (0 = top)
  long double largestOffset = 0;                 // of any pixel: the largest |dc| or |dz_0|
  int32_t offsetScale = 0;  // the offsets are those differences times 2^offsetScale
};

// Reference computation is returned kReferenceNoMemory when memory is short.
constexpr int kReferenceNoMemory = -1;

struct ReferencePixel {
  int32_t column;
  int32_t line;  // image line, 0 = top
};

// Reference iterations between two message steps: a few milliseconds at the
// widest tier. The step comes after the tests of the last of them.
constexpr uint32_t kReferenceIterationsPerMessageStep = 256;

// An orbit is cut no shorter than this for memory.
constexpr uint32_t kFewestReferencePoints = 4096;

// Computes the reference of the record's view at `pixel` at the deep tier of
// at least `bits` for the effective limit, its orbits at most `mostPoints`
// long (shorter when memory is short), taking a message through the host's
// message step every few milliseconds. Returns 0, a stop code of the message
// step (105, 121), or kReferenceNoMemory.
int ComputeDeepReference(UiHost& host, const PlotRecord& record, unsigned bits,
                         ReferencePixel pixel, uint32_t limit, uint32_t mostPoints,
                         DeepReference* reference);

// How an orbit ends: escaped at index n, in a cycle of period n, or neither
// within n iterations.
struct OrbitOutcome {
  enum Kind { kEscaped, kCycle, kNeither } kind;
  uint32_t n;
};

// Computes the reference's orbits again at the deep tier of at least `bits`,
// without keeping them, and sets *holds when each ends as before (the same
// escape, or a cycle of the same period); a Julia set's orbit of 0 only when
// checkCritical. Takes messages as ComputeDeepReference does; returns 0 or a
// stop code.
int CheckDeepReference(UiHost& host, const PlotRecord& record, unsigned bits, ReferencePixel pixel,
                       uint32_t limit, const DeepReference& reference, bool checkCritical,
                       bool* holds);

// Where a Mandelbrot reference's orbit ends at the deep tier of at least
// `bits`, followed as CheckDeepReference follows it but without knowing how
// far (to the limit at most): for a later ReferenceEndHolds. Takes messages
// as ComputeDeepReference does; returns 0 or a stop code.
struct FollowedEnd {
  OrbitOutcome outcome;
  uint32_t at;  // the iteration at which it ended (for a cycle, found it)
};
int FollowDeepReferenceEnd(UiHost& host, const PlotRecord& record, unsigned bits,
                           ReferencePixel pixel, uint32_t limit, FollowedEnd* end);

// The iterations a check of the Mandelbrot reference follows its orbit.
uint32_t DeepReferenceCheckLength(const DeepReference& reference, uint32_t limit);

// What CheckDeepReference would have found from the end of the orbit
// FollowDeepReferenceEnd found, or from an orbit followed `end.at` iterations
// (at least DeepReferenceCheckLength) without an end.
bool ReferenceEndHolds(const DeepReference& reference, uint32_t limit, const FollowedEnd& end);

// The orbits alone (start, and for a Julia set critical) of a reference at the
// point (re, im), which need not be one of the record's pixels, at the deep
// tier of at least `bits` for the effective limit, at most `mostPoints` long;
// the offsets are left as they are. Plots that share the point share these
// orbits. Returns as ComputeDeepReference.
int ComputeDeepOrbitsAt(UiHost& host, const PlotRecord& record, unsigned bits,
                        const PreciseCoordinate& re, const PreciseCoordinate& im, uint32_t limit,
                        uint32_t mostPoints, DeepReference* reference);

// Every pixel's offset from the point (re, im) at the deep tier of at least
// `bits`; false when memory is short.
bool ComputeDeepOffsets(const PlotRecord& record, unsigned bits, const PreciseCoordinate& re,
                        const PreciseCoordinate& im, DeepReference* reference);

// The coordinates of one of the record's pixels at the deep tier of at least
// `bits`.
void DeepPixelPoint(const PlotRecord& record, unsigned bits, ReferencePixel pixel,
                    PreciseCoordinate* re, PreciseCoordinate* im);
