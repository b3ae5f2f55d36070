// The statistics commands: Sta opens the box, Dat adds the current value, Ave, Sum and s
// show their result, and the box's buttons LOAD, CD and CAD. The values live in the store
// (statistics/statistics.h); this file keeps the box and its list in step with it, shows
// results and errors, and enables the statistics keys.
#pragma once

// Opens a new, empty box; does nothing while one is open or when it cannot be made.
void OpenStatisticsBox();
// Closes the open box and empties the store; the statistics keys are disabled either way.
void CloseStatisticsBox();
bool StatisticsBoxOpen();
// Commands 118 Ave, 119 Sum, 120 s and 121 Dat; any other id does nothing.
void RunStatisticsCommand(unsigned id);
// LOAD: the selected value into the engine's current register.
void StatisticsLoad();
// CD: deletes the selected value; false (after a beep) when there is none.
bool StatisticsDeleteSelected();
// CAD: deletes every value.
void StatisticsDeleteAll();
