// Long exact computations end soon after the stop flag is raised from another thread.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "numbers/fast_multiply.h"
#include "numbers/heap.h"
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

// A stop inside each kind of long product (Karatsuba, transform, chunks against one
// transform, square) ends it soon, releases every block it took, and the next product is
// exact again.
TEST_F(NumbersTest, AStopInsideAFastProductLeaksNothing) {
  struct Case { const char* name; std::int32_t nx, ny; bool square; };
  const Case cases[] = {
      {"Karatsuba", 1400, 1400, false},
      {"unbalanced Karatsuba", 200000, 1000, false},
      {"transform", 400000, 390000, false},
      {"chunks", 3000000, 20000, false},
      {"square", 500000, 500000, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    BigNum x = denseNumber(c.nx);
    BigNum y = denseNumber(c.ny);
    const std::int64_t liveBefore = heapLiveBlocks();
    for (int delayMs : {0, 5, 30}) {
      BigNum product = bigAlloc(c.nx + c.ny);
      abortRequested.store(delayMs == 0 ? 1 : 0);
      std::thread stopper([delayMs] {
        if (delayMs == 0) return;
        std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
        abortRequested.store(1);
      });
      const std::uint32_t* other = c.square ? x->digits : y->digits;
      const bool finished = fastProduct(product->digits, x->digits, c.nx, other, c.square ? c.nx : c.ny, true);
      stopper.join();
      abortRequested.store(0);
      if (delayMs == 0) {
        EXPECT_FALSE(finished);
      }
    }
    EXPECT_EQ(heapLiveBlocks(), liveBefore);
  }
  // Products work again after the stops.
  BigNum a = denseNumber(5000);
  const mpz_class expected = mpzOf(a) * mpzOf(a);
  bigMultiply(a, a, kInternalBase);
  EXPECT_EQ(mpzOf(a), expected);
}
