// Running out of memory at every allocation of representative key scripts: each script is
// run once to count its allocations, then once for every n with the n-th one failing. Every
// run must end with the memory message in the display, the box "An unknown error has
// occured." or the statistics box's memory message; keep every register a valid value;
// release everything it allocated (the live blocks after a fresh start are what they were);
// and C then 2+2= must show 4 again. LeakSanitizer checks the sanitizer build at exit too.
#include <cstdio>
#include <string>

#include "numbers/heap.h"
#include "statistics/statistics.h"
#include "stress/invariants.h"
#include "transcendental/transcendental.h"
#include "unit/engine/calculator.h"

namespace {

struct Walk {
  const char* name;
  int layout;
  const char* options;
  std::string setup;      // typed before the allocations are counted
  std::string keys;       // the keys whose every allocation fails once
  std::string clipboard = "";
  // Some failure must be caught by an operation and shown in the display (rather than by
  // the catch-all's message box).
  bool shownInDisplay = false;
};

void Start(const Walk& walk) {
  StartCalculator(walk.layout, walk.options);
  recorder.clipboard = walk.clipboard;
  Type(walk.setup);
}

// Whether the failed run told the user: the memory message in the display, the catch-all's
// box, or the statistics box's message.
bool ReportedOutOfMemory(int statisticsMessages) {
  if (engine.errorLocked && RecordedText(kDisplay) == OutOfMemoryMessage()) return true;
  for (const auto& box : recorder.messageBoxes) {
    EXPECT_EQ(box.first, "An unknown error has occured.");
    EXPECT_EQ(box.second, "Error");
  }
  return !recorder.messageBoxes.empty() || recorder.statisticsMemoryMessages > statisticsMessages;
}

std::uint64_t totalPoints = 0;

void WalkAllocationFailures(const Walk& walk) {
  SCOPED_TRACE(walk.name);
  StartCalculator(walk.layout, walk.options);
  // The widest pi is kept for reuse once any reduction in radians has needed it (a failed
  // command may leave a later one to be the first): it is made here, so that only blocks
  // a failure strands count below.
  piToDigits(numbers.precisionDigits);
  const std::int64_t freshLiveBlocks = heapLiveBlocks();

  Start(walk);
  const std::uint64_t before = heapAllocationCount();
  const std::string expected = Type(walk.keys);
  const std::uint64_t count = heapAllocationCount() - before;
  ASSERT_GT(count, 0u);
  ASSERT_TRUE(recorder.messageBoxes.empty()) << "the script fails without any failing allocation";
  totalPoints += count;
  std::printf("%s: %llu allocations\n", walk.name, static_cast<unsigned long long>(count));

  bool sawDisplayMessage = false;
  for (std::uint64_t n = 1; n <= count; ++n) {
    SCOPED_TRACE("failing allocation " + std::to_string(n) + " of " + std::to_string(count));
    Start(walk);
    const int statisticsMessages = recorder.statisticsMemoryMessages;
    heapFailAllocationAt(n);
    Type(walk.keys);
    heapFailAllocationAt(0);
    EXPECT_TRUE(ReportedOutOfMemory(statisticsMessages)) << "display '" << RecordedText(kDisplay) << "'";
    sawDisplayMessage = sawDisplayMessage || (engine.errorLocked && RecordedText(kDisplay) == OutOfMemoryMessage());
    // A failure caught by the catch-all leaves the command where it stood, so only the
    // values and the state that no failure may corrupt are checked here.
    EXPECT_EQ(recorder.cursorShown, 0);
    EXPECT_EQ(recorder.commandRunning.load(), 0);
    EXPECT_TRUE(ratioIsNormal(engine.current) && ratioIsNormal(engine.accumulator) && ratioIsNormal(engine.memory));
    EXPECT_EQ(Type("[Esc][F6]2+2="), "4.");
    EXPECT_EQ(BrokenEngineInvariant(), "");
    StartCalculator(walk.layout, walk.options);
    ASSERT_EQ(heapLiveBlocks(), freshLiveBlocks) << "blocks leaked";
    if (::testing::Test::HasFailure()) break;
  }
  if (walk.shownInDisplay) EXPECT_TRUE(sawDisplayMessage) << "every failure ended in the catch-all";
  // Without a failing allocation the script still gives what it gave.
  Start(walk);
  EXPECT_EQ(Type(walk.keys), expected);
}

}  // namespace

