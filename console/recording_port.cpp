// The window port as a recorder: what the engine asks of the windows is remembered, nothing
// is drawn, the key flash does not wait, and the clipboard is a string.
#include "console/recording_port.h"

#include <cstring>
#include <new>

#include "engine/engine.h"
#include "engine/window_command.h"
#include "engine/window_port.h"
#include "numbers/bignum.h"
#include "statistics/statistics.h"

Recorder recorder;

namespace {
int arrowCursor;
}  // namespace

void WindowSetText(int id, const char* text) { recorder.texts[id] = text; }
void WindowCheckButton(int id, bool checked) { recorder.checked[id] = checked; }
void WindowCheckRadio(int firstId, int, int checkedId) { recorder.radioChecked[firstId] = checkedId; }
void WindowEnableItem(int id, bool enabled) { recorder.enabled[id] = enabled; }
void WindowFocusMain() { ++recorder.focusMain; }
void WindowBeep() { ++recorder.beeps; }
void WindowMessageBox(const char* text, const char* caption) {
  recorder.messageBoxes.emplace_back(text, caption);
}
void* WindowShowWaitCursor() {
  ++recorder.cursorShown;
  return &arrowCursor;
}
void WindowRestoreCursor(void* cursor) {
  if (cursor == &arrowCursor) --recorder.cursorShown;
}
void WindowFlashKey(int) { ++recorder.flashes; }
void WindowSendCommand(unsigned id) { HandleCommand(id, 1); }

void GuardWatchStart() { recorder.commandRunning.store(1); }
void GuardWatchEnd() { recorder.commandRunning.store(0); }

bool StatisticsBoxCreate() {
  recorder.statisticsBoxExists = true;
  recorder.statisticsList.clear();
  recorder.statisticsSelection = -1;
  recorder.statisticsCount = 0;
  return true;
}
void StatisticsBoxDestroy() {
  recorder.statisticsBoxExists = false;
  recorder.statisticsList.clear();
  recorder.statisticsSelection = -1;
}
void StatisticsBoxFocus() { ++recorder.statisticsBoxFocus; }
int StatisticsListAdd(const char* text) {
  if (recorder.statisticsListFails) return -1;
  recorder.statisticsList.emplace_back(text);
  return static_cast<int>(recorder.statisticsList.size()) - 1;
}
void StatisticsListDelete(int index) {
  auto& list = recorder.statisticsList;
  if (index >= 0 && index < static_cast<int>(list.size())) list.erase(list.begin() + index);
  if (recorder.statisticsSelection >= static_cast<int>(list.size())) recorder.statisticsSelection = -1;
}
void StatisticsListReset() {
  recorder.statisticsList.clear();
  recorder.statisticsSelection = -1;
}
void StatisticsListSelect(int index) {
  bool valid = index >= 0 && index < static_cast<int>(recorder.statisticsList.size());
  recorder.statisticsSelection = valid ? index : -1;
}
int StatisticsListSelection() { return recorder.statisticsSelection; }
void StatisticsShowCount(int count) { recorder.statisticsCount = count; }
void StatisticsMemoryMessage() {
  ++recorder.beeps;
  ++recorder.statisticsMemoryMessages;
}

void ClipboardPutText(const char* text) { recorder.clipboard = text; }
bool ClipboardOpenText(const char** text, std::size_t* length) {
  ++recorder.clipboardReads;
  *text = recorder.clipboard.data();
  *length = recorder.clipboard.size();
  return true;
}
void ClipboardCloseText() {}
void ShellShowAbout() { ++recorder.aboutShown; }
void ShellShowHelp() { ++recorder.helpShown; }
void ShellSaveLayout(int layout) { recorder.savedLayout = layout; }
void ShellRecreateMainWindow() {
  PrepareMainWindow();
  ++recorder.windowCreations;
  FinishMainWindow();
}

void StartRecordedCalculator(const char* commandLine, int layout, char decimalSymbol) {
  OpenStatisticsBox(false);
  recorder.~Recorder();
  new (&recorder) Recorder();
  engine = Engine{};
  settings = Settings{};
  numbers.radix = 10;
  std::memset(numbers.decimalSymbol, 0, sizeof numbers.decimalSymbol);
  numbers.decimalSymbol[0] = decimalSymbol;
  ParseCommandLine(commandLine);
  InitEngine();
  settings.layout = layout;
  PrepareMainWindow();
  ++recorder.windowCreations;
  FinishMainWindow();
}

std::string RecordedText(int id) {
  auto it = recorder.texts.find(id);
  return it == recorder.texts.end() ? std::string() : it->second;
}
