// Failures inside commands: running out of memory at every allocation a command makes, and
// what the user sees afterwards.
#include "numbers/heap.h"
#include "statistics/statistics.h"
#include "unit/engine/calculator.h"

#include <string>

namespace {
const std::string kOutOfMemory = "Недостаточно памяти для работы вемомера.";

// Makes the n-th allocation of a line of keys fail, for every n the line reaches. Each
// failure must end in a message (the display's memory message or the unknown-error box),
// leave no wait cursor and no guard running, and C with a radix choice must bring back a
// working calculator. Returns whether some failure was caught by an operation and shown in
// the display (rather than by the catch-all's message box).
bool WalkAllocationFailures(int layout, const std::string& setup, const std::string& keys) {
  bool sawDisplayMessage = false;
  for (std::uint64_t n = 1;; ++n) {
    StartCalculator(layout);
    Type(setup);
    std::uint64_t before = heapAllocationCount();
    heapFailAllocationAt(n);
    Type(keys);
    heapFailAllocationAt(0);
    bool failed = heapAllocationCount() - before >= n;
    SCOPED_TRACE("keys " + keys + ", failing allocation " + std::to_string(n));
    EXPECT_EQ(recorder.cursorShown, 0);
    EXPECT_EQ(recorder.commandRunning.load(), 0);
    if (!failed) break;
    bool boxShown = !recorder.messageBoxes.empty();
    if (boxShown) {
      EXPECT_EQ(recorder.messageBoxes.front().first, "An unknown error has occured.");
      EXPECT_EQ(recorder.messageBoxes.front().second, "Error");
    }
    bool displayMessage = engine.errorLocked && RecordedText(kDisplay) == kOutOfMemory;
    sawDisplayMessage = sawDisplayMessage || displayMessage;
    EXPECT_TRUE(boxShown || displayMessage || engine.statisticsBoxOpen);
    EXPECT_EQ(Type("[Esc][F6]2+3="), "5.");
    if (n > 20000) {
      ADD_FAILURE() << "the walk does not end";
      break;
    }
  }
  return sawDisplayMessage;
}

TEST(Failures, EveryAllocationOfACommandMayFail) {
  EXPECT_TRUE(WalkAllocationFailures(kStandard, "", "12.5+3*4="));
  EXPECT_TRUE(WalkAllocationFailures(kScientific, "", "2*(3+4)y2="));
  EXPECT_TRUE(WalkAllocationFailures(kScientific, "", "[F5]1[F9]~[F6]"));
  EXPECT_TRUE(WalkAllocationFailures(kStandard, "", "1.5m2s5!"));
  // Memory commands are not operations: their failures end in the catch-all.
  WalkAllocationFailures(kStandard, "7", "[Ctrl+M]3[Ctrl+P][Ctrl+R]");
}

// Help is accepted under an error lock, but the message stays: the value left by the
// failed operation is never rendered.
TEST(Failures, HelpKeepsTheErrorMessage) {
  const Script scripts[] = {
      {"1/0 then Help", kStandard, {{"1/0=", "Результат слишком велик."}, {"[305]", "Результат слишком велик.", 0}}},
      {"0/0 then Help", kScientific, {{"0/0=", "Значение не определено."}, {"[305]", "Значение не определено.", 0}, {"[Del]", "0."}}},
  };
  for (const Script& script : scripts) RunScript(script);
  EXPECT_EQ(recorder.helpShown, 1);
}

// The display must not keep the row of parentheses when ) leaves the value unchanged.
TEST(Failures, ParenthesisRowDoesNotHideTheValue) {
  const Script scripts[] = {
      {"( ) around nothing", kScientific, {{"5", "5."}, {"+(", "("}, {")", "0."}, {"=", "5."}}},
      {"value kept through ( )", kScientific, {{"5=", "5."}, {"(", "("}, {")", "5."}}},
  };
  for (const Script& script : scripts) RunScript(script);
}
}  // namespace
