#pragma once
// The count of one pixel of a deep plot, from its deltas to the reference.
//
// The pixel follows a reference orbit Z by its delta dz (formula.h),
// skipping iterations with the approximation tables where they hold. When
// its point comes closer to 0 than to the reference (|Z + dz| < |dz|), or the
// reference orbit ends, it rebases: its point becomes the delta to an orbit
// that starts at the critical point 0, and it follows that orbit from its
// start. A pixel thus never strays far from the orbit it follows, which is
// what keeps the 80-bit deltas exact enough (no glitches to detect). A pixel
// whose point after a rebase comes back exactly to that of an earlier rebase
// never escapes and gets the limit at once.
//
// Mandelbrot: the reference orbit starts at 0 with constant C; the pixel
// starts at Z_1 = C with dz = dc, and rebases to the same orbit's start.
// Julia: dc = 0; the pixel starts at Z_0 of the orbit of the view's
// reference point with dz = its offset from that point, and rebases to the
// orbit of 0 under the same constant, which also serves all later rebases.
//
// In a view too deep for 80-bit deltas, a delta below 2^-16100 is held as a
// wide delta (wide.h) and stepped exactly, one iteration at a time: while
// the reference point is not that small too, dz^2 is below 2^-140 of 2Z dz,
// beneath the rounding of the 80-bit step, and the step is 2Z dz + dc. Once
// the delta grows past 2^-16000 the pixel goes on in 80 bits, where dc,
// below 2^-16382, is beneath the rounding of every step (it counts as 0
// there, or as itself when it is a normal 80-bit number), and comes back to
// the wide delta whenever its delta shrinks below 2^-16100 again.
//
// A pixel that reaches the end of an orbit while still near it (its delta far
// smaller than its point, so that its point rounded to 80 bits would lose it)
// must not rebase, which would merge it with its neighbours: at the end of an
// orbit that came back to an earlier point it goes on from that point with
// the same delta (and never escapes when its delta there comes back exactly);
// at the end of an orbit cut short for memory it goes on in the deep
// arithmetic (continuation.h).
//
// Where no skip holds and the delta is large (after the linear regime, most
// of a pixel's steps), steps run in doubles: with |dz| above 2^-450 and dc
// either 0 or above 2^-960 every term of a step is a normal double, and the
// relative error of 2^-53 per step moves a pixel by far less than its size.

#include <algorithm>
#include <cstdint>

#include "engine/cycle_check.h"
#include "engine/deep/bla.h"
#include "engine/deep/continuation.h"
#include "engine/deep/formula.h"
#include "engine/deep/orbit.h"
#include "engine/deep/wide.h"

// Steps run in doubles while |dz|^2 is at least this (and dc allows them).
constexpr double kDoubleDeltaSquared = 0x1p-900;

struct DeepOrbitPath {
  const DeltaPoint *points;
  const DoublePoint *doubles;             // the same points as doubles
  uint32_t last;                          // the last point of the orbit
  const BlaTable *table;                  // null: no skipping
  const OrbitContinuation *continuation;  // null: the orbit was not cut short
  uint32_t wrap;  // an orbit that ended in its cycle: Z_last == Z_wrap; else kNoWrap
  const TinyOrbitPoints *tiny = nullptr;  // null: no point below the 80-bit range
};

struct DeepPixelSetup {
  DeepOrbitPath start;     // the orbit a pixel starts on
  uint32_t startIndex;     // 1 for the Mandelbrot set, 0 for a Julia set
  DeepOrbitPath critical;  // the orbit of 0, where rebasing goes
  bool julia;
  uint32_t limit;  // effective limit
  // 0: a pixel's offsets are its deltas. Otherwise they are the deltas times
  // 2^offsetScale: the view is too deep for 80-bit deltas (wide.h).
  int32_t offsetScale = 0;
};

// One pixel's count as a computation that can be resumed, so that a worker
// can step several pixels' doubles side by side: each step waits on the result
// of the one before, and a second, independent pixel fills that wait.
// Needs the x87 unit at 64-bit precision.
class DeepPixel {
 public:
  // How a double step ended.
  enum Stepped { kGoOn = 0, kFinal = 1, kBackToExtended = 2 };

  DeepPixel() = default;
  // delta is dc (Mandelbrot) or dz_0 (Julia); stop, when not null, is asked
  // every few thousand iterations.
  DeepPixel(const DeepPixelSetup &setup, const DeltaPoint &delta, StopSignal *stop = nullptr);

