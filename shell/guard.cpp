// The long-computation guard: a second thread that watches each command. After 10 s (then
// 20 s, then every 40 s) it beeps and asks, with dialog 104, whether to go on; "stop" sets
// abortRequested, which the long loops of the arithmetic poll. The engine arms and disarms
// it around each command (ArmGuard in engine/dispatch.cpp, which calls the two functions
// below).
//
// The threads share only the two events and the atomic words of ShellState
// (shutdownRequested, guardDialog, watchedWindow) and abortRequested; there are no locks.
#include <windows.h>

#include <cstdlib>

#include "engine/engine.h"
#include "engine/window_port.h"
#include "shell/shell_state.h"

namespace {

constexpr DWORD kLongestTimeout = 40000;
constexpr DWORD kGuardExitCode = 42;

// Tests may shorten the first time-out (in milliseconds, 1 to 10000) through this variable.
DWORD FirstTimeout() {
  char text[16] = {0};
  DWORD n = GetEnvironmentVariableA("VEMO_TEST_GUARD_FIRST_TIMEOUT_MS", text, sizeof text);
  if (n == 0 || n >= sizeof text) return 10000;
  long value = std::strtol(text, nullptr, 10);
  return value >= 1 && value <= 10000 ? static_cast<DWORD>(value) : 10000;
}

// Puts the dialog's top-left corner 15 pixels right of the main window's left edge and 40
// below the display, without resizing or activating it.
void PlaceGuardDialog(HWND dialog) {
  HWND main = shell.watchedWindow.load();
  RECT window, display;
  if (!main || !GetWindowRect(main, &window) || !GetWindowRect(GetDlgItem(main, kDisplay), &display)) {
    return;
  }
  SetWindowPos(dialog, nullptr, window.left + 15, display.bottom + 40, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Dialog 104. Every command ends it with its id as the result: 4 go on, 2 stop (the button,
// Esc and the close box), and the 4 that the end of the command sends.
INT_PTR CALLBACK GuardDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      shell.guardDialog.store(dialog);
      PlaceGuardDialog(dialog);
      // The question takes the keyboard, so that Enter and Esc answer it.
      SetForegroundWindow(dialog);
      // The command may have ended, or the program begun to end, while the box was being
      // made: then nothing is left to ask about.
      if (shell.shutdownRequested.load() != 0 ||
          WaitForSingleObject(shell.doneEvent, 0) == WAIT_OBJECT_0) {
        EndDialog(dialog, kGuardContinue);
      }
      return TRUE;
    case WM_COMMAND:
      EndDialog(dialog, LOWORD(wParam));
      return TRUE;
    default:
      return FALSE;
  }
}

// Waits for a command to start, then for it to end; each time-out asks the user. A stop
// (or the program's end) leaves this command unwatched.
DWORD WINAPI GuardThread(LPVOID) {
  while (shell.shutdownRequested.load() == 0) {
    if (WaitForSingleObject(shell.startEvent, INFINITE) != WAIT_OBJECT_0) break;
    if (shell.shutdownRequested.load() != 0) break;
    DWORD timeout = shell.guardFirstTimeout;
    while (WaitForSingleObject(shell.doneEvent, timeout) == WAIT_TIMEOUT) {
      MessageBeep(MB_ICONEXCLAMATION);
      INT_PTR answer = DialogBoxParamA(shell.instance, MAKEINTRESOURCEA(kGuardTemplate), nullptr,
                                       GuardDialogProc, 0);
      shell.guardDialog.store(nullptr);
      if (shell.shutdownRequested.load() != 0 || answer == kGuardStop) {
        abortRequested.store(1);
        break;
      }
      timeout = timeout * 2 > kLongestTimeout ? kLongestTimeout : timeout * 2;
    }
  }
  return kGuardExitCode;
}

}  // namespace

// A command starts (abortRequested has just been cleared): the first call makes the events
// and the thread.
void GuardWatchStart() {
  if (shell.shutdownRequested.load() != 0) return;
  if (!shell.startEvent) shell.startEvent = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  if (!shell.doneEvent) shell.doneEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  if (!shell.startEvent || !shell.doneEvent) return;  // no guard: commands cannot be stopped
  if (!shell.guardThread) {
    shell.guardFirstTimeout = FirstTimeout();
    shell.guardThread = CreateThread(nullptr, 0, GuardThread, nullptr, 0, nullptr);
  }
  shell.watchedWindow.store(shell.mainWindow);
  ResetEvent(shell.doneEvent);
  SetEvent(shell.startEvent);
}

// The command has ended: the thread stops waiting, and an open dialog closes as if
// "&Продолжить" had been chosen (the call returns when the guard thread has handled it).
void GuardWatchEnd() {
  if (shell.doneEvent) SetEvent(shell.doneEvent);
  HWND dialog = shell.guardDialog.load();
  if (dialog) SendMessageA(dialog, WM_COMMAND, kGuardContinue, 0);
}

// Ends the guard thread, waiting at most 40 s, and closes the handles. An open dialog is
// closed so that the thread can leave.
void StopGuard() {
  shell.shutdownRequested.store(1);
  if (shell.startEvent) SetEvent(shell.startEvent);
  if (shell.doneEvent) SetEvent(shell.doneEvent);
  HWND dialog = shell.guardDialog.load();
  if (dialog) PostMessageA(dialog, WM_COMMAND, kGuardContinue, 0);
  if (shell.guardThread) {
    WaitForSingleObject(shell.guardThread, kLongestTimeout);
    CloseHandle(shell.guardThread);
    shell.guardThread = nullptr;
  }
  if (shell.startEvent) CloseHandle(shell.startEvent);
  if (shell.doneEvent) CloseHandle(shell.doneEvent);
  shell.startEvent = shell.doneEvent = nullptr;
}
