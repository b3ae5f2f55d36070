// The compute path of the radix and precision set-up: the default start-up computes the
// constants, /P64 keeps 64-digit constants through later set-ups, and a stop or an
// out-of-memory error during the computation leaves the previous constants in use.
#include <atomic>
#include <chrono>
#include <thread>

#include "test_support.h"

namespace {

#include "function_references.inc"

struct ConstantSlot {
  const char* name;
  Ratio* constant;
};

const ConstantSlot kComputedConstants[] = {
    {"pi", &kPi}, {"2pi", &kTwoPi}, {"pi/2", &kHalfPi}, {"sqrte", &kSqrtE},
    {"e", &kE},   {"ln10", &kLn10}, {"ln2", &kLn2},
};
constexpr int kConstantCount = sizeof(kComputedConstants) / sizeof(kComputedConstants[0]);

const char* referenceOf(const char* name) {
  for (const ConstantReference& c : kConstants65)
    if (std::string(c.name) == name) return c.value;
  return nullptr;
}

// Copies of the seven computed constants.
struct ConstantSet {
  Ratio values[kConstantCount];
  void capture() {
    for (int i = 0; i < kConstantCount; ++i) values[i] = ratioCopy(*kComputedConstants[i].constant);
  }
};

// The same numbers, word for word.
bool sameRatio(const Ratio& a, const Ratio& b) {
  auto same = [](const BigNum& x, const BigNum& y) {
    if (x->sign != y->sign || x->digitCount != y->digitCount || x->exponent != y->exponent)
      return false;
    for (std::int32_t i = 0; i < x->digitCount; ++i)
      if (x->digits[i] != y->digits[i]) return false;
    return true;
  };
  return same(a->numerator, b->numerator) && same(a->denominator, b->denominator);
}

// What the first set-up of the process did: every test program starts as the calculator
// does, with radix 10 and 33 digits.
struct StartUpRecord {
  std::int32_t keyBefore = 0;
  std::int32_t keyAfter = 0;
  ConstantSet installed;
} startUp;

class StartUp : public ::testing::Environment {
 public:
  void SetUp() override {
    numbers.radix = 10;
    startUp.keyBefore = numbers.constantsKey;
    setRadixPrecisionAndConstants(10, 33);
    startUp.keyAfter = numbers.constantsKey;
    startUp.installed.capture();
  }
};
const auto* const kStartUp = ::testing::AddGlobalTestEnvironment(new StartUp);

double digitsOfAgreement(const Ratio& a, const Ratio& b) {
  mpq_t x, y;
  mpq_inits(x, y, nullptr);
  ratioToMpq(x, a);
  ratioToMpq(y, b);
  mpq_sub(x, x, y);
  mpq_div(x, x, y);
  mpq_abs(x, x);
  const double digits = minusLog10(x);
  mpq_clears(x, y, nullptr);
  return digits;
}

}  // namespace

TEST_F(TranscendentalTest, DefaultStartUpComputesConstantsThatAgreeWithTheStoredTable) {
  ASSERT_EQ(startUp.keyBefore, 2880);
  EXPECT_EQ(startUp.keyAfter, 2970) << "the default start-up did not compute the constants";
  loadStoredConstants();
  for (int i = 0; i < kConstantCount; ++i) {
    const char* name = kComputedConstants[i].name;
    const double agreement = digitsOfAgreement(startUp.installed.values[i], *kComputedConstants[i].constant);
    EXPECT_GE(agreement, 46) << name << " computed at start-up vs the stored table";
    if (const char* reference = referenceOf(name)) {
      EXPECT_GE(correctDigits(startUp.installed.values[i], reference), 42) << name;
    }
  }
}

