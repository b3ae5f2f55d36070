// The statistics data set and the statistics commands (portable part).
//
// The store keeps an owned copy of each value added with Dat, in order; the box's list
// shows the display text of each value at the moment it was added. The window of the box
// is the platform's (engine/window_port.h, StatisticsBox* and StatisticsList*); its
// buttons call StatisticsLoad, StatisticsDeleteSelected and StatisticsDeleteAll.
#pragma once
#include "numbers/bignum.h"

constexpr int kStoreGrowthStep = 24;  // entries by which the store grows and shrinks

struct StatisticsStore {
  bool boxOpen = false;
  Ratio* values = nullptr;  // a heap block with room for `capacity` handles
  int capacity = 0;
  int valueCount = 0;
  int selectedIndex = -1;   // the list selection last read by LOAD or CD
};
extern StatisticsStore statistics;

// Opens a new box (true) or closes the open one (false), emptying the store.
void OpenStatisticsBox(bool open);
// Commands 118 Ave, 119 Sum, 120 s and 121 Dat; any other id does nothing.
void RunStatisticsCommand(unsigned id);
// LOAD: the selected value into the engine's current register.
void StatisticsLoad();
// CD: deletes the selected value; false (after a beep) when there is none.
bool StatisticsDeleteSelected();
// CAD: deletes every value.
void StatisticsDeleteAll();
