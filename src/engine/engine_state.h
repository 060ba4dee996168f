#pragma once
// The plotting subsystem's program-wide state: the history of plots shown,
// the progress of the running plot, and the registry of live count buffers.

#include <cstddef>
#include <cstdint>

#include "engine/plot_progress.h"
#include "engine/plot_record.h"

constexpr int kHistorySize = 2;

struct PlotHistory {
  PlotRecord entries[kHistorySize];  // entries[count - 1] is the newest
  int count = 0;
};

struct CountBufferNode;

// Every buffer AllocateCountBuffer hands out, so that a release can tell a
// live buffer from one already released. Buffers are allocated and released
// on the user-interface thread only, so the registry takes no lock.
struct CountBufferRegistry {
  CountBufferNode* newest = nullptr;
  int live = 0;
  CountBufferMisuseHandler onMisuse = nullptr;  // nullptr: report and abort
  // Tests: the allocation after this many more succeed fails; -1 never.
  int allocationsBeforeFailure = -1;
};

struct EngineState {
  PlotHistory history;
  PlotProgress progress;
  CountBufferRegistry buffers;
  // Tests: a deep plot's orbit or skip table larger than this many bytes
  // fails as if memory were short.
  size_t largestDeepBlock = SIZE_MAX;
};

extern EngineState g_engine;
