// "Что это такое?": after the right-click menu, a pop-up with what the clicked control does
// — a key's description from the command table, or a short text for the display, the
// indicators and the statistics box's controls. HTML Help's text pop-up shows it where the
// HTML Help control has one; otherwise a plain tooltip-like window of the program does,
// until the next click or key, which it takes for itself.
#include <windows.h>
#include <htmlhelp.h>

#include <string>

#include "engine/command_table.h"
#include "engine/engine.h"
#include "engine/window_port.h"
#include "shell/shell_state.h"

namespace {

constexpr char kPopupClass[] = "VemoHelpPopup";
constexpr int kMarginPoints = 5;     // inner margin, in 96-dpi pixels
constexpr int kMaxWidthPoints = 300; // longest line before the text wraps, in 96-dpi pixels

struct ControlText {
  int id;
  const char* text;  // UTF-8
};

// The controls without a command.
const ControlText kControlTexts[] = {
    {kDisplay, "Индикатор: набираемое число, результат или сообщение об ошибке."},
    {kMemoryIndicator, "Показывает M, когда в памяти записано число, отличное от нуля."},
    {kParenIndicator, "Показывает число открытых скобок."},
    {0, "Вемомер — калькулятор. Щёлкните правой кнопкой мыши по клавише, чтобы узнать, что она делает."},
};

// The statistics box's controls.
const ControlText kBoxTexts[] = {
    {kBoxList, "Числа, добавленные клавишей Dat, в порядке добавления. Двойной щелчок выводит число на индикатор."},
    {kBoxReturn, "Возвращает клавиатуру главному окну калькулятора."},
    {kBoxLoad, "Выводит выбранное в списке число на индикатор."},
    {kBoxDelete, "Удаляет выбранное в списке число."},
    {kBoxDeleteAll, "Удаляет все числа из списка."},
    {kBoxCount, "Количество чисел в списке."},
    {kBoxCountLabel, "Количество чисел в списке."},
};

// "Описание с заглавной буквы.", then the keys that send the command on a line of its own.
std::wstring CommandHelpText(const CommandInfo& row) {
  std::wstring text = WideFromUtf8(row.description);
  if (text.empty()) return text;
  CharUpperBuffW(&text[0], 1);
  text += L".";
  std::wstring keys = ShortcutText(row.id);
  if (!keys.empty()) text += L"\r\nКлавиатура: " + keys;
  return text;
}

std::wstring HelpText(HWND dialog, HWND target) {
  int id = target == dialog ? 0 : GetDlgCtrlID(target);
  if (dialog == shell.statisticsBox && dialog) {
    for (const ControlText& c : kBoxTexts) {
      if (c.id == id) return WideFromUtf8(c.text);
    }
    return std::wstring();
  }
  if (const CommandInfo* row = FindCommand(static_cast<unsigned>(id))) return CommandHelpText(*row);
  for (const ControlText& c : kControlTexts) {
    if (c.id == id) return WideFromUtf8(c.text);
  }
  return std::wstring();
}

int Scaled(int pixels, UINT dpi) { return MulDiv(pixels, static_cast<int>(dpi), 96); }

LRESULT CALLBACK PopupProc(HWND popup, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(popup, &paint);
      RECT r;
      GetClientRect(popup, &r);
      FillRect(dc, &r, GetSysColorBrush(COLOR_INFOBK));
      int margin = Scaled(kMarginPoints, WindowDpi(popup));
      InflateRect(&r, -margin, -margin);
      HGDIOBJ oldFont = SelectObject(dc, reinterpret_cast<HFONT>(GetWindowLongPtrA(popup, GWLP_USERDATA)));
      SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
      char text[1024] = {0};
      GetWindowTextA(popup, text, sizeof text);
      DrawTextA(dc, text, -1, &r, DT_WORDBREAK | DT_NOPREFIX | DT_LEFT);
      SelectObject(dc, oldFont);
      EndPaint(popup, &paint);
      return 0;
    }
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    default:
      return DefWindowProcA(popup, message, wParam, lParam);
  }
}

