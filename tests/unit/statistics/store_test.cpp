// The statistics store alone: values in and out, the functions against exact sums, the
// growth step, and a failed allocation that leaves the store as it was.
#include <gtest/gtest.h>

#include <cstring>

#include "numbers/heap.h"
#include "statistics/statistics.h"
#include "transcendental/transcendental.h"
#include "unit/numbers/support.h"

namespace {
class StoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::strcpy(numbers.decimalSymbol, ".");
    setRadixPrecisionAndConstants(10, 33);
    statisticsClear();
  }
  void TearDown() override { statisticsClear(); }

  static void Add(const char* text) {
    statisticsReserve();
    statisticsAppend(parse(text));
  }
};

TEST_F(StoreTest, FunctionsOfTheValues) {
  for (const char* v : {"2", "4", "4", "4", "5", "5", "7", "9"}) Add(v);
  EXPECT_EQ(mpqOf(statisticsSum(false)), 40);
  EXPECT_EQ(mpqOf(statisticsSum(true)), 232);
  EXPECT_EQ(mpqOf(statisticsAverage(false)), 5);
  EXPECT_EQ(mpqOf(statisticsAverage(true)), 29);
  EXPECT_EQ(render(statisticsDeviation(true)), "2.");
  EXPECT_EQ(render(statisticsDeviation(false)), "2.13808993529939507747642784703803");
  EXPECT_EQ(mpqOf(statisticsLoad(6)), 7);
}

TEST_F(StoreTest, EmptyAndSingleSets) {
  EXPECT_EQ(mpqOf(statisticsSum(false)), 0);
  EXPECT_EQ(mpqOf(statisticsDeviation(false)), 0);
  try {
    statisticsAverage(false);
    ADD_FAILURE() << "the mean of no values";
  } catch (const ArithmeticError& err) {
    EXPECT_EQ(err.code(), DivideByZero);
  }
  Add("-1.5");
  EXPECT_EQ(mpqOf(statisticsAverage(false)), mpq_class(-3, 2));
  EXPECT_EQ(mpqOf(statisticsDeviation(true)), 0) << "one value has no spread";
}

TEST_F(StoreTest, GrowsAndShrinksByWholeSteps) {
  for (int i = 1; i <= kStoreGrowthStep + 1; ++i) Add(std::to_string(i).c_str());
  EXPECT_EQ(statistics.capacity, 2 * kStoreGrowthStep);
  statisticsRemove(0);
  EXPECT_EQ(statistics.valueCount, kStoreGrowthStep);
  EXPECT_EQ(statistics.capacity, kStoreGrowthStep) << "back to a whole step";
  EXPECT_EQ(mpqOf(statisticsLoad(0)), 2) << "the values after the removed one move down";
  EXPECT_EQ(mpqOf(statisticsSum(false)), 324);
  statisticsClear();
  EXPECT_EQ(statistics.valueCount, 0);
  EXPECT_EQ(statistics.capacity, 0);
}

TEST_F(StoreTest, FailedGrowthKeepsTheStore) {
  for (int i = 1; i <= kStoreGrowthStep; ++i) Add("3");
  heapFailAllocationAt(1);
  EXPECT_THROW(statisticsReserve(), ArithmeticError);
  heapFailAllocationAt(0);
  EXPECT_EQ(statistics.valueCount, kStoreGrowthStep);
  EXPECT_EQ(statistics.capacity, kStoreGrowthStep);
  EXPECT_EQ(mpqOf(statisticsSum(false)), 3 * kStoreGrowthStep);
}
}  // namespace
