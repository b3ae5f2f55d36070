// vemo-random-keys: replays a seeded random command stream through the engine and checks
// its invariants after every command (see random_session.h).
//
//   vemo-random-keys [--seed=N] [--commands=N] [--budget-ms=N] [--stop-every=N]
//                    [--restart-every=N] [--hang-ms=N] [--soak] [--trace]
//
// Without --seed a seed is drawn and printed; a failure prints the seed, the command number
// and the last commands, and exits 1. --soak also reports resident memory and live heap
// blocks and fails when the heap grows between fresh starts. --trace prints the fresh starts
// and the command ids on standard error ([id] is how vemo-console clicks a key).
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

#include "stress/random_session.h"

#if defined(__SANITIZE_ADDRESS__)
// Requests beyond 2 GiB are refused (the number package reports OutOfMemory) instead of
// ending the run: a random stream can ask for values of any size.
extern "C" const char* __asan_default_options() {
  return "allocator_may_return_null=1:max_allocation_size_mb=2048";
}
#define VEMO_SANITIZED 1
#endif

namespace {
bool ReadNumber(const char* arg, const char* name, std::uint64_t& value) {
  std::size_t n = std::strlen(name);
  if (std::strncmp(arg, name, n) != 0 || arg[n] != '=') return false;
  value = std::strtoull(arg + n + 1, nullptr, 10);
  return true;
}
}  // namespace

int main(int argc, char** argv) {
  RandomRunOptions options;
  std::uint64_t seed = std::random_device{}() ^ static_cast<std::uint64_t>(
      std::chrono::steady_clock::now().time_since_epoch().count());
  for (int i = 1; i < argc; ++i) {
    std::uint64_t v = 0;
    if (ReadNumber(argv[i], "--seed", v)) {
      seed = v;
    } else if (ReadNumber(argv[i], "--commands", v)) {
      options.commands = v;
    } else if (ReadNumber(argv[i], "--budget-ms", v)) {
      options.budgetMs = static_cast<int>(v);
    } else if (ReadNumber(argv[i], "--stop-every", v)) {
      options.stopEvery = static_cast<int>(v);
    } else if (ReadNumber(argv[i], "--restart-every", v)) {
      options.restartEvery = static_cast<int>(v);
    } else if (ReadNumber(argv[i], "--hang-ms", v)) {
      options.hangMs = static_cast<int>(v);
    } else if (std::strcmp(argv[i], "--trace") == 0) {
      options.trace = true;
    } else if (std::strcmp(argv[i], "--soak") == 0) {
      options.soak = true;
    } else {
      std::fprintf(stderr, "vemo-random-keys: unknown argument '%s'\n", argv[i]);
      return 2;
    }
  }
  options.seed = seed;
#ifndef VEMO_SANITIZED
  // Without the sanitizer's limit, the address space is capped so that a huge request
  // fails inside the program rather than exhausting the machine.
  rlimit limit{8ull << 30, 8ull << 30};
  setrlimit(RLIMIT_AS, &limit);
#endif

  std::printf("random keys: seed %llu, %llu commands\n", static_cast<unsigned long long>(seed),
              static_cast<unsigned long long>(options.commands));
  std::fflush(stdout);
  auto start = std::chrono::steady_clock::now();
  RandomRunReport report = RunRandomKeys(options);
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("random keys: %llu commands in %.1f s, %llu fresh starts, %llu pastes, %llu errors shown, "
              "%llu stops (%llu showed the stop message), %llu memory message boxes, "
              "%llu commands of 20 ms or more (%.1f s)\n",
              static_cast<unsigned long long>(report.commands), seconds,
              static_cast<unsigned long long>(report.restarts), static_cast<unsigned long long>(report.pastes),
              static_cast<unsigned long long>(report.errorsShown),
              static_cast<unsigned long long>(report.stopsRaised),
              static_cast<unsigned long long>(report.abortedShown),
              static_cast<unsigned long long>(report.messageBoxes),
              static_cast<unsigned long long>(report.slowCommands), report.slowSeconds);
  if (options.soak) {
    std::printf("soak: resident %ld kB at the start, %ld kB at the end, %ld kB at the highest fresh start; "
                "live heap blocks %lld at the start, %lld at the end\n",
                report.rssStartKb, report.rssEndKb, report.rssPeakKb,
                static_cast<long long>(report.liveBlocksStart), static_cast<long long>(report.liveBlocksEnd));
  }
  if (!report.failure.empty()) {
    std::printf("FAILED: %s\nreplay: %s --seed=%llu --commands=%llu\n", report.failure.c_str(), argv[0],
                static_cast<unsigned long long>(seed), static_cast<unsigned long long>(options.commands));
    return 1;
  }
  return 0;
}