bool RegisterPopupClass() {
  WNDCLASSEXA existing = {};
  existing.cbSize = sizeof existing;
  if (GetClassInfoExA(shell.instance, kPopupClass, &existing)) return true;
  WNDCLASSEXA wc = {};
  wc.cbSize = sizeof wc;
  wc.style = CS_DROPSHADOW;
  wc.lpfnWndProc = PopupProc;
  wc.hInstance = shell.instance;
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.lpszClassName = kPopupClass;
  return RegisterClassExA(&wc) != 0;
}

// Shows the program's own pop-up at the point (screen coordinates) and waits for the next
// click or key, which closes it and does nothing else.
void ShowOwnPopup(HWND owner, const std::string& text, POINT at) {
  if (!RegisterPopupClass()) return;
  UINT dpi = WindowDpi(owner);
  HFONT font = WindowFont(owner);
  if (!font) font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  // The text's size decides the window's.
  HDC dc = GetDC(owner);
  HGDIOBJ oldFont = SelectObject(dc, font);
  RECT textRect = {0, 0, Scaled(kMaxWidthPoints, dpi), 0};
  DrawTextA(dc, text.c_str(), -1, &textRect, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_LEFT);
  SelectObject(dc, oldFont);
  ReleaseDC(owner, dc);
  int margin = Scaled(kMarginPoints, dpi);
  int width = textRect.right + 2 * margin + 2;
  int height = textRect.bottom + 2 * margin + 2;
  // Below and right of the point, kept on the point's monitor.
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoA(MonitorFromPoint(at, MONITOR_DEFAULTTONEAREST), &monitor);
  const RECT& area = monitor.rcWork;
  int x = at.x + margin, y = at.y + margin;
  if (x + width > area.right) x = area.right - width;
  if (y + height > area.bottom) y = at.y - height - margin;
  if (x < area.left) x = area.left;
  if (y < area.top) y = area.top;

  HWND popup = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, kPopupClass, text.c_str(),
                               WS_POPUP | WS_BORDER, x, y, width, height, owner, nullptr,
                               shell.instance, nullptr);
  if (!popup) return;
  SetWindowLongPtrA(popup, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(font));
  ShowWindow(popup, SW_SHOWNOACTIVATE);
  UpdateWindow(popup);
  SetCapture(popup);
  MSG msg;
  while (IsWindow(popup) && GetCapture() == popup && GetMessageA(&msg, nullptr, 0, 0)) {
    UINT m = msg.message;
    bool closes = m == WM_KEYDOWN || m == WM_SYSKEYDOWN || m == WM_LBUTTONDOWN ||
                  m == WM_RBUTTONDOWN || m == WM_MBUTTONDOWN || m == WM_NCLBUTTONDOWN ||
                  m == WM_NCRBUTTONDOWN || m == WM_NCMBUTTONDOWN;
    if (closes) break;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  if (msg.message == WM_QUIT) PostQuitMessage(static_cast<int>(msg.wParam));
  if (GetCapture() == popup) ReleaseCapture();
  if (IsWindow(popup)) DestroyWindow(popup);
}

}  // namespace

// The right-click help of a control of the main window or of the statistics box: the
// "Что это такое?" menu at the point, then the control's text in a pop-up. A point of -1
// (the menu key) stands for the control's middle.
void ShowWhatsThis(HWND dialog, HWND target, LPARAM screenPoint) {
  POINT at = {static_cast<short>(LOWORD(screenPoint)), static_cast<short>(HIWORD(screenPoint))};
  if (screenPoint == -1) {
    RECT r;
    GetWindowRect(target, &r);
    at = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }
  std::wstring text = HelpText(dialog, target);
  if (text.empty()) return;
  if (!ShowWhatsThisMenu(dialog, shell.instance, MAKELPARAM(at.x, at.y))) return;
  std::string ansi = AnsiFromWide(text);
  HH_POPUP popup = {};
  popup.cbStruct = sizeof popup;
  popup.pszText = ansi.c_str();
  popup.pt = at;
  popup.clrForeground = static_cast<COLORREF>(-1);
  popup.clrBackground = static_cast<COLORREF>(-1);
  popup.rcMargins = {-1, -1, -1, -1};
  if (!ShowHtmlHelp(target, nullptr, HH_DISPLAY_TEXT_POPUP, reinterpret_cast<DWORD_PTR>(&popup))) {
    ShowOwnPopup(dialog, ansi, at);
  }
}
