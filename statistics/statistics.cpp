// The statistics data set and the statistics functions Ave, Sum and s.
#include "statistics/statistics.h"

#include <new>
#include <utility>

#include "numbers/numbers.h"
#include "transcendental/transcendental.h"

StatisticsStore statistics;

namespace {
// Moves the values into a new block with room for `capacity` handles (sized by the handle
// type). Raises OutOfMemory and leaves the store as it was when no block can be had.
void ResizeStore(int capacity) {
  StatisticsStore& s = statistics;
  Ratio* block = nullptr;
  if (capacity > 0) {
    block = static_cast<Ratio*>(heapAllocateZeroed(sizeof(Ratio) * static_cast<std::size_t>(capacity)));
    for (int i = 0; i < capacity; ++i) new (&block[i]) Ratio();
    for (int i = 0; i < s.valueCount && i < capacity; ++i) block[i] = std::move(s.values[i]);
  }
  for (int i = 0; i < s.capacity; ++i) s.values[i].~Ratio();
  heapFree(s.values);
  s.values = block;
  s.capacity = capacity;
}
}  // namespace

void statisticsReserve() {
  StatisticsStore& s = statistics;
  if (s.valueCount == s.capacity) ResizeStore(s.capacity + kStoreGrowthStep);
}

void statisticsAppend(Ratio&& value) {
  StatisticsStore& s = statistics;
  s.values[s.valueCount] = std::move(value);
  ++s.valueCount;
}

void statisticsRemove(int index) {
  StatisticsStore& s = statistics;
  --s.valueCount;
  for (int i = index; i < s.valueCount; ++i) s.values[i] = std::move(s.values[i + 1]);
  s.values[s.valueCount].reset();
  if (s.valueCount % kStoreGrowthStep == 0) {
    try {
      ResizeStore(s.valueCount);
    } catch (const ArithmeticError&) {
      // The larger block is kept.
    }
  }
}

void statisticsClear() {
  StatisticsStore& s = statistics;
  for (int i = 0; i < s.capacity; ++i) s.values[i].~Ratio();
  heapFree(s.values);
  s.values = nullptr;
  s.capacity = 0;
  s.valueCount = 0;
}

Ratio statisticsLoad(int index) { return ratioCopy(statistics.values[index]); }

// A big store of long values can take seconds: the loop polls the stop flag.
Ratio statisticsSum(bool squares) {
  const StatisticsStore& s = statistics;
  Ratio sum = ratioFromInt(0);
  for (int i = 0; i < s.valueCount && !stopRequested(); ++i) {
    if (squares) {
      Ratio square = ratioCopy(s.values[i]);
      ratioMultiply(square, s.values[i]);
      ratioAdd(sum, square);
    } else {
      ratioAdd(sum, s.values[i]);
    }
  }
  return sum;
}

Ratio statisticsAverage(bool squares) {
  if (statistics.valueCount == 0) raiseError(DivideByZero);
  Ratio result = statisticsSum(squares);
  ratioDivide(result, ratioFromInt(statistics.valueCount));
  return result;
}

Ratio statisticsDeviation(bool population) {
  const StatisticsStore& s = statistics;
  if (s.valueCount <= 1) return ratioFromInt(0);
  Ratio squares = ratioFromInt(0);
  Ratio sum = ratioFromInt(0);
  for (int i = 0; i < s.valueCount && !stopRequested(); ++i) {
    ratioAdd(sum, s.values[i]);
    Ratio square = ratioCopy(s.values[i]);
    ratioMultiply(square, s.values[i]);
    ratioAdd(squares, square);
  }
  Ratio n = ratioFromInt(s.valueCount);
  Ratio t = ratioCopy(sum);
  ratioMultiply(t, sum);
  ratioDivide(t, n);
  ratioSubtract(squares, t);
  if (ratioIsZero(squares)) return ratioFromInt(0);
  if (!population) ratioSubtract(n, kOne);
  ratioDivide(squares, n);
  ratioSquareRoot(squares);
  return squares;
}
