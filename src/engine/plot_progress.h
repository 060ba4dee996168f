#pragma once
// Progress of the running plot: read by the progress timer and, through the
// effective limit, by the integer count functions.

#include <atomic>
#include <cstddef>
#include <cstdint>

constexpr uint32_t kMaximumLimit = 30000;
// The largest limit of the deep arithmetic, whose counts are not bound to the
// 16 bits of the 80-bit and integer plotters.
constexpr uint32_t kMaximumDeepLimit = 100000000;
// The title buffer of the progress timer; "%d / %d" needs at most 24 bytes.
constexpr size_t kProgressTitleSize = 64;

// Atomic because the progress timer and a threaded plotter read the counters
// while a plot writes them.
struct PlotProgress {
  std::atomic<int32_t> rowsDone{0};
  std::atomic<int32_t> rowsTotal{0};
  std::atomic<uint32_t> effectiveLimit{1};  // iteration limit of the running plot
  std::atomic<uintptr_t> timerId{0};        // progress timer, 0 when not running
};

// The record's limit read as unsigned: above 30000 (negative values too)
// becomes 30000, 0 becomes 1.
uint32_t EffectiveLimit(int32_t limit);
// The same for the deep arithmetic, with kMaximumDeepLimit in place of 30000.
uint32_t EffectiveDeepLimit(int32_t limit);

// "rowsDone / rowsTotal" into buffer, cut to size - 1 characters; returns
// false when size is 0 or the text was cut.
bool FormatProgressTitle(char* buffer, size_t size, int32_t rowsDone, int32_t rowsTotal);
