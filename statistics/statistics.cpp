// The statistics data set: the store of values, Dat, LOAD, CD and CAD, and the statistics
// commands Ave, Sum and s.
#include "statistics/statistics.h"

#include <new>

#include "engine/engine.h"
#include "engine/window_port.h"
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

void FreeStore() {
  StatisticsStore& s = statistics;
  for (int i = 0; i < s.capacity; ++i) s.values[i].~Ratio();
  heapFree(s.values);
  s.values = nullptr;
  s.capacity = 0;
  s.valueCount = 0;
}

void EnableStatisticsKeys(bool enable) {
  for (int id = CmdAverage; id <= static_cast<int>(CmdData); ++id) WindowEnableItem(id, enable);
}

// Dat: appends a copy of current and the display text. The copy is made first, so a value
// is either in both the list and the store or in neither.
void AddValue() {
  StatisticsStore& s = statistics;
  if (s.valueCount == s.capacity) {
    try {
      ResizeStore(s.capacity + kStoreGrowthStep);
    } catch (const ArithmeticError&) {
      StatisticsMemoryMessage();
      return;
    }
  }
  Ratio value;
  try {
    value = ratioCopy(engine.current);
  } catch (const ArithmeticError&) {
    StatisticsMemoryMessage();
    return;
  }
  int index = StatisticsListAdd(engine.displayText.c_str());
  if (index < 0) index = StatisticsListAdd(engine.displayText.c_str());
  if (index < 0) {
    StatisticsMemoryMessage();
    return;
  }
  StatisticsListSelect(index);
  s.values[s.valueCount] = std::move(value);
  ++s.valueCount;
  StatisticsShowCount(s.valueCount);
}

// Sum of the values, or of their squares. A big store of long values can take seconds: a
// stop ends the loop with a partial sum, which the engine does not show.
Ratio SumOf(bool squares) {
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

// s = sqrt((sum x^2 - (sum x)^2 / n) / (n - 1)), or divided by n with Inv.
Ratio Deviation(bool population) {
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
  ratioRoot(squares, kTwo);
  return squares;
}
}  // namespace

void OpenStatisticsBox(bool open) {
  StatisticsStore& s = statistics;
  if (open) {
    if (s.boxOpen || !StatisticsBoxCreate()) return;
    FreeStore();
    s.selectedIndex = -1;
    s.boxOpen = true;
    EnableStatisticsKeys(true);
    return;
  }
  if (s.boxOpen) {
    StatisticsBoxDestroy();
    FreeStore();
    s.boxOpen = false;
  }
  EnableStatisticsKeys(false);
}

// The result replaces current only when the computation succeeds; an error (out of memory,
// a stop) shows its message instead of a partial sum.
void RunStatisticsCommand(unsigned id) {
  Engine& e = engine;
  if (id == CmdData) {
    AddValue();
    return;
  }
  if (id < CmdAverage || id > CmdDeviation) return;
  try {
    Ratio result;
    if (id == CmdDeviation) {
      result = Deviation(e.inverse);
    } else {
      result = SumOf(e.inverse);
      if (id == CmdAverage) {
        if (statistics.valueCount == 0) {
          e.current = ratioFromInt(0);
          ShowError(DivideByZero);
          return;
        }
        ratioDivide(result, ratioFromInt(statistics.valueCount));
      }
    }
    e.current = std::move(result);
  } catch (const ArithmeticError& err) {
    std::uint32_t code = err.payload - kErrorBase;
    ShowError(code <= Aborted ? err.code() : OutOfMemory);
  }
}

// LOAD: the selected value becomes current; typing ends and the next command takes the
// loaded value as the operand just entered. While an error message locks the calculator it
// is refused like every other key, so the message stays until C or CE.
void StatisticsLoad() {
  Engine& e = engine;
  StatisticsStore& s = statistics;
  if (e.errorLocked) {
    WindowBeep();
    return;
  }
  try {
    s.selectedIndex = StatisticsListSelection();
    if (s.valueCount <= 0 || s.selectedIndex < 0 || s.selectedIndex >= s.valueCount) {
      WindowBeep();
    } else {
      e.current = ratioCopy(s.values[s.selectedIndex]);
    }
    e.entryActive = false;
    RefreshDisplay();
  } catch (...) {
    WindowMessageBox("An unknown error has occured.", "Error");
  }
  e.lastCommand = 32;
}

bool StatisticsDeleteSelected() {
  StatisticsStore& s = statistics;
  s.selectedIndex = StatisticsListSelection();
  if (s.selectedIndex < 0 || s.selectedIndex > s.valueCount - 1 || s.valueCount == 0) {
    WindowBeep();
    return false;
  }
  StatisticsListDelete(s.selectedIndex);
  --s.valueCount;
  if (s.valueCount == 0) {
    StatisticsDeleteAll();
    return true;
  }
  StatisticsListSelect(s.selectedIndex < s.valueCount ? s.selectedIndex : s.valueCount - 1);
  for (int i = s.selectedIndex; i < s.valueCount; ++i) s.values[i] = std::move(s.values[i + 1]);
  s.values[s.valueCount].reset();
  StatisticsShowCount(s.valueCount);
  if (s.valueCount % kStoreGrowthStep == 0) {
    try {
      ResizeStore(s.valueCount);
    } catch (const ArithmeticError&) {
      // The larger block is kept.
    }
  }
  return true;
}

void StatisticsDeleteAll() {
  StatisticsListReset();
  StatisticsShowCount(0);
  FreeStore();
}
