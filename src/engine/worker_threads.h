#pragma once
// Worker threads started without exceptions: a thread the system cannot start
// shows in the count Start returns (std::thread would throw, and with nothing
// to catch it the program would end).

#include <pthread.h>

#include <array>

// pthread_create's shape; tests pass a starter that fails.
using ThreadStarter = int (*)(pthread_t*, const pthread_attr_t*, void* (*)(void*), void*);

class WorkerThreads {
 public:
  static constexpr int kMaximum = 64;
  using Entry = void (*)(void* argument);

  explicit WorkerThreads(ThreadStarter starter = nullptr);
  ~WorkerThreads() { JoinAll(); }
  WorkerThreads(const WorkerThreads&) = delete;
  WorkerThreads& operator=(const WorkerThreads&) = delete;

  // Starts up to `count` threads (at most kMaximum), each running
  // entry(argument); returns how many are running. Call once.
  int Start(int count, Entry entry, void* argument);
  // Waits for every started thread to end.
  void JoinAll();

 private:
  static void* Trampoline(void* self);

  ThreadStarter starter_;
  Entry entry_ = nullptr;
  void* argument_ = nullptr;
  std::array<pthread_t, kMaximum> threads_{};
  int started_ = 0;
};
