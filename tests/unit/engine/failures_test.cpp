// What the user sees after a failed command. (Every allocation of a command failing in turn
// is walked in tests/stress/allocation_failures_test.cpp.)
#include "unit/engine/calculator.h"

#include <string>

namespace {
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
