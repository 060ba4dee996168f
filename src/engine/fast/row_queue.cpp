#include "engine/fast/row_queue.h"

#include <new>

RowQueue::RowQueue(Count* const* rows, int32_t sizeX, int32_t sizeY, std::atomic<int32_t>& rowsDone)
    : rows_(rows),
      sizeX_(sizeX),
      sizeY_(sizeY),
      rowsDone_(rowsDone),
      nextLine_(sizeY - 1),
      finished_(new (std::nothrow) std::atomic<int32_t>[static_cast<size_t>(sizeY)]),
      lineDone_(new (std::nothrow) uint8_t[static_cast<size_t>(sizeY)]()) {
  if (finished_ == nullptr) return;
  for (int32_t k = 0; k < sizeY; ++k) finished_[k].store(-1, std::memory_order_relaxed);
}

int32_t RowQueue::TakeLine() {
  if (Stopping()) return -1;
  const int32_t line = nextLine_.fetch_sub(1, std::memory_order_relaxed);
  return line >= 0 ? line : -1;
}

void RowQueue::FinishLine(int32_t line) {
  lineDone_[line] = 1;
  const int32_t slot = finishedClaimed_.fetch_add(1, std::memory_order_relaxed);
  finished_[slot].store(line, std::memory_order_release);
  rowsDone_.fetch_add(1, std::memory_order_relaxed);
  {
    std::lock_guard<std::mutex> lock(mutex_);
    ++progressTicks_;
  }
  progress_.notify_one();
}

int32_t RowQueue::NextFinishedLine() {
  if (linesSeen_ >= sizeY_) return -1;
  const int32_t line = finished_[linesSeen_].load(std::memory_order_acquire);
  if (line >= 0) ++linesSeen_;
  return line;
}

void RowQueue::WaitForProgress(int milliseconds) {
  std::unique_lock<std::mutex> lock(mutex_);
  progress_.wait_for(lock, std::chrono::milliseconds(milliseconds),
                     [this] { return progressTicks_ != ticksSeen_; });
  ticksSeen_ = progressTicks_;
}
