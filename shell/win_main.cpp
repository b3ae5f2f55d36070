// Entry point of the Windows program: options, window class, label table, the hidden EDIT
// window for copy, the engine, the main window, accelerators and the message loop.
#include <windows.h>

#include "engine/engine.h"
#include "engine/window_command.h"
#include "shell/key_positions.h"
#include "shell/shell_state.h"

ShellState shell;

namespace {

constexpr int kLabelCount = 80;
constexpr UINT kLabelBufferBytes = 1024;

// Loads string resources 0-79 back to back into one zero-filled buffer and points the label
// table at them; a missing string reads as empty. Once the buffer is full, the remaining
// entries read as empty instead of being written past its end. Returns false when the
// buffer cannot be had or shrunk.
bool LoadLabelTable() {
  char* buffer = static_cast<char*>(LocalAlloc(LMEM_FIXED | LMEM_ZEROINIT, kLabelBufferBytes));
  if (!buffer) return false;
  static const char kEmpty[] = "";
  UINT used = 0;
  for (int i = 0; i < kLabelCount; ++i) {
    if (used >= kLabelBufferBytes) {
      LabelTable[i] = kEmpty;
      continue;
    }
    char* position = buffer + used;
    int n = LoadStringA(shell.instance, static_cast<UINT>(i), position,
                        static_cast<int>(kLabelBufferBytes - used));
    if (n < 0) n = 0;
    LabelTable[i] = position;
    if (i == 5) shell.pointLabel = position;
    used += static_cast<UINT>(n) + 1;
  }
  if (used > kLabelBufferBytes) used = kLabelBufferBytes;
  // A fixed block shrinks in place, so the table's pointers stay valid.
  if (!LocalReAlloc(buffer, used, 0)) {
    LocalFree(buffer);
    return false;
  }
  shell.labelBuffer = buffer;
  return true;
}

void ShowStartupMemoryMessage() {
  char text[100] = {0};
  if (LoadStringA(shell.instance, kStartupMemoryString, text, sizeof text) <= 0) {
    lstrcpynA(text, "<Main> Not enough memory.", sizeof text);
  }
  MessageBoxA(nullptr, text, nullptr, MB_ICONERROR);
}

}  // namespace

bool RegisterMainClass() {
  WNDCLASSEXA wc = {};
  wc.cbSize = sizeof wc;
  wc.style = 0;
  wc.lpfnWndProc = MainWndProc;
  wc.cbClsExtra = 0;
  wc.cbWndExtra = DLGWINDOWEXTRA;  // a dialog template that names its own class needs it
  wc.hInstance = shell.instance;
  wc.hIcon = LoadIconA(shell.instance, "SC");
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  wc.lpszMenuName = MAKEINTRESOURCEA(kMainMenu);
  wc.lpszClassName = "SciVemo";
  wc.hIconSm = nullptr;
  return RegisterClassExA(&wc) != 0;
}

namespace {

// A character typed for the main window, without Ctrl or Alt, on a key of the main block
// (not the numpad's extended '/') becomes the one the accelerators see by the key's
// position (key_positions.h). The key's virtual key comes from its scan code, as the
// current layout (or Wine's keyboard map) places it.
void PlaceTypedCharacter(MSG& msg) {
  if (GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0 || (msg.lParam & (1 << 24))) return;
  UINT virtualKey = MapVirtualKeyA((msg.lParam >> 16) & 0xFF, MAPVK_VSC_TO_VK);
  msg.wParam = static_cast<WPARAM>(
      PositionalCharacter(static_cast<int>(msg.wParam & 0xFF), virtualKey, GetKeyState(VK_SHIFT) < 0));
}

// A Russian letter typed for the main window whose key had no virtual key of its place
// (Wine with a Russian keymap alone), so that no letter shortcut acted on the key press: the
// accelerators are tried with the English letter's key press (S for sin), and with Ctrl with
// its control character (Ctrl+S for Sta). Where the system places the keys, a letter
// shortcut acts on the key press and no such character follows.
bool TranslateCyrillicLetter(const MSG& msg) {
  unsigned latin = LatinKeyOfCyrillicLetter(static_cast<int>(msg.wParam & 0xFF));
  if (latin == 0 || GetKeyState(VK_MENU) < 0) return false;
  MSG press = msg;
  press.message = WM_KEYDOWN;
  press.wParam = latin;
  if (TranslateAcceleratorA(shell.mainWindow, shell.accelerators, &press)) return true;
  if (GetKeyState(VK_CONTROL) >= 0) return false;
  MSG control = msg;
  control.wParam = latin & 0x1F;
  return TranslateAcceleratorA(shell.mainWindow, shell.accelerators, &control) != 0;
}

}  // namespace

// The statistics box gets dialog keyboard handling; the accelerators act only for the main
// window and its controls.
int RunMessageLoop() {
  MSG msg = {};
  BOOL got;
  while ((got = GetMessageA(&msg, nullptr, 0, 0)) != 0) {
    if (got == -1) return -1;
    if (shell.statisticsBox && IsDialogMessageA(shell.statisticsBox, &msg)) continue;
    if (shell.mainWindow && shell.accelerators &&
        (msg.hwnd == shell.mainWindow || IsChild(shell.mainWindow, msg.hwnd))) {
      if (msg.message == WM_CHAR) PlaceTypedCharacter(msg);
      if (TranslateAcceleratorA(shell.mainWindow, shell.accelerators, &msg)) continue;
      if (msg.message == WM_CHAR && TranslateCyrillicLetter(msg)) continue;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return static_cast<int>(msg.wParam);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  ParseCommandLine(GetCommandLineA());
  shell.instance = instance;
  if (!RegisterMainClass()) return 0;
  if (!LoadLabelTable()) {
    ShowStartupMemoryMessage();
    return 0;
  }
  // With x = CW_USEDEFAULT the system takes y (0, SW_HIDE) as the show command: the window
  // exists for the clipboard but is never shown.
  shell.clipboardEdit = CreateWindowExA(0, "EDIT", "VemoMsgPumpWnd", WS_VISIBLE, CW_USEDEFAULT,
                                        0, CW_USEDEFAULT, 0, nullptr, nullptr, instance, nullptr);
  try {
    InitEngine();
    settings.layout = static_cast<std::int32_t>(GetProfileIntA("SciVemo", "layout", 1));
    CreateMainWindow();
  } catch (...) {
    // The engine's constants or the first display could not be allocated.
    ShowStartupMemoryMessage();
    LocalFree(shell.labelBuffer);
    return 0;
  }
  shell.accelerators = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(kAcceleratorTable));
  int result = RunMessageLoop();
  LocalFree(shell.labelBuffer);
  return result;
}
