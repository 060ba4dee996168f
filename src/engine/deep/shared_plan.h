#pragma once
// One reference for many deep plots around the same point, as the keyframes
// of a zoom movie are: they share their centre, so the reference orbits at
// the centre are computed once, and each plot adds only its own pixels'
// offsets from that point and its approximation tables.

#include <cstdint>
#include <memory>

#include "engine/deep/reference.h"
#include "engine/plot_record.h"
#include "engine/ui_host.h"

class SharedDeepReference {
 public:
  // Computes the orbits at (re, im) for plots of the record's kind (and Julia
  // constant) at the deep tier of at least `bits` for the effective limit
  // `limit`. For the Mandelbrot set, when that orbit escapes, the reference
  // moves to the pixel of a coarse grid over the record's view that lives
  // longest, as a single plot chooses its reference: give the smallest of the
  // views that will share it. Returns 0, a stop code (105, 121) or
  // kReferenceNoMemory.
  int Compute(UiHost& host, const PlotRecord& record, unsigned bits, const PreciseCoordinate& re,
              const PreciseCoordinate& im, uint32_t limit);

  const DeepReference& Orbits() const { return orbits_; }
  const PreciseCoordinate& Re() const { return re_; }
  const PreciseCoordinate& Im() const { return im_; }
  unsigned Bits() const { return bits_; }
  uint32_t Limit() const { return limit_; }

 private:
  DeepReference orbits_;
  PreciseCoordinate re_;
  PreciseCoordinate im_;
  unsigned bits_ = 0;
  uint32_t limit_ = 0;
};

// The plan of the record's plot around the shared reference: its orbits as
// they are (the reference must outlive the plan), the pixels' offsets from
// its point and the approximation tables.
// Returns 0 or kReferenceNoMemory.
struct DeepPlan;
int PrepareSharedDeepPlan(const PlotRecord& record, const SharedDeepReference& shared,
                          std::unique_ptr<DeepPlan>* plan);

// Plots the record with the deep plotter around the shared reference, which
// must have been computed for the record's kind, Julia constant and effective
// limit (otherwise the plot is refused). Sets plottedArithmetic and
// referenceBits as RunPlot does. Returns 0, a stop code, 1 (refused), or
// kLinesNotStarted when memory or threads are short, with nothing computed.
int PlotDeepAround(UiHost& host, PlotRecord& record, const SharedDeepReference& shared,
                   int threads);
