#include "engine/worker_threads.h"

#include <algorithm>

WorkerThreads::WorkerThreads(ThreadStarter starter)
    : starter_(starter != nullptr ? starter : pthread_create) {}

int WorkerThreads::Start(int count, Entry entry, void* argument) {
  entry_ = entry;
  argument_ = argument;
  const int wanted = std::clamp(count, 0, kMaximum);
  while (started_ < wanted) {
    if (starter_(&threads_[started_], nullptr, Trampoline, this) != 0) break;
    ++started_;
  }
  return started_;
}

void WorkerThreads::JoinAll() {
  while (started_ > 0) pthread_join(threads_[--started_], nullptr);
}

// On i686 a new thread's stack may be aligned to 4 bytes only, while the
// vector code the workers run expects 16.
#if defined(__i386__)
__attribute__((force_align_arg_pointer))
#endif
void* WorkerThreads::Trampoline(void* self) {
  const WorkerThreads& threads = *static_cast<const WorkerThreads*>(self);
  threads.entry_(threads.argument_);
  return nullptr;
}