TEST_F(TranscendentalTest, SixtyFourDigitSettingKeepsSixtyFourDigitConstants) {
  // The engine's start-up and its window creation both set up 65 digits; switching to
  // radix 16 and back must not fall back to the 46-digit stored table either.
  const std::int32_t setups[][2] = {{10, 65}, {10, 65}, {16, 9}, {10, 65}};
  for (const auto& setup : setups) {
    setRadixPrecisionAndConstants(setup[0], setup[1]);
    if (setup[0] != 10) continue;
    EXPECT_EQ(numbers.precisionDigits, 65);
    const struct {
      const char* name;
      const Ratio& value;
    } checks[] = {{"pi", kPi}, {"e", kE}, {"ln2", kLn2}, {"ln10", kLn10}, {"sqrte", kSqrtE}};
    for (const auto& check : checks)
      EXPECT_GE(correctDigits(check.value, referenceOf(check.name)), 64) << check.name;
    Ratio root = ratioFromInt(2);
    ratioRoot(root, kTwo);
    EXPECT_GE(correctDigits(root, referenceOf("sqrt2")), 64) << "sqrt 2";
    Ratio twoPi = ratioCopy(kPi);
    ratioAdd(twoPi, kPi);
    EXPECT_TRUE(ratioEqual(twoPi, kTwoPi));
  }
  // Back at the default, the stored table covers 42 digits again.
  setRadixPrecisionAndConstants(10, 33);
  EXPECT_GE(correctDigits(kPi, referenceOf("pi")), 46);
}

TEST_F(TranscendentalTest, OutOfMemoryWhileComputingKeepsThePreviousConstants) {
  // Count the allocations of one computation above every earlier need.
  const std::int32_t base = std::max<std::int32_t>(numbers.constantsKey / 90 + 1, 70);
  const std::uint64_t before = heapAllocationCount();
  setRadixPrecisionAndConstants(10, base);
  const std::uint64_t allocations = heapAllocationCount() - before;
  ASSERT_GT(allocations, 100u);

  const std::int32_t P = base + 1;  // a need above the key: this set-up computes
  for (std::uint64_t failAt = 1; failAt < allocations; failAt += allocations / 37 + 1) {
    ConstantSet previous;
    previous.capture();
    const std::int32_t key = numbers.constantsKey;
    const std::int64_t liveBlocks = heapLiveBlocks();
    heapFailAllocationAt(failAt);
    bool failed = false;
    try {
      setRadixPrecisionAndConstants(10, P);
    } catch (const ArithmeticError& error) {
      failed = true;
      EXPECT_EQ(error.code(), OutOfMemory);
    }
    heapFailAllocationAt(0);
    ASSERT_TRUE(failed) << "allocation " << failAt << " did not fail";
    EXPECT_EQ(numbers.constantsKey, key) << "allocation " << failAt;
    EXPECT_EQ(numbers.precisionDigits, P) << "allocation " << failAt;
    EXPECT_EQ(heapLiveBlocks(), liveBlocks) << "allocation " << failAt;
    for (int i = 0; i < kConstantCount; ++i)
      EXPECT_TRUE(sameRatio(previous.values[i], *kComputedConstants[i].constant))
          << kComputedConstants[i].name << " replaced after allocation " << failAt << " failed";
  }
  setRadixPrecisionAndConstants(10, P);
  EXPECT_GT(numbers.constantsKey, 10 * base * 9);
  EXPECT_GE(correctDigits(kPi, referenceOf("pi")), 70);
}

TEST_F(TranscendentalTest, StopWhileComputingKeepsThePreviousConstants) {
  ConstantSet previous;
  previous.capture();
  const std::int32_t key = numbers.constantsKey;

  // A guard that keeps asking to stop while a long computation (1000 digits) runs.
  std::atomic<bool> done{false};
  std::thread guard([&done] {
    while (!done.load()) {
      abortRequested.store(1);
      std::this_thread::yield();
    }
  });
  while (abortRequested.load() == 0) std::this_thread::yield();
  setRadixPrecisionAndConstants(10, 1000);
  done.store(true);
  guard.join();

  EXPECT_EQ(numbers.constantsKey, key);
  EXPECT_EQ(numbers.precisionDigits, 1000);
  for (int i = 0; i < kConstantCount; ++i)
    EXPECT_TRUE(sameRatio(previous.values[i], *kComputedConstants[i].constant))
        << kComputedConstants[i].name << " replaced by a stopped computation";

  // The next set-up of that size computes them in full.
  setRadixPrecisionAndConstants(10, 80);
  EXPECT_GE(correctDigits(kPi, referenceOf("pi")), 74);
  EXPECT_GE(correctDigits(kLn2, referenceOf("ln2")), 74);
}
