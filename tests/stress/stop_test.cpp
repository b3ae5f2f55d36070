// Every long computation ends soon after a stop, as "&Остановить" raises it: the display
// reads the stop message and the calculator works again after CE. Also what a stop may
// leave behind: values that are still valid numbers.
#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include "numbers/numbers.h"
#include "stress/invariants.h"
#include "unit/engine/calculator.h"

namespace {

using Clock = std::chrono::steady_clock;

// Generous: a stop must end the work within a fraction of a second, but the sanitizer
// build runs several times slower and shares two cores.
constexpr double kStopLatencyLimit = 3.0;

struct StoppedRun {
  bool stopped = false;    // the stop came while a command ran
  double latency = 0;      // seconds from the stop to the end of the line
};

// Types a line of keys; after delayMs, once a command is running, raises the stop flag from
// another thread as the guard's dialog does.
StoppedRun TypeAndStop(const std::string& keys, int delayMs, std::string& display) {
  std::atomic<bool> done{false};
  std::atomic<std::int64_t> stoppedAt{0};
  std::thread guard([&] {
    const Clock::time_point start = Clock::now();
    while (!done.load()) {
      if (Clock::now() - start >= std::chrono::milliseconds(delayMs) && recorder.commandRunning.load() != 0) {
        stoppedAt.store(Clock::now().time_since_epoch().count());
        abortRequested.store(1);
        return;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  });
  display = Type(keys);
  const std::int64_t end = Clock::now().time_since_epoch().count();
  done.store(true);
  guard.join();
  StoppedRun run;
  if (stoppedAt.load() != 0) {
    run.stopped = true;
    run.latency = std::chrono::duration<double>(Clock::duration(end - stoppedAt.load())).count();
  }
  return run;
}

struct LongComputation {
  const char* name;
  int layout;
  const char* options;
  std::string setup;   // typed first, not stopped
  std::string keys;    // the line that is stopped
  int stopAfterMs;
  bool mustRun;        // still running at the stop (else it may also finish before)
  const char* finished = nullptr;  // the display when it finished before the stop
};

std::string Repeat(const std::string& text, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += text;
  return out;
}

}  // namespace

TEST(Stops, LongComputationsEndSoonAfterAStop) {
  const std::string sixtyFourDigits = "1234567890123456789012345678901234567890123456789012345678901234";
  const LongComputation computations[] = {
      {"10000000!", kStandard, "", "", "10000000!", 300, true},
      {"30000000!", kStandard, "", "", "30000000!", 2000, true},
      {"10000000.5!", kScientific, "", "", "10000000.5!", 300, true},
      {"64 digits squared 20 times", kScientific, "/P64", sixtyFourDigits, Repeat("@", 20), 1000, true},
      {"1 Lsh 100000000", kScientific, "", "", "1<100000000=", 1000, false,
       "3.6846659369804587632090924e+30102999"},
      {"2^100000000 - 1 squared", kScientific, "", "1<100000000=-1=", "@", 1000, true},
      // Products by transform: two long operands, and a long one by chunks of the other.
      {"a product of two huge values", kScientific, "", "1<90000000=-1=[Ctrl+M]1<100000000=-1=*[Ctrl+R]",
       "=", 300, true},
      {"a huge value times a long one", kScientific, "", "1<3000000=-1=[Ctrl+M]1<100000000=-1=*[Ctrl+R]",
       "=", 200, true},
      {"Int of a huge fraction", kScientific, "", "1<100000000=/3=", ";", 300, true},
      {"sin in radians of a huge fraction", kScientific, "", "1<1000000=/3=[F3]", "s", 300, true},
      {"Mod of huge values", kScientific, "", "1<3000000=-1=[Ctrl+M]1<6000000=-1=", "%[Ctrl+R]=", 300, true},
      {"s of a few huge values", kScientific, "", "[Ctrl+S]1<20000000=-1=" + Repeat("[Insert]", 6), "[Ctrl+D]", 300, true},
      // Each square is too short to poll on its own; the loop over the store does.
      {"s of a big store", kScientific, "", "[Ctrl+S]1<62000=-1=" + Repeat("[Insert]", 3000), "[Ctrl+D]", 300, true},
  };
  for (const LongComputation& c : computations) {
    SCOPED_TRACE(c.name);
    StartCalculator(c.layout, c.options);
    Type(c.setup);
    std::string display;
    StoppedRun run = TypeAndStop(c.keys, c.stopAfterMs, display);
    if (c.mustRun) EXPECT_TRUE(run.stopped) << "finished before the stop: the test proves nothing";
    if (run.stopped) {
      std::printf("%s: ended %.3f s after the stop\n", c.name, run.latency);
      EXPECT_LT(run.latency, kStopLatencyLimit);
      EXPECT_EQ(display, AbortedMessage());
    } else {
      EXPECT_EQ(display, c.finished);
    }
    EXPECT_EQ(BrokenEngineInvariant(), "");
    EXPECT_EQ(Type("[Del]"), "0.");
    EXPECT_EQ(Type("2+2="), "4.");
    EXPECT_TRUE(recorder.messageBoxes.empty());
  }
}

// A paste is one command for the guard: a stop ends it at the next character.
TEST(Stops, APasteOfAMegabyteStops) {
  StartCalculator(kStandard);
  recorder.clipboard = Repeat("1+", 1 << 19) + "=";
  std::string display;
  StoppedRun run = TypeAndStop("[Ctrl+V]", 200, display);
  ASSERT_TRUE(run.stopped) << "the paste ended before the stop";
  EXPECT_LT(run.latency, kStopLatencyLimit);
  EXPECT_EQ(display, AbortedMessage());
  EXPECT_EQ(Type("[Esc]2+2="), "4.");
}

// A product stopped before its end is a partial sum, which the engine discards; but it may
// stay in a register (a denominator, the memory), so it must still be a valid value: never
// zero when both factors are not, whatever the shape of the factors.
TEST(Stops, AStoppedProductIsStillAValidNumber) {
  StartCalculator(kScientific);
  struct Shape {
    const char* name;
    std::int32_t words;
    std::int32_t zeroLowWords;  // a power of two has every word below the top one zero
  };
  const Shape shapes[] = {{"dense", 3000, 0}, {"sparse", 3000, 2999}, {"long rows", 40, 0}};
  for (const Shape& x : shapes) {
    for (const Shape& y : shapes) {
      SCOPED_TRACE(std::string(x.name) + " times " + y.name);
      auto make = [](const Shape& s, std::int32_t words) {
        BigNum b = bigAlloc(words);
        b->sign = 1;
        b->digitCount = words;
        for (std::int32_t i = std::min(s.zeroLowWords, words - 1); i < words; ++i)
          b->digits[i] = (0x2468ACEu + std::uint32_t(i) * 2654435761u) & kInternalMask;
        return b;
      };
      // Long rows: a short factor against one of 2^17 words, so the flag is read every row.
      BigNum a = make(x, x.words);
      BigNum b = make(y, std::string(x.name) == "long rows" ? (1 << 17) : y.words);
      abortRequested.store(1);
      bigMultiply(a, b, kInternalBase);
      abortRequested.store(0);
      EXPECT_TRUE(bigIsNormal(a, kInternalBase));
      EXPECT_FALSE(bigIsZero(a));
    }
  }
  // The same through the Ratio layer: a stopped multiplication leaves a denominator that is
  // not zero, so the value can still be shown and used.
  Ratio big = ratioFromInt(3);
  ratioIntPower(big, 200000);
  Ratio third = ratioCopy(kOne);
  ratioDivide(third, big);
  abortRequested.store(1);
  ratioMultiply(third, third);
  abortRequested.store(0);
  EXPECT_TRUE(ratioIsNormal(third));
}

// A product whose digit count would not fit a BigNum is refused as out of memory before any
// digit is written (the factors' headers alone are read). In base 2^31 a value that long is
// refused earlier, as too large; radix digits are what could reach the limit.
TEST(Stops, AProductTooLongForADigitCountIsOutOfMemory) {
  StartCalculator(kScientific);
  BigNum a = bigAlloc(1);
  a->sign = 1;
  a->digitCount = 0x40000000;  // a header that claims 2^30 words: the digits are never read
  try {
    bigMultiply(a, a, 10);
    ADD_FAILURE() << "no error";
  } catch (const ArithmeticError& error) {
    EXPECT_EQ(error.code(), OutOfMemory);
  }
  a->digitCount = 1;
}
