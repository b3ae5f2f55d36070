// Help and About: the HTML help file through the HTML Help control (loaded on first use),
// and the system's About box.
#include <windows.h>

#include <cstring>

#include "engine/engine.h"
#include "engine/window_port.h"
#include "shell/shell_state.h"

namespace {

constexpr char kHtmlHelpControlKey[] =
    "CLSID\\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}\\InprocServer32";
constexpr char kHelpFileName[] = "vemo.chm";
constexpr UINT kDisplayTopic = 0;  // HH_DISPLAY_TOPIC

// The help file lies beside the program, wherever the program was started from; a path too
// long for the buffer falls back to the plain name.
void HelpFilePath(char* path, DWORD size) {
  DWORD n = GetModuleFileNameA(nullptr, path, size);
  char* slash = n > 0 && n < size ? std::strrchr(path, '\\') : nullptr;
  if (slash && static_cast<DWORD>(slash + 1 - path) + sizeof kHelpFileName <= size) {
    std::memcpy(slash + 1, kHelpFileName, sizeof kHelpFileName);
  } else {
    lstrcpynA(path, kHelpFileName, static_cast<int>(size));
  }
}

}  // namespace

// The path of the HTML Help control as the registry records it.
bool FindHtmlHelpControl(char* path, DWORD size) {
  HKEY key;
  if (RegOpenKeyExA(HKEY_CLASSES_ROOT, kHtmlHelpControlKey, 0, KEY_READ, &key) != ERROR_SUCCESS) {
    return false;
  }
  DWORD bytes = size - 1;
  std::memset(path, 0, size);
  bool found = RegQueryValueExA(key, "", nullptr, nullptr, reinterpret_cast<BYTE*>(path),
                                &bytes) == ERROR_SUCCESS;
  RegCloseKey(key);
  return found && path[0] != '\0';
}

// Calls the HTML Help control's ANSI entry point (ordinal 14), loading the control on first
// use: the registered path, else "hhctrl.ocx". Without the control every call returns null
// at once and nothing is loaded again.
HWND ShowHtmlHelp(HWND window, const char* file, UINT command, DWORD_PTR data) {
  if (shell.htmlHelpFailed) return nullptr;
  if (!shell.htmlHelpModule) {
    char path[MAX_PATH];
    if (FindHtmlHelpControl(path, sizeof path)) shell.htmlHelpModule = LoadLibraryA(path);
    if (!shell.htmlHelpModule) shell.htmlHelpModule = LoadLibraryA("hhctrl.ocx");
    if (!shell.htmlHelpModule) {
      shell.htmlHelpFailed = true;
      return nullptr;
    }
  }
  if (!shell.htmlHelpEntry) {
    shell.htmlHelpEntry = reinterpret_cast<HtmlHelpFunction>(
        reinterpret_cast<void*>(GetProcAddress(shell.htmlHelpModule, MAKEINTRESOURCEA(14))));
    if (!shell.htmlHelpEntry) {
      shell.htmlHelpFailed = true;
      return nullptr;
    }
  }
  return shell.htmlHelpEntry(window, file, command, data);
}

void ShowAboutFailure() {
  MessageBeep(0);
  MessageBoxA(shell.mainWindow, LabelTable[76], nullptr, MB_ICONERROR);
}

// Command 305 and F1: the help file's first page.
void ShellShowHelp() {
  char path[MAX_PATH + sizeof kHelpFileName];
  HelpFilePath(path, sizeof path);
  ShowHtmlHelp(shell.mainWindow, path, kDisplayTopic, 0);
}

// Command 302: the system's About box with the program's title and icon. It waits for the
// user, and the guard does not watch it.
void ShellShowAbout() {
  HICON icon = LoadIconA(shell.instance, "SC");
  if (ShellAboutA(shell.mainWindow, LabelTable[78], nullptr, icon) == -1) ShowAboutFailure();
}
