// A stop requested from another thread ends every long loop promptly.
#include <chrono>
#include <functional>
#include <thread>

#include "test_support.h"

namespace {

using Clock = std::chrono::steady_clock;

struct LongComputation {
  const char* name;
  const char* argument;
  std::function<void(Ratio&)> run;
};

}  // namespace

TEST_F(TranscendentalTest, StopFromAnotherThreadEndsLongComputations) {
  const LongComputation computations[] = {
      {"exact factorial", "10000000", [](Ratio& x) { ratioFactorial(x); }},
      {"factorial product", "10000000.5", [](Ratio& x) { ratioFactorial(x); }},
      {"pi for the reduction of a huge angle in radians", "1e200000",
       [](Ratio& x) { ratioSin(x, Radians); }},
  };
  for (const LongComputation& c : computations) {
    abortRequested.store(0);
    Ratio x = number(c.argument);
    Clock::time_point stopAt;
    std::thread guard([&stopAt] {
      std::this_thread::sleep_for(std::chrono::milliseconds(200));
      stopAt = Clock::now();
      abortRequested.store(1);
    });
    const Clock::time_point start = Clock::now();
    try {
      c.run(x);
    } catch (const ArithmeticError&) {
      // A stopped loop leaves a partial value that may fail in the steps after it; the
      // engine reports the stop either way.
    }
    const Clock::time_point end = Clock::now();
    guard.join();
    EXPECT_GT(end, stopAt) << c.name << " finished before the stop: the test proves nothing";
    const auto latency = std::chrono::duration_cast<std::chrono::milliseconds>(end - stopAt);
    EXPECT_LT(latency.count(), 300) << c.name << " took " << latency.count()
                                    << " ms to stop (started " << (end - start).count() << ")";
    EXPECT_EQ(numbers.precisionDigits, 33) << c.name;
  }
}
