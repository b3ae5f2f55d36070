// Copy and paste with the Windows clipboard. The text and the replay are the engine's
// (engine/clipboard.cpp); here they meet the clipboard and the main window.
#include <windows.h>

#include <climits>
#include <cstring>
#include <string>
#include <new>

#include "engine/engine.h"
#include "engine/window_command.h"
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

// Takes the clipboard's text as paste bytes (engine/window_command.h): its CF_UNICODETEXT, or
// its CF_TEXT through the system's code page where there is no Unicode text, up to the first
// zero and never past the end of its block. The clipboard is closed at once, so that other
// programs can use it while the text is replayed. No text on the clipboard gives an empty
// paste.
bool ClipboardOpenText(const char** text, std::size_t* length) {
  if (!OpenClipboard(shell.mainWindow)) {
    MessageBoxA(shell.mainWindow, LabelTable[75], LabelTable[78], MB_ICONEXCLAMATION);
    return false;
  }
  bool copied = true;
  shell.pastedText.clear();
  bool unicode = true;
  HANDLE data = GetClipboardData(CF_UNICODETEXT);
  if (!data) {
    unicode = false;
    data = GetClipboardData(CF_TEXT);
  }
  const void* block = data ? GlobalLock(data) : nullptr;
  if (block) {
    SIZE_T size = GlobalSize(data);
    try {
      if (unicode) {
        const char16_t* wide = static_cast<const char16_t*>(block);
        std::size_t used = 0;
        while (used < size / sizeof(char16_t) && wide[used] != 0) ++used;
        shell.pastedText = PasteTextFromUtf16(wide, used);
      } else {
        const char* bytes = static_cast<const char*>(block);
        const void* end = std::memchr(bytes, 0, size);
        SIZE_T used = end ? static_cast<SIZE_T>(static_cast<const char*>(end) - bytes) : size;
        int count = static_cast<int>(used < INT_MAX ? used : INT_MAX);
        int units = count ? MultiByteToWideChar(CP_ACP, 0, bytes, count, nullptr, 0) : 0;
        std::u16string wide(static_cast<std::size_t>(units), u'\0');
        if (units) MultiByteToWideChar(CP_ACP, 0, bytes, count, reinterpret_cast<wchar_t*>(&wide[0]), units);
        shell.pastedText = PasteTextFromUtf16(wide.data(), wide.size());
      }
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
  shell.pasting = true;
  shell.pasteShownAt = GetTickCount();
  return true;
}

namespace {
// While a paste runs, the texts of the main window's controls are shown at most this often.
constexpr DWORD kPasteRepaintMs = 50;

void ShowPastedTexts() {
  for (const auto& pending : shell.pasteTexts) {
    SetDlgItemTextA(shell.mainWindow, pending.first, pending.second.c_str());
    HWND control = GetDlgItem(shell.mainWindow, pending.first);
    if (control) UpdateWindow(control);
  }
  shell.pasteTexts.clear();
  shell.pasteShownAt = GetTickCount();
}
}  // namespace

// Drawing the display for every pasted key would make a long paste as slow as its drawing:
// during a paste the latest text of each control waits, and is shown every 50 ms and at the
// paste's end.
bool DeferPastedText(int id, const char* text) {
  if (!shell.pasting) return false;
  try {
    bool found = false;
    for (auto& pending : shell.pasteTexts) {
      if (pending.first == id) {
        pending.second = text;
        found = true;
      }
    }
    if (!found) shell.pasteTexts.emplace_back(id, text);
  } catch (const std::bad_alloc&) {
    ShowPastedTexts();  // the caller shows this text at once, after the older ones
    return false;
  }
  if (GetTickCount() - shell.pasteShownAt >= kPasteRepaintMs) ShowPastedTexts();
  return true;
}

// Setting the cursor is a request to the window system; doing it twice for every pasted key
// would cost more than the keys.
HCURSOR PasteWaitCursor() {
  if (!shell.pasteCursorShown) {
    shell.pasteCursor = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    shell.pasteCursorShown = true;
  }
  return shell.pasteCursor;
}

void ClipboardCloseText() {
  shell.pasting = false;
  ShowPastedTexts();
  if (shell.pasteCursorShown) SetCursor(shell.pasteCursor);
  shell.pasteCursorShown = false;
  shell.pastedText.clear();
  shell.pastedText.shrink_to_fit();
}

// Each pasted character reaches the window procedure as an accelerator (code 1, with the
// key's flash) or a click (code 0) would, and has finished when the call returns. The
// procedure is called directly: SendMessageA to one's own window does the same, but under
// Wine each such call costs tens of microseconds, more than the key itself.
void WindowSendCommand(unsigned id, unsigned notificationCode) {
  if (shell.mainWindow) MainWndProc(shell.mainWindow, WM_COMMAND, MAKEWPARAM(id, notificationCode), 0);
}
