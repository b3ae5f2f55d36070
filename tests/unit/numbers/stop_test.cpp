// Long exact computations end soon after the stop flag is raised from another thread.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "unit/numbers/support.h"

namespace {
// A dense number of n words.
BigNum denseNumber(std::int32_t n) {
  BigNum x = bigAlloc(n);
  x->sign = 1;
  x->digitCount = n;
  for (std::int32_t i = 0; i < n; ++i) x->digits[i] = (0x5A5A5A5u + std::uint32_t(i) * 7919u) & kInternalMask;
  return x;
}

// Runs work, raises the stop flag after 100 ms, and returns the seconds the work took.
template <typename Work>
double secondsUntilStopped(Work work) {
  abortRequested.store(0);
  std::thread stopper([] {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    abortRequested.store(1);
  });
  auto start = std::chrono::steady_clock::now();
  work();
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  stopper.join();
  abortRequested.store(0);
  return seconds;
}
}  // namespace

TEST_F(NumbersTest, HugeProductsDivisionsAndRemaindersStop) {
  // Each of these would run for many seconds (minutes under the sanitizers).
  BigNum a = denseNumber(300000);
  BigNum b = denseNumber(290000);
  EXPECT_LT(secondsUntilStopped([&] { bigMultiply(a, b, kInternalBase); }), 5.0);
  EXPECT_TRUE(bigIsNormal(a, kInternalBase));

  BigNum dividend = denseNumber(600000);
  BigNum divisor = denseNumber(300000);
  EXPECT_LT(secondsUntilStopped([&] { bigDivideInternal(dividend, divisor); }), 5.0);
  EXPECT_TRUE(bigIsNormal(dividend, kInternalBase));

  BigNum x = denseNumber(600000);
  BigNum y = denseNumber(300000);
  EXPECT_LT(secondsUntilStopped([&] { bigRemainder(x, y); }), 5.0);
  EXPECT_TRUE(bigIsNormal(x, kInternalBase));
}