TEST(AllocationFailures, EveryAllocationOfAScriptMayFail) {
  const std::string data = "[Ctrl+S]1[Insert]2[Insert]3.5[Insert]";
  const Walk walks[] = {
      {"arithmetic", kStandard, "", "", "12.5+3*4=/7="},
      {"precedence and parentheses", kScientific, "", "", "2*(3+4)y2-1="},
      {"repeated =", kStandard, "", "5*", "==="},
      {"typed exponent", kScientific, "", "", "1.5x3[F9]+2x5="},
      {"percent, square root, reciprocal", kStandard, "", "", "200+10%[103]r"},
      {"sine, cosine, tangent", kScientific, "", "", "30s45o"},
      {"inverse trigonometric", kScientific, "", "", "0.5is[F3]0.5it"},
      {"hyperbolic and inverse", kScientific, "", "", "2hs1.5iho"},
      {"exponential and logarithms", kScientific, "", "", "2n3il"},
      {"powers and roots", kScientific, "", "", "2y0.5=27i#"},
      {"factorial of 300", kStandard, "", "", "300!"},
      // Squares by transform, products by Karatsuba (the swing's factors).
      {"factorial of 10000", kStandard, "", "", "10000!"},
      // A long operand by chunks of a shorter one, each chunk by transform.
      {"long by short product", kScientific, "", "1<400000=-1=[Ctrl+M]1<50000=-1=", "*[Ctrl+R]="},
      {"factorial of a fraction", kScientific, "/P12", "", "2.5!"},
      {"degrees-minutes-seconds and pi", kScientific, "", "", "1.5mp"},
      {"radix switches", kScientific, "", "", "255[F5][F7][F8][F6]"},
      {"bitwise and shifts", kScientific, "", "[F5]", "FF&F0=|3=^5=~<2="},
      {"word sizes", kScientific, "", "[F5]", "[F3]FFFF+1=[F4]"},
      {"statistics", kScientific, "", data, "[Ctrl+A][Ctrl+T][Ctrl+D]i[Ctrl+D]"},
      {"data entry", kScientific, "", "[Ctrl+S]", "7[Insert]8[Insert]"},
      {"memory", kStandard, "", "7", "[Ctrl+M]3[Ctrl+P][Ctrl+R]*2="},
      {"scientific notation", kScientific, "", "", "1x40=v"},
      {"paste", kStandard, "", "", "[Ctrl+V]", "12.5e-1*-4="},
      {"copy", kStandard, "", "1/8=", "[Ctrl+C]"},
      {"layout switch", kStandard, "", "5[Ctrl+M]", "[303]2+3="},
      // Operations show their failures in the display.
      {"arithmetic in the display", kStandard, "", "", "12.5+3*4=", "", true},
      {"precedence in the display", kScientific, "", "", "2*(3+4)y2=", "", true},
      {"Not in hexadecimal", kScientific, "", "", "[F5]1[F9]~[F6]", "", true},
      {"functions in the display", kStandard, "", "", "1.5m2s5!", "", true},
      {"memory commands", kStandard, "", "7", "[Ctrl+M]3[Ctrl+P][Ctrl+R]"},
  };
  for (const Walk& walk : walks) WalkAllocationFailures(walk);
  std::printf("allocation points exercised: %llu in %zu scripts\n",
              static_cast<unsigned long long>(totalPoints), sizeof walks / sizeof walks[0]);
}
