// The engine's outbound window operations carried out with the Win32 calls on the main
// window. With no main window (before the first creation) the calls act on a null window
// and do nothing. The guard's operations are in guard.cpp, the statistics box's in
// statistics_box.cpp, the clipboard's in clipboard.cpp, About and Help in help.cpp.
#include <windows.h>

#include "engine/engine.h"
#include "engine/window_command.h"
#include "engine/window_port.h"
#include "shell/shell_state.h"

// --- Controls of the main window --------------------------------------------------------

void WindowSetText(int id, const char* text) {
  if (DeferPastedText(id, text)) return;
  SetDlgItemTextA(shell.mainWindow, id, text);
}

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

void* WindowShowWaitCursor() {
  if (shell.pasting) return PasteWaitCursor();
  return SetCursor(LoadCursorA(nullptr, IDC_WAIT));
}

void WindowRestoreCursor(void* cursor) {
  if (!shell.pasting) SetCursor(static_cast<HCURSOR>(cursor));
}

// A button key is drawn pressed for the pause (painted at once: no message is handled
// during it); the picture keys ignore the message, so only the pause remains.
void WindowFlashKey(int id) {
  HWND key = GetDlgItem(shell.mainWindow, id);
  if (key) {
    SendMessageA(key, BM_SETSTATE, TRUE, 0);
    UpdateWindow(key);
  }
  Sleep(20);
  if (key) {
    SendMessageA(key, BM_SETSTATE, FALSE, 0);
    UpdateWindow(key);
  }
}

// --- Shell services (copy and paste: clipboard.cpp; About and Help: help.cpp) ----------

void ShellSaveLayout(int layout) {
  WriteProfileStringA("SciVemo", "layout", layout == 0 ? "0" : "1");
}

void ShellRecreateMainWindow() { CreateMainWindow(); }
