// The statistics commands and the box's buttons over the statistics store.
#include "engine/statistics_commands.h"

#include <utility>

#include "engine/engine_internal.h"
#include "statistics/statistics.h"

namespace {
void EnableStatisticsKeys(bool enable) {
  for (int id = CmdAverage; id <= static_cast<int>(CmdData); ++id) WindowEnableItem(id, enable);
}

// Dat: appends a copy of current and the display text. The copy is made first, so a value
// is either in both the list and the store or in neither.
void AddValue() {
  try {
    statisticsReserve();
  } catch (const ArithmeticError&) {
    StatisticsMemoryMessage();
    return;
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
  statisticsAppend(std::move(value));
  StatisticsShowCount(statistics.valueCount);
}
}  // namespace

bool StatisticsBoxOpen() { return engine.statisticsBoxOpen; }

void OpenStatisticsBox() {
  Engine& e = engine;
  if (e.statisticsBoxOpen || !StatisticsBoxCreate()) return;
  statisticsClear();
  e.statisticsSelection = -1;
  e.statisticsBoxOpen = true;
  EnableStatisticsKeys(true);
}

void CloseStatisticsBox() {
  if (engine.statisticsBoxOpen) {
    StatisticsBoxDestroy();
    statisticsClear();
    engine.statisticsBoxOpen = false;
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
      result = statisticsDeviation(e.inverse);
    } else if (id == CmdSum) {
      result = statisticsSum(e.inverse);
    } else {
      if (statistics.valueCount == 0) {
        e.current = ratioFromInt(0);
        ShowError(DivideByZero);
        return;
      }
      result = statisticsAverage(e.inverse);
    }
    e.current = std::move(result);
  } catch (const ArithmeticError& err) {
    ShowArithmeticError(err);
  }
}

// LOAD: the selected value becomes current; typing ends and the next command takes the
// loaded value as the operand just entered. While an error message locks the calculator it
// is refused like every other key, so the message stays until C or CE.
void StatisticsLoad() {
  Engine& e = engine;
  if (e.errorLocked) {
    WindowBeep();
    return;
  }
  try {
    int selected = e.statisticsSelection = StatisticsListSelection();
    if (statistics.valueCount <= 0 || selected < 0 || selected >= statistics.valueCount) {
      WindowBeep();
    } else {
      e.current = statisticsLoad(selected);
    }
    e.entryActive = false;
    RefreshDisplay();
  } catch (...) {
    WindowMessageBox("An unknown error has occured.", "Error");
  }
  e.lastCommand = 32;
}

bool StatisticsDeleteSelected() {
  int count = statistics.valueCount;
  int selected = engine.statisticsSelection = StatisticsListSelection();
  if (selected < 0 || selected > count - 1 || count == 0) {
    WindowBeep();
    return false;
  }
  StatisticsListDelete(selected);
  if (count == 1) {
    StatisticsDeleteAll();
    return true;
  }
  StatisticsListSelect(selected < count - 1 ? selected : count - 2);
  statisticsRemove(selected);
  StatisticsShowCount(statistics.valueCount);
  return true;
}

void StatisticsDeleteAll() {
  StatisticsListReset();
  StatisticsShowCount(0);
  statisticsClear();
}
