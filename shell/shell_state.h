// The Win32 shell: its global handles and the operations its files share.
//
// The shell turns window messages into engine commands and carries out the engine's window
// operations (engine/window_port.h); it never does arithmetic itself. The layout setting
// lives in the engine's `settings.layout`, which both sides read.
#pragma once
#include <windows.h>

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
};
extern ShellState shell;

// Start-up and the message loop (win_main.cpp).
bool RegisterMainClass();
int RunMessageLoop();

// Main window (main_window.cpp).
void CreateMainWindow(bool create);
LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
bool HasLabel(int id);
COLORREF ButtonTextColour(int id);
int HelpContextId(int id);
bool ShowWhatsThisMenu(HWND owner, HINSTANCE instance, LPARAM screenPoint);

// Ends the program once: stops the guard, tells WinHelp to quit and posts the quit message.
void EndProgram();
// Stops the long-computation guard's thread, if one was started.
void StopGuard();
