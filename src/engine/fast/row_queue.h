#pragma once
// What the worker threads of a fast plot and the calling thread share: the
// next image line to compute (bottom line first), the lines finished so far in
// the order they finished, and the stop request.

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>

#include "engine/plot_record.h"

class RowQueue {
 public:
  // rows: the count buffer's row pointers; rowsDone: the progress counter,
  // increased once for every finished line.
  RowQueue(Count* const* rows, int32_t sizeX, int32_t sizeY, std::atomic<int32_t>& rowsDone);
  // False when the bookkeeping memory could not be had.
  bool Ready() const { return finished_ != nullptr && lineDone_ != nullptr; }

  int32_t sizeX() const { return sizeX_; }
  int32_t sizeY() const { return sizeY_; }
  Count* Row(int32_t line) const { return rows_[line]; }

  // Workers. TakeLine returns the next line to compute, or -1 when every line
  // has been handed out or a stop was asked for.
  int32_t TakeLine();
  // Every count of the line is stored: publishes it to the calling thread.
  void FinishLine(int32_t line);
  bool Stopping() const { return stop_.load(std::memory_order_relaxed); }

  // Calling thread.
  void RequestStop() { stop_.store(true, std::memory_order_relaxed); }
  // The next line finished since the last call, or -1 when none is waiting.
  // Its counts are visible to the caller.
  int32_t NextFinishedLine();
  int32_t LinesSeen() const { return linesSeen_; }
  // Waits until a line finishes or the time has passed.
  void WaitForProgress(int milliseconds);
  // After the workers have been joined: true when the line was finished.
  bool LineFinished(int32_t line) const { return lineDone_[line] != 0; }

 private:
  Count* const* rows_;
  int32_t sizeX_;
  int32_t sizeY_;
  std::atomic<int32_t>& rowsDone_;
  std::atomic<int32_t> nextLine_;
  std::atomic<bool> stop_{false};
  // finished_[k] is the k-th line to finish, -1 until its worker has stored it.
  std::unique_ptr<std::atomic<int32_t>[]> finished_;
  std::atomic<int32_t> finishedClaimed_{0};
  std::unique_ptr<uint8_t[]> lineDone_;  // each entry written by one worker only
  int32_t linesSeen_ = 0;                // calling thread only
  std::mutex mutex_;
  std::condition_variable progress_;
  uint64_t progressTicks_ = 0;  // guarded by mutex_
  uint64_t ticksSeen_ = 0;      // calling thread only
};
