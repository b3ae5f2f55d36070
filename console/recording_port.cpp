// The window port as a recorder: what the engine asks of the windows is remembered, nothing
// is drawn, the key flash does not wait, and the clipboard is a string.
#include "console/recording_port.h"

#include <cstring>
#include <new>

#include "engine/engine.h"
#include "engine/window_command.h"
#include "engine/window_port.h"
#include "numbers/bignum.h"
#include "engine/statistics_commands.h"

Recorder recorder;

namespace {
int arrowCursor;

// Appends one operation to the trace (callers test recorder.trace first, so that nothing is
// formatted when tracing is off).
void Trace(const std::string& event) { recorder.events.push_back(event); }
std::string Quoted(const char* text) { return std::string("\"") + text + "\""; }
}  // namespace

void WindowSetText(int id, const char* text) {
  if (recorder.trace) Trace("text " + std::to_string(id) + " " + Quoted(text));
  recorder.texts[id] = text;
}
void WindowCheckButton(int id, bool checked) {
  if (recorder.trace) Trace("check " + std::to_string(id) + " " + std::to_string(checked));
  recorder.checked[id] = checked;
}
void WindowCheckRadio(int firstId, int lastId, int checkedId) {
  if (recorder.trace) Trace("radio " + std::to_string(firstId) + " " + std::to_string(lastId) + " " + std::to_string(checkedId));
  recorder.radioChecked[firstId] = checkedId;
}
void WindowEnableItem(int id, bool enabled) {
  if (recorder.trace) Trace("enable " + std::to_string(id) + " " + std::to_string(enabled));
  recorder.enabled[id] = enabled;
}
void WindowFocusMain() {
  if (recorder.trace) Trace("focus");
  ++recorder.focusMain;
}
void WindowBeep() {
  if (recorder.trace) Trace("beep");
  ++recorder.beeps;
}
void WindowMessageBox(const char* text, const char* caption) {
  if (recorder.trace) Trace("messagebox " + Quoted(text) + " " + Quoted(caption));
  recorder.messageBoxes.emplace_back(text, caption);
}
void* WindowShowWaitCursor() {
  if (recorder.trace) Trace("cursor wait");
  ++recorder.cursorShown;
  return &arrowCursor;
}
void WindowRestoreCursor(void* cursor) {
  if (recorder.trace) Trace(cursor == &arrowCursor ? "cursor restore" : "cursor other");
  if (cursor == &arrowCursor) --recorder.cursorShown;
}
void WindowFlashKey(int id) {
  if (recorder.trace) Trace("flash " + std::to_string(id));
  ++recorder.flashes;
}
void WindowSendCommand(unsigned id, unsigned notificationCode) {
  if (recorder.trace) Trace("send " + std::to_string(id) + (notificationCode == 1 ? "" : " unflashed"));
  HandleCommand(id, notificationCode);
}

void GuardWatchStart() { recorder.commandRunning.store(1); }
void GuardWatchEnd() { recorder.commandRunning.store(0); }

bool StatisticsBoxCreate() {
  if (recorder.trace) Trace("box create");
  recorder.statisticsBoxExists = true;
  recorder.statisticsList.clear();
  recorder.statisticsSelection = -1;
  recorder.statisticsCount = 0;
  return true;
}
void StatisticsBoxDestroy() {
  if (recorder.trace) Trace("box destroy");
  recorder.statisticsBoxExists = false;
  recorder.statisticsList.clear();
  recorder.statisticsSelection = -1;
}
void StatisticsBoxFocus() {
  if (recorder.trace) Trace("box focus");
  ++recorder.statisticsBoxFocus;
}
int StatisticsListAdd(const char* text) {
  if (recorder.trace) Trace("list add " + Quoted(text));
  if (recorder.statisticsListFails) return -1;
  recorder.statisticsList.emplace_back(text);
  return static_cast<int>(recorder.statisticsList.size()) - 1;
}
void StatisticsListDelete(int index) {
  if (recorder.trace) Trace("list delete " + std::to_string(index));
  auto& list = recorder.statisticsList;
  if (index >= 0 && index < static_cast<int>(list.size())) list.erase(list.begin() + index);
  if (recorder.statisticsSelection >= static_cast<int>(list.size())) recorder.statisticsSelection = -1;
}
void StatisticsListReset() {
  if (recorder.trace) Trace("list reset");
  recorder.statisticsList.clear();
  recorder.statisticsSelection = -1;
}
void StatisticsListSelect(int index) {
  if (recorder.trace) Trace("list select " + std::to_string(index));
  bool valid = index >= 0 && index < static_cast<int>(recorder.statisticsList.size());
  recorder.statisticsSelection = valid ? index : -1;
}
int StatisticsListSelection() { return recorder.statisticsSelection; }
void StatisticsShowCount(int count) {
  if (recorder.trace) Trace("count " + std::to_string(count));
  recorder.statisticsCount = count;
}
void StatisticsMemoryMessage() {
  if (recorder.trace) Trace("box memory message");
  ++recorder.beeps;
  ++recorder.statisticsMemoryMessages;
}

void ClipboardPutText(const char* text) {
  if (recorder.trace) Trace("clipboard put " + Quoted(text));
  recorder.clipboard = text;
}
bool ClipboardOpenText(const char** text, std::size_t* length) {
  if (recorder.trace) Trace("clipboard open");
  ++recorder.clipboardReads;
  try {
    recorder.pasteBytes = PasteTextFromUtf8(recorder.clipboard.data(), recorder.clipboard.size());
  } catch (const std::bad_alloc&) {
    return false;
  }
  *text = recorder.pasteBytes.data();
  *length = recorder.pasteBytes.size();
  return true;
}
void ClipboardCloseText() {
  if (recorder.trace) Trace("clipboard close");
  recorder.pasteBytes.clear();
}
void ShellShowAbout() {
  if (recorder.trace) Trace("about");
  ++recorder.aboutShown;
}
void ShellShowHelp() {
  if (recorder.trace) Trace("help");
  ++recorder.helpShown;
}
void ShellSaveLayout(int layout) {
  if (recorder.trace) Trace("save layout " + std::to_string(layout));
  recorder.savedLayout = layout;
}
void ShellRecreateMainWindow() {
  if (recorder.trace) Trace("recreate window");
  PrepareMainWindow();
  ++recorder.windowCreations;
  FinishMainWindow();
}

void StartRecordedCalculator(const char* commandLine, int layout, char decimalSymbol) {
  CloseStatisticsBox();
  bool trace = recorder.trace;
  recorder.~Recorder();
  new (&recorder) Recorder();
  recorder.trace = trace;
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
