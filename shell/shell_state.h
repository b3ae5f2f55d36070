// The Win32 shell: its global handles and the operations its files share.
//
// The shell turns window messages into engine commands and carries out the engine's window
// operations (engine/window_port.h); it never does arithmetic itself. The layout setting
// lives in the engine's `settings.layout`, which both sides read.
#pragma once
#include <windows.h>

#include <atomic>
#include <string>
#include <utility>
#include <vector>

// Resource ids.
enum ShellResource : int {
  kScientificTemplate = 101,  // main window, layout 0
  kStandardTemplate = 102,    // main window, any other layout
  kStatisticsTemplate = 103,
  kGuardTemplate = 104,
  kAcceleratorTable = 105,
  kMainMenu = 106,
  kWhatsThisMenu = 107,
  kWhatsThisItem = 8,         // "&Что это такое?" in menu 107
  kStartupMemoryString = 79,  // read straight from the resources when the label buffer fails
};

// Controls of the statistics box (dialog 103) and of the continue/stop dialog (104).
enum DialogControl : int {
  kBoxDelete = 404,     // "&CD"
  kBoxDeleteAll = 405,  // "C&AD"
  kBoxList = 407,
  kBoxCount = 408,      // the number after "n="
  kBoxCountLabel = 409, // "n="
  kBoxLoad = 410,       // "&LOAD"
  kBoxReturn = 411,     // "&RET"
  kGuardContinue = 4,   // "&Продолжить"
  kGuardStop = 2,       // "&Остановить" (also Esc and the close box)
};

// The HTML Help control's ANSI entry point (ordinal 14).
typedef HWND(WINAPI* HtmlHelpFunction)(HWND, LPCSTR, UINT, DWORD_PTR);

// Plain global handles of the shell.
struct ShellState {
  HINSTANCE instance = nullptr;
  HWND mainWindow = nullptr;     // null before the first creation
  HWND clipboardEdit = nullptr;  // the hidden EDIT window that copy uses
  HWND statisticsBox = nullptr;  // null while the box is closed
  HACCEL accelerators = nullptr;
  char* labelBuffer = nullptr;   // the 80 label texts, back to back
  char* pointLabel = nullptr;    // label of the point key (entry 5), rewritten with the symbol
  bool replacingWindow = false;  // the main window is being destroyed for a re-creation
  bool ending = false;           // the program's end has begun (quit message posted)

  // Paste: the clipboard's text as paste bytes, copied so that the clipboard is free while
  // it is replayed; while it runs, the main window's latest texts wait in pasteTexts and are
  // shown every 50 ms (pasteShownAt: the last time) and at its end.
  std::string pastedText;
  bool pasting = false;
  DWORD pasteShownAt = 0;
  std::vector<std::pair<int, std::string>> pasteTexts;
  bool pasteCursorShown = false;    // the wait cursor stays up from a paste's first command
  HCURSOR pasteCursor = nullptr;    // ... to its end, then this cursor comes back

  // Statistics box: its list (control 407) while the box exists.
  HWND statisticsList = nullptr;

  // Long-computation guard. The events and the thread are made by the first command; the
  // guard thread shares only the events and the atomic words below with this thread.
  HANDLE startEvent = nullptr;         // auto-reset: a command has started
  HANDLE doneEvent = nullptr;          // manual-reset: the command has finished (or the end)
  HANDLE guardThread = nullptr;
  DWORD guardFirstTimeout = 10000;     // ms until the first question
  std::atomic<int> shutdownRequested{0};
  std::atomic<HWND> guardDialog{nullptr};   // dialog 104 while it is open
  std::atomic<HWND> watchedWindow{nullptr}; // the main window, for placing dialog 104

  // Keypad: the owner-drawn keys' bold font, the brushes of the background's body and band,
  // the tooltip control of the current main window and the text of the tip it shows.
  HFONT keyFont = nullptr;
  HBRUSH bodyBrush = nullptr;
  HBRUSH bandBrush = nullptr;
  HWND keyTips = nullptr;
  std::wstring keyTipText;

