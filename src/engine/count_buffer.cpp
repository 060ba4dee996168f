#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <new>

#include "engine/engine_state.h"
#include "engine/plot_record.h"

// A buffer and its place in the registry of live buffers. The registry is a
// list walked by address, so a release never reads through a pointer that
// might already have been freed.
struct CountBufferNode {
  CountBuffer buffer;
  CountBufferNode* older;
  CountBufferNode* newer;
};

namespace {

void ReportAndAbort(const char* what) {
  std::fprintf(stderr, "Zirn: count buffer misuse: %s\n", what);
  std::abort();
}

void ReportMisuse(const char* what) {
  CountBufferMisuseHandler handler = g_engine.buffers.onMisuse;
  (handler != nullptr ? handler : ReportAndAbort)(what);
}

// Fault injection for tests; counts down to the allocation that fails.
bool AllocationAllowed() {
  int& remaining = g_engine.buffers.allocationsBeforeFailure;
  if (remaining < 0) return true;
  if (remaining == 0) return false;
  --remaining;
  return true;
}

template <typename T>
T* AllocateArray(size_t length) {
  return AllocationAllowed() ? new (std::nothrow) T[length]() : nullptr;
}

CountBufferNode* FindLive(const CountBuffer* buffer) {
  for (CountBufferNode* node = g_engine.buffers.newest; node != nullptr; node = node->older) {
    if (&node->buffer == buffer) return node;
  }
  return nullptr;
}

void Register(CountBufferNode* node) {
  CountBufferRegistry& registry = g_engine.buffers;
  node->older = registry.newest;
  node->newer = nullptr;
  if (registry.newest != nullptr) registry.newest->newer = node;
  registry.newest = node;
  ++registry.live;
}

void Unregister(CountBufferNode* node) {
  CountBufferRegistry& registry = g_engine.buffers;
  if (node->newer != nullptr)
    node->newer->older = node->older;
  else
    registry.newest = node->older;
  if (node->older != nullptr) node->older->newer = node->newer;
  --registry.live;
}

// Releases the rows present and the row array, by the buffer's own shape.
void ReleaseRows(CountBuffer& buffer) {
  for (int32_t row = 0; row < buffer.sizeY; ++row) delete[] buffer.rows[row];
  delete[] buffer.rows;
}

}  // namespace

CountBufferMisuseHandler SetCountBufferMisuseHandler(CountBufferMisuseHandler handler) {
  CountBufferMisuseHandler previous = g_engine.buffers.onMisuse;
  g_engine.buffers.onMisuse = handler;
  return previous;
}

CountBuffer* AllocateCountBuffer(const PlotRecord& record) {
  // Sizes are checked where parameters enter; this guards the arithmetic.
  if (record.sizeX <= 0 || record.sizeY <= 0 || record.sizeX > INT32_MAX / 2) return nullptr;
  CountBufferNode* node = AllocationAllowed() ? new (std::nothrow) CountBufferNode{} : nullptr;
  if (node == nullptr) return nullptr;
  CountBuffer& buffer = node->buffer;
  buffer.sizeX = record.sizeX;
  buffer.sizeY = record.sizeY;
  // Zero-filled, so a failure part-way can release exactly the rows obtained.
  buffer.rows = AllocateArray<Count*>(static_cast<size_t>(buffer.sizeY));
  if (buffer.rows == nullptr) {
    delete node;
    return nullptr;
  }
  for (int32_t row = 0; row < buffer.sizeY; ++row) {
    buffer.rows[row] = AllocateArray<Count>(static_cast<size_t>(buffer.sizeX));
    if (buffer.rows[row] == nullptr) {
      ReleaseRows(buffer);
      delete node;
      return nullptr;
    }
  }
  Register(node);
  return &buffer;
}

void FreeCountBuffer(PlotRecord& record) {
  if (record.rows == nullptr) return;
  CountBufferNode* node = FindLive(record.rows);
  if (node == nullptr) {
    ReportMisuse("release of a buffer that was already released or never allocated");
    return;
  }
  const bool sizeChanged = node->buffer.sizeY != record.sizeY;
  Unregister(node);
  ReleaseRows(node->buffer);
  delete node;
  if (sizeChanged) ReportMisuse("release with a record whose sizeY differs from its buffer");
}

void DiscardCountBuffer(PlotRecord& record) {
  FreeCountBuffer(record);
  record.rows = nullptr;
}

bool CountBufferFits(const PlotRecord& record) {
  if (record.rows == nullptr) {
    ReportMisuse("plot into a record without a count buffer");
    return false;
  }
  const CountBufferNode* node = FindLive(record.rows);
  if (node == nullptr) {
    ReportMisuse("plot into a released count buffer");
    return false;
  }
  if (node->buffer.sizeX != record.sizeX || node->buffer.sizeY != record.sizeY) {
    ReportMisuse("plot into a count buffer of another size");
    return false;
  }
  return true;
}

int LiveCountBufferCount() { return g_engine.buffers.live; }
