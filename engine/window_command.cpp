// The main window's command logic shared by the Win32 window procedure and the console.
#include "engine/window_command.h"

#include "engine/engine_internal.h"
#include "engine/statistics_commands.h"

void HandleCommand(unsigned id, unsigned notificationCode) {
  // Only clicks (0) and accelerators, pasted characters and double clicks (1) are commands;
  // static keys also report being enabled or disabled with other codes.
  if (notificationCode > 1) return;
  if (id == CmdMod && settings.layout == 1) id = CmdPercent;
  if (notificationCode == 1) WindowFlashKey(static_cast<int>(id));
  if (id == kMemoryIndicator || id == kParenIndicator || id == kDisplay) return;
  ExecuteCommand(id);
}

namespace {
// Closes the clipboard on every path out of a paste.
struct ClipboardText {
  ~ClipboardText() { ClipboardCloseText(); }
};
}  // namespace

void RunShellCommand(unsigned id) {
  switch (id) {
    case CmdCopy: {
      std::string text = CopyDisplayText();
      ClipboardPutText(text.c_str());
      break;
    }
    case CmdPaste: {
      const char* text = nullptr;
      std::size_t length = 0;
      if (!ClipboardOpenText(&text, &length)) break;
      ClipboardText close;
      PasteText(text, length);
      break;
    }
    case CmdAbout:
      ShellShowAbout();
      break;
    case CmdScientificLayout:
    case CmdStandardLayout:
      SwitchLayout(static_cast<int>(id - CmdScientificLayout));
      break;
    case CmdHelp:
      ShellShowHelp();
      break;
    default:
      break;
  }
}

void PrepareMainWindow() {
  ResetRegisters();
  engine.entryActive = false;
}

void FinishMainWindow() {
  engine.enabledRadix = -1;
  SelectRadix(10);
  WriteMemoryIndicator();
}

void SwitchLayout(int layout) {
  if (layout == settings.layout) return;
  ShellSaveLayout(layout);
  if (engine.statisticsBoxOpen && settings.layout == 0) CloseStatisticsBox();
  settings.layout = layout;
  ShellRecreateMainWindow();
}
