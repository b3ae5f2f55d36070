// Copy and paste with the Windows clipboard. The text and the replay are the engine's
// (engine/clipboard.cpp); here they meet the clipboard and the main window.
#include <windows.h>

#include <cstring>
#include <new>

#include "engine/engine.h"
#include "engine/window_port.h"
#include "shell/shell_state.h"

// The hidden EDIT window puts the text on the clipboard: select all, then cut. The text is
// passed whole, whatever its length. When the clipboard is busy nothing happens.
void ClipboardPutText(const char* text) {
  HWND edit = shell.clipboardEdit;
  if (!edit) return;
  SetWindowTextA(edit, text);
  SendMessageA(edit, EM_SETSEL, 0, -1);
  SendMessageA(edit, WM_CUT, 0, 0);
}

// Takes a copy of the clipboard's CF_TEXT (up to its first zero byte, never past the end of
// its block) and closes the clipboard at once, so that other programs can use it while the
// text is replayed. No text on the clipboard gives an empty paste.
bool ClipboardOpenText(const char** text, std::size_t* length) {
  if (!OpenClipboard(shell.mainWindow)) {
    MessageBoxA(shell.mainWindow, LabelTable[75], LabelTable[78], MB_ICONEXCLAMATION);
    return false;
  }
  bool copied = true;
  shell.pastedText.clear();
  HANDLE data = GetClipboardData(CF_TEXT);
  const char* bytes = data ? static_cast<const char*>(GlobalLock(data)) : nullptr;
  if (bytes) {
    SIZE_T size = GlobalSize(data);
    const void* end = std::memchr(bytes, 0, size);
    SIZE_T used = end ? static_cast<SIZE_T>(static_cast<const char*>(end) - bytes) : size;
    try {
      shell.pastedText.assign(bytes, used);
    } catch (const std::bad_alloc&) {
      copied = false;
    }
    GlobalUnlock(data);
  }
  CloseClipboard();
  if (!copied) {
    MessageBeep(0);
    MessageBoxA(shell.mainWindow, LabelTable[76], nullptr, MB_ICONERROR);
    return false;
  }
  *text = shell.pastedText.data();
  *length = shell.pastedText.size();
  return true;
}

void ClipboardCloseText() {
  shell.pastedText.clear();
  shell.pastedText.shrink_to_fit();
}

// Each pasted character reaches the window procedure as an accelerator would, and has
// finished (flash and command) when the call returns.
void WindowSendCommand(unsigned id) {
  SendMessageA(shell.mainWindow, WM_COMMAND, MAKEWPARAM(id, 1), 0);
}
