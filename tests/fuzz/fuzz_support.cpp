#include "fuzz/fuzz_support.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>

#include "numbers/bignum.h"

#if defined(__SANITIZE_ADDRESS__)
#define VEMO_FUZZ_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VEMO_FUZZ_ASAN 1
#endif
#endif

#ifdef VEMO_FUZZ_ASAN
// A request beyond 2 GiB is refused (the number package reports OutOfMemory), as a heap
// that runs out would refuse it.
extern "C" const char* __asan_default_options() {
  return "allocator_may_return_null=1:max_allocation_size_mb=2048";
}
#endif

namespace {
using Clock = std::chrono::steady_clock;

std::atomic<std::int64_t> workStarted{0};  // steady-clock ticks; 0 while idle

std::int64_t Now() { return Clock::now().time_since_epoch().count(); }

std::int64_t Ticks(int ms) {
  return std::chrono::duration_cast<Clock::duration>(std::chrono::milliseconds(ms)).count();
}

void Watch() {
  for (;;) {
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
    const std::int64_t started = workStarted.load();
    if (started == 0) continue;
    // Raised again and again: each command clears it when it starts, so every command
    // that runs after the budget is spent is stopped as soon as it looks.
    const std::int64_t elapsed = Now() - started;
    if (elapsed > Ticks(FuzzBudgetMs)) abortRequested.store(1);
    if (elapsed > Ticks(FuzzBudgetMs + FuzzHangMs)) FuzzFail("a stop did not end the work");
  }
}
}  // namespace

void FuzzFail(const std::string& message) {
  std::fprintf(stderr, "fuzz check failed: %s\n", message.c_str());
  std::fflush(stderr);
  std::abort();
}

void FuzzWorkBegin() {
  static std::once_flag started;
  std::call_once(started, [] { std::thread(Watch).detach(); });
  abortRequested.store(0);
  workStarted.store(Now());
}

void FuzzWorkEnd() {
  workStarted.store(0);
  abortRequested.store(0);
}
