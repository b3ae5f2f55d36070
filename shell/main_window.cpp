// The main window: creation from template 101 or 102, the window procedure, the colours and
// help numbers of the keys, and the right-click "What's this?" help.
#include <windows.h>

#include "engine/command_table.h"
#include "engine/engine.h"
#include "engine/window_command.h"
#include "engine/window_port.h"
#include "shell/shell_state.h"
#include "engine/statistics_commands.h"

namespace {

constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kMagenta = RGB(255, 0, 255);

// In the scientific layout with more than 32 digits, the display's left edge moves so that
// its left margin equals its right margin; its right edge, top and height stay.
void WidenDisplay(HWND window) {
  HWND display = GetDlgItem(window, kDisplay);
  if (!display) return;
  RECT d, c;
  GetWindowRect(display, &d);
  GetClientRect(window, &c);
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&c), 2);
  LONG left = c.left + (c.right - d.right);
  SetWindowPos(display, nullptr, left - c.left, d.top - c.top, d.right - left, d.bottom - d.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

// Reads the decimal symbol from the profile; an empty setting keeps '.', since an empty
// symbol would end every number text at its point. Returns true when the symbol changed.
bool ReadDecimalSymbol() {
  char previous = numbers.decimalSymbol[0];
  GetProfileStringA("intl", "sDecimal", ".", numbers.decimalSymbol, sizeof numbers.decimalSymbol);
  if (numbers.decimalSymbol[0] == '\0') lstrcpynA(numbers.decimalSymbol, ".", 2);
  if (numbers.decimalSymbol[0] == previous) return false;
  EntryRefreshDecimalSymbol();
  if (shell.pointLabel && shell.pointLabel[0]) shell.pointLabel[0] = numbers.decimalSymbol[0];
  return true;
}

// Right-click help: the target is the clicked control (or the control under the point when
// the main window itself was clicked); "Что это такое?" shows what it does.
LRESULT ContextHelp(HWND window, WPARAM wParam, LPARAM lParam) {
  HWND target = reinterpret_cast<HWND>(wParam);
  if (target == window && lParam != -1) {
    POINT p = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    ScreenToClient(window, &p);
    HWND child = ChildWindowFromPoint(window, p);
    if (!child || child == window) return DefWindowProcA(window, WM_CONTEXTMENU, wParam, lParam);
    target = child;
  }
  ShowWhatsThis(window, target, lParam);
  return 0;
}

// Settings broadcast: the registers are reset and the symbol re-read; the display is then
// rendered again (its cache does not know the symbol, so it is forgotten first), unless an
// error message holds it.
void ReactToSettingsChange() {
  try {
    ResetMainWindowSettings();
    if (!engine.errorLocked) {
      ForgetDisplayedValue();
      RefreshDisplay();
    }
  } catch (...) {
    WindowBeep();
  }
}

}  // namespace

bool HasLabel(int id) { return id >= 80 && id <= 139; }

COLORREF ButtonTextColour(int id) {
  if (settings.layout != 0 && id == CmdReciprocal) return kBlue;
  const CommandInfo* row = HasLabel(id) ? FindCommand(static_cast<unsigned>(id)) : nullptr;
  switch (row ? row->colour : kNoColour) {
    case kKeyBlue: return kBlue;
    case kKeyRed: return kRed;
    case kKeyMagenta: return kMagenta;
    default: return GetSysColor(COLOR_BTNTEXT);
  }
}

int HelpContextId(int id) {
  // The mode keys' contexts are the word sizes' outside radix 10.
  if (id >= static_cast<int>(CmdMode1) && id <= static_cast<int>(CmdMode3) && numbers.radix != 10) return id - 125;
  if (const CommandInfo* row = FindCommand(static_cast<unsigned>(id))) return row->helpContext;
  switch (id) {
    case kMemoryIndicator: return 130;
    case kParenIndicator: return 131;
    case kDisplay: return 9;
    default: return 0;
  }
}

bool ShowWhatsThisMenu(HWND owner, HINSTANCE instance, LPARAM screenPoint) {
  HMENU menu = LoadMenuA(instance, MAKEINTRESOURCEA(kWhatsThisMenu));
  if (!menu) return false;
  int chosen = TrackPopupMenuEx(GetSubMenu(menu, 0), TPM_RETURNCMD | TPM_RIGHTBUTTON,
                                LOWORD(screenPoint), HIWORD(screenPoint), owner, nullptr);
  DestroyMenu(menu);
  return chosen == kWhatsThisItem;
}

// Resets the registers and re-reads the decimal symbol, redrawing the window and the decimal
// key's face when the symbol changed (a settings broadcast).
void ResetMainWindowSettings() {
  PrepareMainWindow();
  if (ReadDecimalSymbol() && shell.mainWindow) {
    RemakeKeyFace(shell.mainWindow, CmdPoint);
    InvalidateRect(shell.mainWindow, nullptr, TRUE);
  }
}

