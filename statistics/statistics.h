// The statistics data set: an owned copy of each value added, in order, and the statistics
// functions on it (Ave, Sum, s). It knows nothing of the display, the box or the error lock:
// failures are raised as ArithmeticError, and the engine's statistics commands
// (engine/statistics_commands.h) show them.
#pragma once
#include "numbers/bignum.h"

constexpr int kStoreGrowthStep = 24;  // entries by which the store grows and shrinks

struct StatisticsStore {
  Ratio* values = nullptr;  // a heap block with room for `capacity` handles
  int capacity = 0;
  int valueCount = 0;
};
extern StatisticsStore statistics;

// Makes room for one more value, growing the store by a step when it is full. Raises
// OutOfMemory and leaves the store as it was when no block can be had.
void statisticsReserve();
// Appends value; statisticsReserve must have made room for it.
void statisticsAppend(Ratio&& value);
// Removes the value at index (0 <= index < valueCount); when the count falls to a whole
// number of steps the store shrinks to it (if that fails the larger block is kept).
void statisticsRemove(int index);
// Removes every value and frees the store.
void statisticsClear();
// A copy of the value at index (0 <= index < valueCount).
Ratio statisticsLoad(int index);

// Sum of the values, or of their squares. A stop ends the loop with a partial sum, which
// the caller must not show.
Ratio statisticsSum(bool squares);
// The mean of the values, or of their squares; DivideByZero for an empty set.
Ratio statisticsAverage(bool squares);
// s = sqrt((sum x^2 - (sum x)^2 / n) / (n - 1)), or divided by n for the population;
// 0 for fewer than two values.
Ratio statisticsDeviation(bool population);