  // HTML Help, loaded on first use and kept; after a failure it is never tried again.
  HMODULE htmlHelpModule = nullptr;
  HtmlHelpFunction htmlHelpEntry = nullptr;
  bool htmlHelpFailed = false;

  // Scaling: the DPI the main window is laid out for, and the font made for it after a
  // DPI change (null while the dialog's own font serves).
  UINT windowDpi = 96;
  HFONT scaledFont = nullptr;

  // Accessible names: above 0 while a named control handles a message of its own.
  int accessibleNameDepth = 0;
};
extern ShellState shell;

// Start-up and the message loop (win_main.cpp).
bool RegisterMainClass();
int RunMessageLoop();

// Main window (main_window.cpp).
// Makes the main window for the current layout, in place of the old one.
void CreateMainWindow();
// A settings broadcast: registers reset, decimal symbol re-read, redrawn when it changed.
void ResetMainWindowSettings();
LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
bool HasLabel(int id);
COLORREF ButtonTextColour(int id);
int HelpContextId(int id);
bool ShowWhatsThisMenu(HWND owner, HINSTANCE instance, LPARAM screenPoint);

// Keypad (keypad.cpp). Sets up a new main window: the keys' font and their tooltips.
void AttachKeypad(HWND window);
// The notification code of a WM_COMMAND as the engine's HandleCommand takes it: a button's
// double click counts as a second press (code 1); a button that took the keyboard focus
// with the click gives it back to the main window.
unsigned KeyNotification(HWND window, WPARAM wParam, LPARAM lParam);
// The keypad's share of the main window's messages (owner-drawn keys, the colours of the
// buttons, the tooltips' requests); true with *result when the message was handled.
bool KeypadMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

// Paste (clipboard.cpp): during a paste keeps a control's text to show later; false when no
// paste runs (or memory fails), and the caller shows it at once.
bool DeferPastedText(int id, const char* text);
// During a paste: the wait cursor, installed once and kept until the paste's end; returns the
// cursor it replaced.
HCURSOR PasteWaitCursor();

// Ends the program once: stops the guard and posts the quit message.
void EndProgram();

// Long-computation guard (guard.cpp): stops its thread, if one was started.
void StopGuard();

// Scaling with the monitor's DPI (dpi.cpp).
UINT WindowDpi(HWND window);
// The font of a dialog's controls (the dialog's, else its first control's), or null.
HFONT WindowFont(HWND window);
// After the main window is made: notes its DPI and makes the picture keys' faces for it.
void ScaleMainWindow(HWND window);
// WM_DPICHANGED: controls, font, window and key faces scaled to the new DPI.
void ApplyDpiChange(HWND window, UINT dpi, const RECT* suggested);
// Makes the face of the key with this id again, after the setting it shows has changed.
void RemakeKeyFace(HWND window, int id);
// Frees the key faces made for the window's controls (before the window goes).
void ReleaseKeyFaces(HWND window);

// The display (display_fit.cpp): draws its whole text, in a smaller font or on two lines
// when the text is too long for one line in the dialog's font.
void AttachDisplay(HWND window);

// Context help (context_help.cpp): the "Что это такое?" menu, then the control's text in a
// pop-up. dialog is the main window or the statistics box; a point of -1 means the menu key.
void ShowWhatsThis(HWND dialog, HWND target, LPARAM screenPoint);

// Accessible names (accessibility.cpp).
// Gives every command control of the window its accessible name (label, description,
// shortcut), answered to WM_GETTEXT from outside the control.
void NameControls(HWND window);
std::wstring AccessibleKeyName(HWND control, WNDPROC original);
// The keyboard shortcuts of a command, e.g. "Ctrl+M" or "S".
std::wstring ShortcutText(unsigned id);
std::wstring WideFromUtf8(const char* text);
std::string AnsiFromWide(const std::wstring& text);

// Help and About (help.cpp).
bool FindHtmlHelpControl(char* path, DWORD size);
HWND ShowHtmlHelp(HWND window, const char* file, UINT command, DWORD_PTR data);
void ShowAboutFailure();