// Creates the main window for the current layout, in place of the old one.
void CreateMainWindow() {
  PrepareMainWindow();
  ReadDecimalSymbol();
  RECT old = {};
  bool existed = shell.mainWindow != nullptr;
  if (existed) {
    GetWindowRect(shell.mainWindow, &old);
    shell.replacingWindow = true;
    DestroyWindow(shell.mainWindow);
    shell.replacingWindow = false;
  }
  int templateId = settings.layout != 0 ? kStandardTemplate : kScientificTemplate;
  shell.mainWindow = CreateDialogParamA(shell.instance, MAKEINTRESOURCEA(templateId), nullptr,
                                        nullptr, 0);
  HWND window = shell.mainWindow;
  if (settings.layout == 0) {
    // The statistics keys work only while the statistics box is open.
    for (int id = CmdAverage; id <= static_cast<int>(CmdData); ++id) {
      EnableWindow(GetDlgItem(window, id), engine.statisticsBoxOpen ? TRUE : FALSE);
    }
    if (settings.precisionSetting > 32) WidenDisplay(window);
  }
  if (existed) {
    SetWindowPos(window, nullptr, old.left, old.top, 0, 0, SWP_NOZORDER | SWP_NOSIZE);
  }
  // The "Вид" popup (second) holds the standard layout at position 0, the scientific at 1.
  CheckMenuRadioItem(GetSubMenu(GetMenu(window), 1), 0, 1,
                     static_cast<UINT>(1 - settings.layout), MF_BYPOSITION);
  AttachKeypad(window);
  AttachDisplay(window);
  FinishMainWindow();
  NameControls(window);
  ScaleMainWindow(window);
  ShowWindow(window, SW_SHOW);
  UpdateWindow(window);
}

void EndProgram() {
  if (shell.ending) return;
  shell.ending = true;
  StopGuard();
  PostQuitMessage(0);
}

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT keypadResult = 0;
  if (KeypadMessage(window, message, wParam, lParam, &keypadResult)) return keypadResult;
  switch (message) {
    case WM_COMMAND:
      // Nothing may unwind into the system's code; the engine reports its own failures.
      try {
        HandleCommand(LOWORD(wParam), KeyNotification(window, wParam, lParam));
      } catch (...) {
        WindowBeep();
      }
      return 0;

    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_CLOSE) EndProgram();
      return DefWindowProcA(window, message, wParam, lParam);

    case WM_CLOSE:
      if (engine.statisticsBoxOpen || shell.statisticsBox) {
        try {
          CloseStatisticsBox();
        } catch (...) {
        }
        if (shell.statisticsBox) SendMessageA(shell.statisticsBox, WM_CLOSE, 0, 0);
        shell.statisticsBox = nullptr;
      }
      DestroyWindow(window);
      return 0;

    case WM_DESTROY:
      ReleaseKeyFaces(window);
      // Only a layout switch replaces the window; any other destruction ends the program,
      // so that no process is left running without a window.
      if (window == shell.mainWindow && !shell.replacingWindow) {
        EndProgram();
        shell.mainWindow = nullptr;
      }
      return 0;

    case WM_SIZE:
      if (shell.statisticsBox) {
        if (wParam == SIZE_MINIMIZED) ShowWindow(shell.statisticsBox, SW_HIDE);
        else if (wParam == SIZE_RESTORED) ShowWindow(shell.statisticsBox, SW_SHOW);
      }
      return DefWindowProcA(window, message, wParam, lParam);

    case WM_WININICHANGE: {
      const char* section = reinterpret_cast<const char*>(lParam);
      if (!section || lstrcmpA(section, "colors") == 0 || lstrcmpA(section, "intl") == 0) {
        ReactToSettingsChange();
      }
      return 0;
    }

    case WM_INITMENUPOPUP:
      EnableMenuItem(GetMenu(window), CmdPaste,
                     IsClipboardFormatAvailable(CF_UNICODETEXT) || IsClipboardFormatAvailable(CF_TEXT)
                         ? MF_ENABLED : (MF_DISABLED | MF_GRAYED));
      return 0;

    case WM_CTLCOLORSTATIC:
      if (GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) == kDisplay) {
        HDC dc = reinterpret_cast<HDC>(wParam);
        SetBkColor(dc, GetSysColor(COLOR_WINDOW));
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
      }
      return DefWindowProcA(window, message, wParam, lParam);

    case WM_HELP:
      ShellShowHelp();
      return TRUE;

    case WM_CONTEXTMENU:
      return ContextHelp(window, wParam, lParam);

    case WM_DPICHANGED:
      ApplyDpiChange(window, LOWORD(wParam), reinterpret_cast<const RECT*>(lParam));
      return 0;

    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}
