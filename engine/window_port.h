// The engine's outbound window operations: its only contact with the window system.
//
// Each function is defined once per program: by the Win32 shell (shell/) with the real
// calls on the main window, and by the console's recorder (console/recording_port.cpp),
// which remembers what was asked. The choice is made at link time.
// "main" below is the main window; ids are its control ids.
//
// None of these may throw.
#pragma once
#include <cstddef>

// Control ids of the main window with a role of their own.
enum WindowControl : int {
  kMemoryIndicator = 401,  // " M" while the memory holds a non-zero value
  kParenIndicator = 402,   // "(=" and the number of open parentheses
  kDisplay = 403,          // the display
};

// --- Controls of the main window --------------------------------------------------------
void WindowSetText(int id, const char* text);                     // SetDlgItemTextA(main, id, text)
void WindowCheckButton(int id, bool checked);                     // CheckDlgButton(main, id, 1/0)
void WindowCheckRadio(int firstId, int lastId, int checkedId);    // CheckRadioButton(main, ...)
void WindowEnableItem(int id, bool enabled);                      // EnableWindow(GetDlgItem(main, id), ...)
void WindowFocusMain();                                           // SetFocus(main)
void WindowBeep();                                                // MessageBeep(0)
// MessageBoxA(main, text, caption, MB_OK); texts are the label table's (UTF-8 in the console).
void WindowMessageBox(const char* text, const char* caption);
// Installs the wait cursor and returns the cursor it replaced (null for none).
void* WindowShowWaitCursor();
void WindowRestoreCursor(void* cursor);                           // SetCursor(cursor)
// The 20 ms press of a key sent by an accelerator or one of the first pasted characters:
// BM_SETSTATE(TRUE) to control id, Sleep(20), BM_SETSTATE(FALSE). The console only counts it.
void WindowFlashKey(int id);
// Sends one pasted command to the main window, so that it runs through the window
// procedure: SendMessageA(main, WM_COMMAND, MAKEWPARAM(id, code), 0). Code 1 flashes the key
// as an accelerator does, code 0 runs it as a click, without the flash. The console calls
// HandleCommand(id, code) directly.
void WindowSendCommand(unsigned id, unsigned notificationCode);

// --- Long-computation guard (platform half) ---------------------------------------------
// Called by ArmGuard after it has cleared abortRequested: starts watching a command
// (creating the watchdog on first use).
void GuardWatchStart();
// Called by ArmGuard when the command has ended, before it tests abortRequested: stops
// watching and closes the continue/stop dialog if it is open.
void GuardWatchEnd();

// --- Statistics box (the window; the values live in statistics/) ------------------------
bool StatisticsBoxCreate();                   // creates and shows the box; false if it cannot
void StatisticsBoxDestroy();
void StatisticsBoxFocus();                    // SetFocus(box)
int StatisticsListAdd(const char* text);      // appends an item; its index, or -1 on failure
void StatisticsListDelete(int index);
void StatisticsListReset();                   // removes every item
void StatisticsListSelect(int index);         // selects an item (-1: none)
int StatisticsListSelection();                // the selected item, or -1
void StatisticsShowCount(int count);          // the "n=" field (control 408)
// MessageBeep(0), then the box's message box with label 76 ("Недостаточно памяти для данных...").
void StatisticsMemoryMessage();

// --- Shell services ---------------------------------------------------------------------
void ClipboardPutText(const char* text);      // copy: nothing happens when it is busy
// Opens the clipboard's text for paste: true with the bytes (not necessarily terminated)
// in *text and *length; false when it cannot be opened (the shell has told the user).
bool ClipboardOpenText(const char** text, std::size_t* length);
void ClipboardCloseText();                    // after a successful ClipboardOpenText
void ShellShowAbout();                        // command 302
void ShellShowHelp();                         // command 305
void ShellSaveLayout(int layout);             // WriteProfileStringA("SciVemo", "layout", ...)
// Re-creates the main window for the current layout; the platform calls PrepareMainWindow
// before and FinishMainWindow after making its window (engine/window_command.h).
void ShellRecreateMainWindow();
