#include "engine/deep/reference_check.h"

#include "engine/fpu_precision.h"

namespace {

// The calling thread takes a message at least this often while it waits.
constexpr int kWaitMilliseconds = 2;

// The check thread's own code for "followed far enough".
constexpr int kFollowedFarEnough = -2;

}  // namespace

int ConcurrentReferenceCheck::ThreadHost::PumpOneMessage(int* stopCode) {
  steps_ += kReferenceIterationsPerMessageStep;
  if (check_.stopping_.load(std::memory_order_relaxed)) {
    *stopCode = kPlotStop;
    return 1;
  }
  const uint64_t reached = steps_ - 1;  // every test up to this iteration is done
  if (reached >= check_.length_.load(std::memory_order_relaxed)) {
    check_.reached_ = static_cast<uint32_t>(reached);
    *stopCode = kFollowedFarEnough;
    return 1;
  }
  return 0;
}

void ConcurrentReferenceCheck::Run(void* self) {
  ConcurrentReferenceCheck& check = *static_cast<ConcurrentReferenceCheck*>(self);
  // The same arithmetic as on the calling thread.
  const uint16_t saved = FpuControlWord();
  RestoreFpuControl(check.fpuControl_);
  ThreadHost host(check);
  check.result_ = FollowDeepReferenceEnd(host, check.record_, check.bits_, check.pixel_,
                                         check.limit_, &check.end_);
  RestoreFpuControl(saved);
  std::lock_guard<std::mutex> lock(check.mutex_);
  check.done_ = true;
  check.ended_.notify_all();
}

bool ConcurrentReferenceCheck::Start(const PlotRecord& record, unsigned bits, ReferencePixel pixel,
                                     uint32_t limit) {
  record_ = record;
  record_.rows = nullptr;  // counts are not the check's to touch
  bits_ = bits;
  pixel_ = pixel;
  limit_ = limit;
  fpuControl_ = FpuControlWord();
  started_ = thread_.Start(1, Run, this) == 1;
  return started_;
}

int ConcurrentReferenceCheck::Finish(UiHost& host, const DeepReference& reference, uint32_t limit,
                                     bool* holds) {
  length_.store(DeepReferenceCheckLength(reference, limit), std::memory_order_relaxed);
  for (;;) {
    {
      std::unique_lock<std::mutex> lock(mutex_);
      if (ended_.wait_for(lock, std::chrono::milliseconds(kWaitMilliseconds),
                          [this] { return done_; })) {
        break;
      }
    }
    int stopCode = kPlotExit;
    if (host.PumpOneMessage(&stopCode) != 0) {
      End();
      return stopCode;
    }
  }
  End();
  if (result_ == kFollowedFarEnough) {
    end_ = {{OrbitOutcome::kNeither, reached_}, reached_};
  } else if (result_ != kPlotComplete) {
    *holds = false;  // not reached: only the caller stops the check
    return result_;
  }
  *holds = ReferenceEndHolds(reference, limit, end_);
  return kPlotComplete;
}

void ConcurrentReferenceCheck::End() {
  if (!started_) return;
  stopping_.store(true, std::memory_order_relaxed);
  thread_.JoinAll();
  started_ = false;
}
