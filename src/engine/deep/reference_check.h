#pragma once
// The check of a Mandelbrot reference at the tier above (CheckDeepReference)
// on a thread of its own while the calling thread computes the reference:
// run after the reference, the check, at more bits, more than doubled the
// preparation of a deep view, while the other processor waited.

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>

#include "engine/deep/reference.h"
#include "engine/worker_threads.h"

class ConcurrentReferenceCheck {
 public:
  ConcurrentReferenceCheck() = default;
  ~ConcurrentReferenceCheck() { End(); }
  ConcurrentReferenceCheck(const ConcurrentReferenceCheck&) = delete;
  ConcurrentReferenceCheck& operator=(const ConcurrentReferenceCheck&) = delete;

  // Starts following the orbit of `pixel` at the tier of at least `bits`;
  // false when no thread starts (the caller then checks after the reference).
  bool Start(const PlotRecord& record, unsigned bits, ReferencePixel pixel, uint32_t limit);

  // Once the reference is computed: waits for the check, taking the host's
  // messages meanwhile. Returns 0 or a stop code; *holds as CheckDeepReference.
  int Finish(UiHost& host, const DeepReference& reference, uint32_t limit, bool* holds);

  // Stops the check and waits for its thread.
  void End();

 private:
  // The check thread's message step: ends the orbit when the caller stops,
  // and once the orbit has been followed as far as the check needs.
  class ThreadHost : public UiHost {
   public:
    explicit ThreadHost(ConcurrentReferenceCheck& check) : check_(check) {}
    int PumpOneMessage(int* stopCode) override;
    void DrawPixel(int32_t, int32_t, uint32_t) override {}
    void SetTitle(const char*) override {}
    void ShowMessage(const char*, const char*, MessageIcon) override {}

   private:
    ConcurrentReferenceCheck& check_;
    uint64_t steps_ = 0;
  };

  static void Run(void* self);

  PlotRecord record_;  // a copy: the calling thread's messages may change the record
  unsigned bits_ = 0;
  ReferencePixel pixel_{};
  uint32_t limit_ = 0;
  uint16_t fpuControl_ = 0;
  WorkerThreads thread_;
  bool started_ = false;

  std::atomic<bool> stopping_{false};
  std::atomic<uint32_t> length_{UINT32_MAX};  // how far the check must follow the orbit
  uint32_t reached_ = 0;                      // followed this far without an end
  int result_ = kPlotComplete;
  FollowedEnd end_{};
  std::mutex mutex_;
  std::condition_variable ended_;
  bool done_ = false;
};
