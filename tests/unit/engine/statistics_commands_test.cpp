// The statistics commands and the box's data set, driven by keys (Ctrl+S opens
// the box, Insert is Dat) and by the box's own buttons.
#include "numbers/heap.h"
#include "engine/statistics_commands.h"
#include "statistics/statistics.h"
#include "unit/engine/calculator.h"

namespace {
const char* const kSample = "[Ctrl+S]2[Insert]4[Insert]4[Insert]4[Insert]5[Insert]5[Insert]7[Insert]9[Insert]";

TEST(Statistics, FunctionsOnTheSample) {
  const Script scripts[] = {
      {"sample",
       kStandard,
       {{kSample, "9."},
        {"[Ctrl+T]", "40."},
        {"[Ctrl+A]", "5."},
        {"i[Ctrl+T]", "232."},
        {"i[Ctrl+A]", "29."},
        {"[Ctrl+D]", "2.13808993529939507747642784703803"},
        {"i[Ctrl+D]", "2."},
        {"[Ctrl+T]", "40."}}},  // Inv lasted for one command only
      {"equal values", kStandard, {{"[Ctrl+S]3[Insert][Insert][Insert]", "3."}, {"[Ctrl+D]", "0."}, {"i[Ctrl+D]", "0."}}},
      {"one value", kStandard, {{"[Ctrl+S]7[Insert]", "7."}, {"[Ctrl+D]", "0."}, {"i[Ctrl+D]", "0."}, {"[Ctrl+A]", "7."}}},
      {"empty set", kStandard, {{"[Ctrl+S][Ctrl+T]", "0."}, {"[Ctrl+D]", "0."}, {"[Ctrl+A]", "Деление на нуль невозможно."}, {"5", "Деление на нуль невозможно.", 1}}},
      {"box closed", kStandard, {{"5[Insert]", "5.", 1}, {"[Ctrl+T]", "5.", 1}}},
      {"fractions", kStandard, {{"[Ctrl+S]0.5[Insert]0.25[Insert]", "0.25"}, {"[Ctrl+A]", "0.375"}, {"i[Ctrl+T]", "0.3125"}}},
      {"a result used in a chain", kStandard, {{"[Ctrl+S]2[Insert]3[Insert]", "3."}, {"[Ctrl+T]*2=", "10."}}},
  };
  for (const Script& script : scripts) RunScript(script);
}

TEST(Statistics, DatKeepsTheDisplayTextAndTheExactValue) {
  StartCalculator(kScientific);
  Type("[Ctrl+S]1[Insert]2[Insert]3[Insert]");
  ASSERT_EQ(recorder.statisticsList, (std::vector<std::string>{"1.", "2.", "3."}));
  EXPECT_EQ(recorder.statisticsCount, 3);
  EXPECT_EQ(recorder.statisticsSelection, 2) << "the last item added is selected";
  Type("[F5]1A[Insert]");
  EXPECT_EQ(recorder.statisticsList.back(), "1A");
  Type("[F6]1/3=[Insert][F5][F6]");
  Type("[Ctrl+S]");
  EXPECT_EQ(recorder.statisticsBoxFocus, 1) << "a second Sta focuses the open box";
  Type("[Ctrl+T]");
  EXPECT_EQ(RecordedText(kDisplay), "32.3333333333333333333333333333333")
      << "the stored value is the exact one, not its display text";
}

TEST(Statistics, LoadDeleteAndDeleteAll) {
  StartCalculator(kStandard);
  Type("[Ctrl+S]1[Insert]2[Insert]3[Insert]7");
  recorder.statisticsSelection = 1;
  StatisticsLoad();
  EXPECT_EQ(RecordedText(kDisplay), "2.") << "LOAD ends typing and shows the value";
  EXPECT_EQ(Type("+5="), "7.") << "the loaded value is the operand just entered";

  recorder.statisticsSelection = 1;
  EXPECT_TRUE(StatisticsDeleteSelected());
  EXPECT_EQ(recorder.statisticsList, (std::vector<std::string>{"1.", "3."}));
  EXPECT_EQ(recorder.statisticsSelection, 1) << "the former third is selected";
  EXPECT_EQ(recorder.statisticsCount, 2);
  EXPECT_EQ(Type("[Ctrl+T]"), "4.");

  recorder.statisticsSelection = -1;
  int beeps = recorder.beeps;
  EXPECT_FALSE(StatisticsDeleteSelected());
  StatisticsLoad();
  EXPECT_EQ(recorder.beeps - beeps, 2) << "CD and LOAD without a selection beep";

  recorder.statisticsSelection = 0;
  EXPECT_TRUE(StatisticsDeleteSelected());
  recorder.statisticsSelection = 0;
  EXPECT_TRUE(StatisticsDeleteSelected());
  EXPECT_TRUE(recorder.statisticsList.empty());
  EXPECT_EQ(recorder.statisticsCount, 0);
  EXPECT_EQ(statistics.valueCount, 0);

  Type("5[Insert]6[Insert]");
  StatisticsDeleteAll();
  EXPECT_EQ(statistics.valueCount, 0);
  EXPECT_EQ(Type("[Ctrl+T]"), "0.");

  Type("5[Insert]");
  Type("[303][304]");  // leaving the scientific layout closes the box
  EXPECT_FALSE(engine.statisticsBoxOpen);
  Type("[Ctrl+S]");
  EXPECT_EQ(statistics.valueCount, 0) << "a reopened box starts empty";
}

// LOAD checks the selection against the number of values.
TEST(Statistics, LoadRefusesASelectionBeyondTheValues) {
  StartCalculator(kStandard);
  Type("[Ctrl+S]4[Insert]9");
  recorder.statisticsList.push_back("stray");
  recorder.statisticsSelection = 1;
  int beeps = recorder.beeps;
  StatisticsLoad();
  EXPECT_EQ(recorder.beeps - beeps, 1);
  EXPECT_EQ(RecordedText(kDisplay), "4.") << "the typed 9 is abandoned, current stays";
}

TEST(Statistics, StoreGrowsAndShrinksByWholeSteps) {
  StartCalculator(kStandard);
  Type("[Ctrl+S]");
  for (int i = 1; i <= 24; ++i) Type(std::to_string(i) + "[Insert]");
  EXPECT_EQ(statistics.capacity, 24);
  Type("25[Insert]");
  EXPECT_EQ(statistics.capacity, 48) << "the 25th value grows the store";
  recorder.statisticsSelection = 0;
  StatisticsDeleteSelected();
  EXPECT_EQ(statistics.capacity, 24) << "back to 24 values, back to 24 entries";
  EXPECT_EQ(Type("[Ctrl+T]"), "324.");  // 2 + ... + 25
}

// Out of memory while adding: a value is in both the list and the store or in neither, and
// the user is told.
TEST(Statistics, DatOutOfMemoryAddsNothing) {
  StartCalculator(kStandard);
  Type("[Ctrl+S]");
  for (int i = 1; i <= 24; ++i) Type(std::to_string(i) + "[Insert]");
  Type("7=");
  for (std::uint64_t n = 1; n <= 50 && recorder.statisticsMemoryMessages == 0; ++n) {
    heapFailAllocationAt(n);
    Type("[Insert]");
    heapFailAllocationAt(0);
    EXPECT_EQ(recorder.statisticsList.size(), static_cast<size_t>(statistics.valueCount))
        << "allocation " << n;
  }
  EXPECT_EQ(recorder.statisticsMemoryMessages, 1) << "growing the store failed";
  EXPECT_EQ(statistics.valueCount, 24);

  Type("[Insert]");  // room for 48 now
  ASSERT_EQ(statistics.valueCount, 25);
  for (std::uint64_t n = 1; n <= 50 && recorder.statisticsMemoryMessages == 1; ++n) {
    heapFailAllocationAt(n);
    Type("[Insert]");
    heapFailAllocationAt(0);
    EXPECT_EQ(recorder.statisticsList.size(), static_cast<size_t>(statistics.valueCount));
  }
  EXPECT_EQ(recorder.statisticsMemoryMessages, 2) << "copying the value failed";

  recorder.statisticsListFails = true;
  int count = statistics.valueCount;
  Type("[Insert]");
  recorder.statisticsListFails = false;
  EXPECT_EQ(statistics.valueCount, count) << "a refused list item leaves no value behind";
  EXPECT_EQ(recorder.statisticsMemoryMessages, 3);
}

// Out of memory inside Sum, Ave or s shows the error instead of a partial sum.
TEST(Statistics, FunctionOutOfMemoryShowsTheError) {
  for (const char* key : {"[Ctrl+T]", "[Ctrl+A]", "[Ctrl+D]"}) {
    StartCalculator(kStandard);
    Type("[Ctrl+S]1.5[Insert]2.5[Insert]3.5[Insert]");
    bool sawError = false;
    for (std::uint64_t n = 1; n < 200 && !sawError; ++n) {
      Type("[Esc]");
      heapFailAllocationAt(n);
      Type(key);
      heapFailAllocationAt(0);
      sawError = engine.errorLocked;
      if (sawError) {
        EXPECT_EQ(RecordedText(kDisplay), "Недостаточно памяти для работы вемомера.") << key;
      } else {
        EXPECT_TRUE(RecordedText(kDisplay) != "0." || !recorder.messageBoxes.empty()) << key;
      }
      recorder.messageBoxes.clear();
    }
    EXPECT_TRUE(sawError) << key;
  }
}
}  // namespace
