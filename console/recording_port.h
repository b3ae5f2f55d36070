// The console's window port: every window operation of the engine is recorded here instead
// of reaching a window. Also used by the engine's unit tests.
#pragma once
#include <atomic>
#include <map>
#include <string>
#include <utility>
#include <vector>

struct Recorder {
  std::map<int, std::string> texts;   // last text written to each control
  std::map<int, bool> checked;        // check boxes
  std::map<int, int> radioChecked;    // radio groups, by their first id
  std::map<int, bool> enabled;        // controls that were enabled or disabled
  int beeps = 0;
  int flashes = 0;
  int focusMain = 0;
  int cursorShown = 0;                // wait cursors installed and not yet restored
  std::vector<std::pair<std::string, std::string>> messageBoxes;  // text, caption
  std::atomic<int> commandRunning{0};  // between the guard's start and end of a command

  bool statisticsBoxExists = false;
  int statisticsBoxFocus = 0;
  std::vector<std::string> statisticsList;
  int statisticsSelection = -1;
  int statisticsCount = 0;
  int statisticsMemoryMessages = 0;
  bool statisticsListFails = false;   // test hook: every list append fails

  std::string clipboard;              // UTF-8, as copy puts it and --clipboard gives it
  std::string pasteBytes;             // the clipboard's paste bytes while a paste runs
  int clipboardReads = 0;
  int aboutShown = 0;
  int helpShown = 0;
  int savedLayout = -1;
  int windowCreations = 0;

  bool trace = false;                 // record every window operation in events
  std::vector<std::string> events;    // one line per operation while trace is on
};
extern Recorder recorder;

// Starts the calculator as the window program does: the options of commandLine (program
// name first), the engine's start-up, the main window in the given layout with the given
// decimal symbol, radix 10 selected and 0 shown. Whatever ran before is forgotten.
void StartRecordedCalculator(const char* commandLine, int layout, char decimalSymbol);

// The last text written to a control ("" when none).
std::string RecordedText(int id);
