// The statistics box: the modeless dialog 103 that lists the values of the statistics data
// set. The values themselves, and what Dat, LOAD, CD and CAD do with them, are the portable
// store's (statistics/statistics.h); this file is the window it reaches through the
// StatisticsBox* and StatisticsList* operations of engine/window_port.h.
#include <windows.h>

#include "engine/engine.h"
#include "engine/window_port.h"
#include "shell/shell_state.h"
#include "engine/statistics_commands.h"

namespace {

LRESULT ListMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return shell.statisticsList ? SendMessageA(shell.statisticsList, message, wParam, lParam) : LB_ERR;
}

// The box's buttons; none of them is an engine command, so the guard does not watch them.
// Returns what the dialog procedure answers.
INT_PTR BoxCommand(WPARAM wParam) {
  int id = LOWORD(wParam);
  if (HIWORD(wParam) == LBN_DBLCLK || id == kBoxLoad) {
    StatisticsLoad();
    return FALSE;
  }
  switch (id) {
    case kBoxDelete:
      return StatisticsDeleteSelected() ? TRUE : FALSE;
    case kBoxDeleteAll:
      StatisticsDeleteAll();
      return TRUE;
    case kBoxReturn:
      SetFocus(shell.mainWindow);
      return TRUE;
    default:
      return FALSE;
  }
}

INT_PTR CALLBACK StatisticsBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      shell.statisticsList = GetDlgItem(box, kBoxList);
      // The program's icon in the caption, instead of the system's default one.
      SendMessageA(box, WM_SETICON, ICON_SMALL,
                   reinterpret_cast<LPARAM>(LoadIconA(shell.instance, "SC")));
      return TRUE;
    case WM_CLOSE:
      CloseStatisticsBox();
      return TRUE;
    case WM_DESTROY:
      // Destroyed by anything but CloseStatisticsBox(): the data set closes with it.
      if (shell.statisticsBox == box) {
        shell.statisticsBox = nullptr;
        shell.statisticsList = nullptr;
        CloseStatisticsBox();
      }
      return TRUE;
    case WM_CONTEXTMENU: {
      // A click on the box itself names the control under the point.
      HWND target = reinterpret_cast<HWND>(wParam);
      if (target == box && lParam != -1) {
        POINT p = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        ScreenToClient(box, &p);
        HWND child = ChildWindowFromPoint(box, p);
        if (child) target = child;
      }
      ShowWhatsThis(box, target, lParam);
      return TRUE;
    }
    case WM_COMMAND:
      // Nothing may unwind into the system's code.
      try {
        return BoxCommand(wParam);
      } catch (...) {
        MessageBeep(0);
        return TRUE;
      }
    default:
      return FALSE;
  }
}

}  // namespace

// Makes and shows the box. The data set starts empty without allocating anything, so the
// box's window is all that can fail: then the memory message is shown and nothing is left
// behind.
bool StatisticsBoxCreate() {
  HWND box = CreateDialogParamA(shell.instance, MAKEINTRESOURCEA(kStatisticsTemplate), nullptr,
                                StatisticsBoxProc, 0);
  if (!box) {
    StatisticsMemoryMessage();
    return false;
  }
  if (!shell.statisticsList) shell.statisticsList = GetDlgItem(box, kBoxList);
  shell.statisticsBox = box;
  ShowWindow(box, SW_SHOWNORMAL);
  return true;
}

void StatisticsBoxDestroy() {
  HWND box = shell.statisticsBox;
  shell.statisticsBox = nullptr;
  shell.statisticsList = nullptr;
  if (box) DestroyWindow(box);
}

void StatisticsBoxFocus() {
  if (shell.statisticsBox) SetFocus(shell.statisticsBox);
}

// The display text as it was when the value was added; -1 when the list is full.
int StatisticsListAdd(const char* text) {
  LRESULT index = ListMessage(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
  return index == LB_ERR || index == LB_ERRSPACE ? -1 : static_cast<int>(index);
}

void StatisticsListDelete(int index) { ListMessage(LB_DELETESTRING, static_cast<WPARAM>(index), 0); }

void StatisticsListReset() { ListMessage(LB_RESETCONTENT, 0, 0); }

void StatisticsListSelect(int index) { ListMessage(LB_SETCURSEL, static_cast<WPARAM>(index), 0); }

int StatisticsListSelection() {
  LRESULT index = ListMessage(LB_GETCURSEL, 0, 0);
  return index == LB_ERR ? -1 : static_cast<int>(index);
}

void StatisticsShowCount(int count) {
  if (shell.statisticsBox) SetDlgItemInt(shell.statisticsBox, kBoxCount, static_cast<UINT>(count), FALSE);
}

// Beep, then the memory message, captioned with the box's title (the system's default
// caption when there is no box).
void StatisticsMemoryMessage() {
  MessageBeep(0);
  char caption[49] = {0};
  HWND owner = shell.statisticsBox ? shell.statisticsBox : shell.mainWindow;
  if (shell.statisticsBox) GetWindowTextA(shell.statisticsBox, caption, sizeof caption);
  MessageBoxA(owner, LabelTable[76], caption[0] ? caption : nullptr, MB_OK);
}
