// The series kernels and helpers on their own, and every function under a failing
// allocator.
#include <functional>

#include "test_support.h"
#include "transcendental/series.h"

TEST_F(TranscendentalTest, KernelsOfZero) {
  const struct {
    const char* name;
    void (*kernel)(Ratio&);
    bool one;  // the sum of the zero argument is 1 (else 0)
  } kernels[] = {
      {"exp", expSeries, true},     {"sin", sinSeries, false},   {"cos", cosSeries, true},
      {"sinh", sinhSeries, false},  {"cosh", coshSeries, true},  {"asin", asinSeries, false},
      {"asinh", asinhSeries, false}, {"atan", atanSeries, false},
  };
  for (const auto& k : kernels) {
    Ratio x = ratioCopy(kZero);
    k.kernel(x);
    EXPECT_TRUE(k.one ? ratioEqual(x, kOne) : ratioIsZero(x)) << k.name << " of 0: " << show(x);
  }
  Ratio one = ratioCopy(kOne);
  lnSeries(one);
  EXPECT_TRUE(ratioIsZero(one)) << "ln series of 1: " << show(one);
}

TEST_F(TranscendentalTest, ClampToMagnitudeKeepsValuesWithinTheBound) {
  const char* rows[][2] = {{"1.5", "1."}, {"-1.5", "-1."}, {"0.25", "0.25"}, {"-1", "-1."}};
  for (const auto& row : rows) {
    Ratio x = number(row[0]);
    clampToMagnitude(x, kOne);
    EXPECT_EQ(show(x), row[1]) << row[0];
  }
  EXPECT_EQ(show(kOne), "1.");
}

// Only the numerator loses words (floor(33/9) + 2 = 5 are kept); the value truncates.
TEST_F(TranscendentalTest, TruncateNumeratorKeepsFiveWordsAtThirtyThreeDigits) {
  Ratio x = ratioAlloc();
  x->numerator = bigAlloc(8);
  x->numerator->sign = 1;
  x->numerator->digitCount = 8;
  for (int i = 0; i < 8; ++i) x->numerator->digits[i] = 0x12345u + i;
  x->denominator = bigFromInt(3, kInternalBase);
  x->denominator->exponent = 2;
  truncateNumerator(x);
  EXPECT_EQ(x->numerator->digitCount, 5);
  EXPECT_EQ(x->numerator->exponent, 1);  // 3 words dropped, 2 cancelled with the denominator
  EXPECT_EQ(x->numerator->digits[0], 0x12345u + 3);
  EXPECT_EQ(x->denominator->exponent, 0);
  EXPECT_EQ(x->denominator->digitCount, 1);
}

TEST_F(TranscendentalTest, ReductionKeepsTheSignOfTheAngle) {
  const char* rows[][3] = {{"-30", "360", "-30."}, {"400", "360", "40."}, {"-400", "360", "-40."},
                           {"720", "360", "0."},   {"1e40", "400", "0."}};
  for (const auto& row : rows) {
    Ratio x = number(row[0]);
    reduceModulo(x, number(row[1]));
    EXPECT_EQ(show(x), row[2]) << row[0] << " mod " << row[1];
    EXPECT_EQ(numbers.precisionDigits, 33);
  }
  Ratio huge = number("1e20");
  reduceModuloTwoPi(huge);
  EXPECT_EQ(numbers.precisionDigits, 33);
  EXPECT_GE(correctDigits(huge, "5.581833149464241094730323202384703489318"), 31) << show(huge);
}

// Every allocation of a function may fail: the error is OutOfMemory, nothing leaks and the
// precision is back at its value.
TEST_F(TranscendentalTest, FailingAllocationsLeakNothing) {
  const struct {
    const char* name;
    const char* x;
    std::function<void(Ratio&)> run;
  } cases[] = {
      {"sin 1e20 rad", "1e20", [](Ratio& x) { ratioSin(x, Radians); }},
      {"tan 30 deg", "30", [](Ratio& x) { ratioTan(x, Degrees); }},
      {"ln 7", "7", [](Ratio& x) { ratioLn(x); }},
      {"1.7^3.3", "1.7", [](Ratio& x) { ratioPow(x, number("3.3")); }},
      {"atan -3", "-3", [](Ratio& x) { ratioAtan(x, Gradients); }},
      {"acos 0.9", "0.9", [](Ratio& x) { ratioAcos(x, Degrees); }},
      {"asinh -2", "-2", [](Ratio& x) { ratioAsinh(x); }},
      {"tanh 2", "2", [](Ratio& x) { ratioTanh(x); }},
      {"3.5!", "3.5", [](Ratio& x) { ratioFactorial(x); }},
      {"30!", "30", [](Ratio& x) { ratioFactorial(x); }},
  };
  for (const auto& c : cases) {
    {
      // A first run fills what a function keeps for reuse (the widest pi).
      Ratio x = number(c.x);
      c.run(x);
    }
    const std::int64_t baseline = heapLiveBlocks();
    std::uint64_t start = 0;
    {
      Ratio x = number(c.x);
      start = heapAllocationCount();
      c.run(x);
    }
    const std::uint64_t allocations = heapAllocationCount() - start;
    ASSERT_EQ(heapLiveBlocks(), baseline) << c.name;
    for (std::uint64_t failAt = 1; failAt <= allocations; failAt += allocations / 60 + 1) {
      {
        Ratio x = number(c.x);
        heapFailAllocationAt(failAt);
        try {
          c.run(x);
          ADD_FAILURE() << c.name << ": allocation " << failAt << " of " << allocations
                        << " did not fail";
        } catch (const ArithmeticError& error) {
          EXPECT_EQ(error.code(), OutOfMemory) << c.name << " at allocation " << failAt;
        }
        heapFailAllocationAt(0);
      }
      EXPECT_EQ(heapLiveBlocks(), baseline) << c.name << " leaked at allocation " << failAt;
      EXPECT_EQ(numbers.precisionDigits, 33) << c.name << " at allocation " << failAt;
    }
  }
}
