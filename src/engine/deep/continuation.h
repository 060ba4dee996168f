#pragma once
// What a deep pixel needs beyond its reference orbit: a way to learn that the
// plot is being stopped, and the continuation of an orbit that was cut short
// for memory, where a pixel that has not yet drawn away from the reference
// goes on in the deep arithmetic itself.

#include <cstdint>

#include "engine/deep/formula.h"
#include "engine/deep/wide.h"

// Asked every few thousand iterations of a long pixel.
class StopSignal {
 public:
  virtual ~StopSignal() = default;
  virtual bool Stopping() = 0;
};

// Iterations between two questions to a StopSignal: well under a millisecond
// of 80-bit steps, a few milliseconds of deep ones.
constexpr uint32_t kIterationsPerStopCheck = 4096;

class OrbitContinuation {
 public:
  virtual ~OrbitContinuation() = default;
  // A pixel at the orbit's last point Z_last with delta dz, constant delta dc
  // and `count` iterations behind it: iterates z = Z_last + dz with
  // c = C + dc in the deep arithmetic, as the plain plotter does, and returns
  // its count. False, with nothing stored, when a stop came first.
  virtual bool Count(const WideDelta& dz, const WideDelta& dc, uint32_t count, uint32_t limit, StopSignal* stop,
                     uint32_t* result) const = 0;
};
