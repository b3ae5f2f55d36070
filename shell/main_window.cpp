// The main window: creation from template 101 or 102, the window procedure, the colours and
// help numbers of the keys, and the right-click "What's this?" help.
#include <windows.h>

#include "engine/engine.h"
#include "engine/window_command.h"
#include "engine/window_port.h"
#include "shell/shell_state.h"
#include "statistics/statistics.h"

namespace {

constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kMagenta = RGB(255, 0, 255);

struct CommandStyle {
  COLORREF textColour;  // of an owner-drawn command button
  int helpContext;      // WinHelp context number
};

// One row per command id 80-139 (row = id - 80).
const CommandStyle CommandStyleTable[60] = {
    {kBlue,     80},  // 80 +/-
    {kRed,      81},  // 81 C
    {kRed,      82},  // 82 CE
    {kRed,      83},  // 83 Backspace
    {kBlue,     84},  // 84 Sta
    {kBlue,     85},  // 85 .
    {kRed,      86},  // 86 And
    {kRed,      87},  // 87 Or
    {kRed,      88},  // 88 Xor
    {kRed,      89},  // 89 Lsh
    {kRed,      90},  // 90 /
    {kRed,      91},  // 91 *
    {kRed,      92},  // 92 +
    {kRed,      93},  // 93 -
    {kRed,      94},  // 94 Mod
    {kMagenta,  95},  // 95 x^y
    {kRed,      96},  // 96 Int
    {kRed,      97},  // 97 Not
    {kMagenta,  98},  // 98 sin
    {kMagenta,  99},  // 99 cos
    {kMagenta, 100},  // 100 tan
    {kMagenta, 101},  // 101 ln
    {kMagenta, 102},  // 102 log
    {kBlue,    103},  // 103 sqrt
    {kMagenta, 140},  // 104 x^2
    {kMagenta, 104},  // 105 x^3
    {kMagenta, 105},  // 106 n!
    {kMagenta, 106},  // 107 1/x
    {kMagenta, 107},  // 108 dms
    {kBlue,    108},  // 109 %
    {kMagenta, 109},  // 110 F-E
    {kBlue,    110},  // 111 pi
    {kRed,     111},  // 112 =
    {kRed,     112},  // 113 MC
    {kRed,     113},  // 114 MR
    {kRed,     114},  // 115 MS
    {kRed,     115},  // 116 M+
    {kMagenta, 116},  // 117 Exp
    {kBlue,    117},  // 118 Ave
    {kBlue,    118},  // 119 Sum
    {kBlue,    119},  // 120 s
    {kBlue,    120},  // 121 Dat
    {kMagenta,  40},  // 122 (
    {kMagenta,  41},  // 123 )
    {kBlue,     48},  // 124 0
    {kBlue,     48},  // 125 1
    {kBlue,     48},  // 126 2
    {kBlue,     48},  // 127 3
    {kBlue,     48},  // 128 4
    {kBlue,     48},  // 129 5
    {kBlue,     48},  // 130 6
    {kBlue,     48},  // 131 7
    {kBlue,     48},  // 132 8
    {kBlue,     48},  // 133 9
    {kBlue,     65},  // 134 A
    {kBlue,     65},  // 135 B
    {kBlue,     65},  // 136 C
    {kBlue,     65},  // 137 D
    {kBlue,     65},  // 138 E
    {kBlue,     65},  // 139 F
};

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
// the main window itself was clicked); item 8 opens the WinHelp pop-up for its context.
LRESULT ContextHelp(HWND window, WPARAM wParam, LPARAM lParam) {
  HWND target = reinterpret_cast<HWND>(wParam);
  if (target == window) {
    POINT p = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    ScreenToClient(window, &p);
    HWND child = ChildWindowFromPoint(window, p);
    if (!child || child == window) return DefWindowProcA(window, WM_CONTEXTMENU, wParam, lParam);
    target = child;
  }
  if (ShowWhatsThisMenu(window, shell.instance, lParam)) {
    WinHelpA(target, LabelTable[74], HELP_CONTEXTPOPUP,
             static_cast<ULONG_PTR>(HelpContextId(GetDlgCtrlID(target))));
  }
  return 0;
}

LRESULT DrawCommandButton(const DRAWITEMSTRUCT* item) {
  int id = static_cast<int>(item->CtlID);
  if (!HasLabel(id)) return 0;
  COLORREF colour = (item->itemState & ODS_DISABLED) ? GetSysColor(COLOR_GRAYTEXT)
                                                     : ButtonTextColour(id);
  RECT r = item->rcItem;
  SetTextColor(item->hDC, colour);
  SetBkMode(item->hDC, TRANSPARENT);
  DrawEdge(item->hDC, &r, (item->itemState & ODS_SELECTED) ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
  DrawTextA(item->hDC, LabelTable[id - 80], -1, &r, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
  return TRUE;
}

// Settings broadcast: the registers are reset and the symbol re-read; the display is then
// rendered again (its cache does not know the symbol, so it is forgotten first), unless an
// error message holds it.
void ReactToSettingsChange() {
  try {
    CreateMainWindow(false);
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
  if (!HasLabel(id)) return GetSysColor(COLOR_BTNTEXT);
  return CommandStyleTable[id - 80].textColour;
}

int HelpContextId(int id) {
  if (HasLabel(id)) return CommandStyleTable[id - 80].helpContext;
  if (id >= 140 && id <= 145) return id - 19;
  if (id >= 146 && id <= 148) return numbers.radix == 10 ? id - 19 : id - 125;
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

// Creates (create = true) the main window for the current layout, in place of the old one;
// with create = false only resets the registers and re-reads the decimal symbol.
void CreateMainWindow(bool create) {
  PrepareMainWindow();
  bool symbolChanged = ReadDecimalSymbol();
  if (!create) {
    if (symbolChanged && shell.mainWindow) InvalidateRect(shell.mainWindow, nullptr, TRUE);
    return;
  }
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
      EnableWindow(GetDlgItem(window, id), statistics.boxOpen ? TRUE : FALSE);
    }
    if (settings.precisionSetting > 32) WidenDisplay(window);
  }
  if (existed) {
    SetWindowPos(window, nullptr, old.left, old.top, 0, 0, SWP_NOZORDER | SWP_NOSIZE);
  }
  // The "Вид" popup (second) holds the standard layout at position 0, the scientific at 1.
  CheckMenuRadioItem(GetSubMenu(GetMenu(window), 1), 0, 1,
                     static_cast<UINT>(1 - settings.layout), MF_BYPOSITION);
  FinishMainWindow();
  ShowWindow(window, SW_SHOW);
  UpdateWindow(window);
}

void EndProgram() {
  if (shell.ending) return;
  shell.ending = true;
  StopGuard();
  WinHelpA(shell.mainWindow, LabelTable[74], HELP_QUIT, 0);
  PostQuitMessage(0);
}

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      // Nothing may unwind into the system's code; the engine reports its own failures.
      try {
        HandleCommand(LOWORD(wParam), HIWORD(wParam));
      } catch (...) {
        WindowBeep();
      }
      return 0;

    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_CLOSE) EndProgram();
      return DefWindowProcA(window, message, wParam, lParam);

    case WM_CLOSE:
      if (statistics.boxOpen || shell.statisticsBox) {
        try {
          OpenStatisticsBox(false);
        } catch (...) {
        }
        if (shell.statisticsBox) SendMessageA(shell.statisticsBox, WM_CLOSE, 0, 0);
        shell.statisticsBox = nullptr;
      }
      DestroyWindow(window);
      return 0;

    case WM_DESTROY:
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
                     IsClipboardFormatAvailable(CF_TEXT) ? MF_ENABLED : (MF_DISABLED | MF_GRAYED));
      return 0;

    case WM_CTLCOLORSTATIC:
      if (GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) == kDisplay) {
        HDC dc = reinterpret_cast<HDC>(wParam);
        SetBkColor(dc, GetSysColor(COLOR_WINDOW));
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
      }
      return DefWindowProcA(window, message, wParam, lParam);

    case WM_DRAWITEM:
      return DrawCommandButton(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));

    case WM_HELP:
      ShellShowHelp();
      return TRUE;

    case WM_CONTEXTMENU:
      return ContextHelp(window, wParam, lParam);

    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}