  // Runs in 80 bits until the count is final (true) or the pixel is ready to
  // step in doubles (false).
  bool RunExtended();
  // The count, with the convention of the reference plotters: iterations
  // until |z|^2 > 4, at most the limit.
  uint32_t Count() const { return count_; }
  // The iterations of the count that the skip tables passed over.
  uint32_t Skipped() const { return skipped_; }
  // A stop ended the pixel before its count was known.
  bool Stopped() const { return stopped_; }

  // Double steps: EnterDoubles once RunExtended returned false, then
  // StepInDoubles until it returns kFinal or kBackToExtended; after the
  // latter, RunExtended goes on.
  void EnterDoubles() { dzDouble_ = {static_cast<double>(dz_.x), static_cast<double>(dz_.y)}; }
  Stepped StepInDoubles();

  // For a worker that takes the double steps of several pixels side by side
  // (rows.cpp): the next `steps` double steps each end as kGoOn, with
  // StepInDoubles' arithmetic, unless the size tests of StepInDoubles stop
  // one; neither the orbit's end nor the limit comes within them.
  struct DoubleRun {
    const DoublePoint *reference;  // of the next step, the following ones after it
    DoublePoint dz;
    DoublePoint dc;
    uint32_t steps;
  };
  DoubleRun PlainDoubleSteps() const {
    return {path_.doubles + m_, dzDouble_, dcDouble_,
            std::min(path_.last - m_, setup_->limit - 1 - count_)};
  }
  // Records `steps` such steps, taken elsewhere, that ended at dz.
  void TookDoubleSteps(uint32_t steps, DoublePoint dz) {
    m_ += steps;
    count_ += steps;
    dzDouble_ = dz;
  }

 private:
  bool Repeats();
  bool StopAsked();
  bool WrapRepeats();
  bool Recurs(CycleCheck<long double> &points, CycleCheck<int32_t> &scales, bool &started);
  // The state a cycle check compares in a view of wide deltas: the delta's
  // canonical wide form, and whether it is held wide.
  WideDelta CycleKey() const;
  // Steps the wide delta until the count is final (true) or the delta has
  // grown into the 80-bit range (false, dz_ then holds it).
  bool RunScaled();
  void EnterScaled(const WideDelta &dz);
  // Z_m of the orbit followed, in full even below the 80-bit range.
  WideDelta ReferenceWide(uint32_t m, int32_t exponentShift) const;
  void Rescale();
  // At the end of a cut orbit, too near it to rebase.
  bool ContinueInDeepArithmetic();

  const DeepPixelSetup *setup_ = nullptr;
  DeltaPoint dc_{0, 0};
  DoublePoint dcDouble_{0, 0};
  bool doubles_ = false;      // dc allows double steps
  bool leftDoubles_ = false;  // back from doubles: the 80-bit step comes first
  DeepOrbitPath path_{};
  uint32_t m_ = 0;
  uint32_t count_ = 0;
  uint32_t skipped_ = 0;
  DeltaPoint dz_{0, 0};
  DoublePoint dzDouble_{0, 0};
  bool rebased_ = false;
  CycleCheck<long double> cycle_;  // of the points after rebases
  bool wrapped_ = false;           // since the last rebase
  CycleCheck<long double> wraps_;  // of the deltas after those wraps
  bool wide_ = false;              // the view's deltas reach below the 80-bit range
  bool scaled_ = false;            // the delta is held in dzWide_
  WideDelta dzWide_{};
  WideDelta dcWide_{{0, 0}, kWideZeroExponent};
  DeltaPoint dcScaled_{0, 0};        // dc at the scale of dzWide_'s exponent
  CycleCheck<int32_t> cycleScales_;  // in step with cycle_: the keys' exponents
  CycleCheck<int32_t> wrapScales_;   // in step with wraps_
  StopSignal *stop_ = nullptr;
  uint32_t nextStopCheck_ = 0;  // the count at which stop_ is asked next
  bool stopped_ = false;
};

// The count of one pixel (DeepPixel run to the end); *stopped (when not
// null) tells whether a stop ended it first.
uint32_t DeepPixelCount(const DeepPixelSetup &setup, DeltaPoint delta, StopSignal *stop = nullptr,
                        bool *stopped = nullptr);
