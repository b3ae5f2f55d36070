// The engine's outbound window operations carried out with the Win32 calls on the main
// window. With no main window (before the first creation) the calls act on a null window
// and do nothing.
//
// Copy, paste, About, Help, the long-computation guard and the statistics box are not part
// of this program yet: their operations do nothing (the statistics box cannot be opened).
#include <windows.h>

#include "engine/engine.h"
#include "engine/window_command.h"
#include "engine/window_port.h"
#include "shell/shell_state.h"

// --- Controls of the main window --------------------------------------------------------

void WindowSetText(int id, const char* text) { SetDlgItemTextA(shell.mainWindow, id, text); }

void WindowCheckButton(int id, bool checked) {
  CheckDlgButton(shell.mainWindow, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

void WindowCheckRadio(int firstId, int lastId, int checkedId) {
  CheckRadioButton(shell.mainWindow, firstId, lastId, checkedId);
}

void WindowEnableItem(int id, bool enabled) {
  HWND item = GetDlgItem(shell.mainWindow, id);
  if (item) EnableWindow(item, enabled ? TRUE : FALSE);
}

void WindowFocusMain() {
  if (shell.mainWindow) SetFocus(shell.mainWindow);
}

void WindowBeep() { MessageBeep(0); }

void WindowMessageBox(const char* text, const char* caption) {
  MessageBoxA(shell.mainWindow, text, caption, MB_OK);
}

void* WindowShowWaitCursor() { return SetCursor(LoadCursorA(nullptr, IDC_WAIT)); }

void WindowRestoreCursor(void* cursor) { SetCursor(static_cast<HCURSOR>(cursor)); }

// A push button would show a short press; the picture keys ignore the message, so only the
// pause remains.
void WindowFlashKey(int id) {
  HWND key = GetDlgItem(shell.mainWindow, id);
  if (key) SendMessageA(key, BM_SETSTATE, TRUE, 0);
  Sleep(20);
  if (key) SendMessageA(key, BM_SETSTATE, FALSE, 0);
}

// --- Long-computation guard -------------------------------------------------------------

void GuardWatchStart() {}
void GuardWatchEnd() {}
void StopGuard() {}

// --- Statistics box ---------------------------------------------------------------------

bool StatisticsBoxCreate() { return false; }
void StatisticsBoxDestroy() { shell.statisticsBox = nullptr; }
void StatisticsBoxFocus() {
  if (shell.statisticsBox) SetFocus(shell.statisticsBox);
}
int StatisticsListAdd(const char*) { return -1; }
void StatisticsListDelete(int) {}
void StatisticsListReset() {}
void StatisticsListSelect(int) {}
int StatisticsListSelection() { return -1; }
void StatisticsShowCount(int) {}
void StatisticsMemoryMessage() { MessageBeep(0); }

// --- Shell services ---------------------------------------------------------------------

void ClipboardPutText(const char*) {}
bool ClipboardOpenText(const char**, std::size_t*) { return false; }
void ClipboardCloseText() {}
void ShellShowAbout() {}
void ShellShowHelp() {}

void ShellSaveLayout(int layout) {
  WriteProfileStringA("SciVemo", "layout", layout == 0 ? "0" : "1");
}

void ShellRecreateMainWindow() { CreateMainWindow(true); }
