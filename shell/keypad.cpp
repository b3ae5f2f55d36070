// The keys of the main window beyond the picture keys: the scientific layout's owner-drawn
// keys, painted in the family of the picture keys; its radio buttons, check boxes and
// frames on the background's band; the clicks of these buttons; and the tooltips that name
// every key with its shortcuts in both layouts.
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "engine/command_table.h"
#include "engine/engine.h"
#include "shell/key_tips.h"
#include "shell/shell_state.h"

namespace {

// The colours of tools/make_pictures.py: keypad body, the band behind the display and the
// mode row, the keys' outline and the faces of the key groups.
constexpr COLORREF kBody = RGB(203, 214, 226);
constexpr COLORREF kBand = RGB(226, 234, 242);
constexpr COLORREF kOutline = RGB(72, 84, 104);
constexpr COLORREF kDigitFace = RGB(214, 224, 240);       // as the digit pictures: A-F
constexpr COLORREF kFunctionFace = RGB(236, 226, 246);    // pale lilac: functions, ( )
constexpr COLORREF kIntegerFace = RGB(248, 230, 214);     // pale peach: Mod And Or Xor Not Lsh
constexpr COLORREF kStatisticsFace = RGB(218, 238, 222);  // pale green: Sta Ave Sum s Dat
constexpr int kTipWidth = 320;                            // pixels before a tip wraps

COLORREF FaceColour(int id) {
  if (id >= static_cast<int>(CmdDigit0) && id <= static_cast<int>(CmdDigitF)) return kDigitFace;
  switch (id) {
    case CmdStatistics: case CmdAverage: case CmdSum: case CmdDeviation: case CmdData:
      return kStatisticsFace;
    case CmdMod: case CmdAnd: case CmdOr: case CmdXor: case CmdNot: case CmdLsh:
      return kIntegerFace;
    default:
      return kFunctionFace;
  }
}

// Lightens (factor > 1) or darkens (factor < 1) a colour, as the pictures' bevels do.
COLORREF Shade(COLORREF colour, double factor) {
  auto channel = [factor](int c) {
    return factor >= 1 ? static_cast<int>(c + (255 - c) * (factor - 1))
                       : static_cast<int>(c * factor);
  };
  return RGB(channel(GetRValue(colour)), channel(GetGValue(colour)), channel(GetBValue(colour)));
}

// A filled rounded rectangle covering [left, right) x [top, bottom).
void FillRounded(HDC dc, int left, int top, int right, int bottom, int diameter, COLORREF colour) {
  SetDCBrushColor(dc, colour);
  SetDCPenColor(dc, colour);
  RoundRect(dc, left, top, right, bottom, diameter, diameter);
}

bool IsButton(HWND control) {
  char name[16] = {0};
  return control && GetClassNameA(control, name, sizeof name) && lstrcmpiA(name, "Button") == 0;
}

// The key's label (the label table in the system's code page) or, for a radio button or a
// check box, its current text, as UTF-8.
std::string KeyName(HWND window, int id) {
  char text[64] = {0};
  if (HasLabel(id)) {
    lstrcpynA(text, LabelTable[id - 80], sizeof text);
  } else {
    GetDlgItemTextA(window, id, text, sizeof text);
  }
  wchar_t wide[64] = {0};
  MultiByteToWideChar(CP_ACP, 0, text, -1, wide, 64);
  char utf8[256] = {0};
  WideCharToMultiByte(CP_UTF8, 0, wide, -1, utf8, sizeof utf8, nullptr, nullptr);
  return utf8;
}

// The tip of the key under the mouse, asked for by the tooltip control.
LRESULT KeyTipRequest(HWND window, NMTTDISPINFOW* info) {
  int id = (info->uFlags & TTF_IDISHWND) ? GetDlgCtrlID(reinterpret_cast<HWND>(info->hdr.idFrom))
                                         : static_cast<int>(info->hdr.idFrom);
  std::string text = KeyTipText(static_cast<unsigned>(id), KeyName(window, id).c_str(),
                                settings.layout);
  int length = MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, nullptr, 0);
  shell.keyTipText.assign(static_cast<std::size_t>(length > 0 ? length : 1), L'\0');
  if (length > 0) MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, &shell.keyTipText[0], length);
  info->hinst = nullptr;
  info->lpszText = &shell.keyTipText[0];
  return 0;
}

// A tip is shown just below the window (above it when the screen ends there), at the
// mouse's column: never over a key, where it would take the click meant for that key.
LRESULT PlaceKeyTip(HWND window) {
  RECT frame, tip;
  POINT mouse;
  if (!GetWindowRect(window, &frame) || !GetWindowRect(shell.keyTips, &tip) || !GetCursorPos(&mouse)) {
    return FALSE;
  }
  const int width = tip.right - tip.left, height = tip.bottom - tip.top;
  HMONITOR monitor = MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST);
  MONITORINFO screen = {};
  screen.cbSize = sizeof screen;
  if (!GetMonitorInfoA(monitor, &screen)) return FALSE;
  int x = mouse.x;
  int y = frame.bottom + 2;
  if (y + height > screen.rcWork.bottom) y = frame.top - height - 2;
  if (x + width > screen.rcWork.right) x = screen.rcWork.right - width;
  if (x < screen.rcWork.left) x = screen.rcWork.left;
  SetWindowPos(shell.keyTips, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  return TRUE;
}

// Each key gets two tools with the same tip: the control itself while it is enabled, and
// its rectangle on the main window, which receives the mouse while the key is disabled.
void AddKeyTips(HWND window) {
  INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_WIN95_CLASSES};
  InitCommonControlsEx(&classes);
  shell.keyTips = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                  WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX | TTS_NOANIMATE | TTS_NOFADE,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window,
                                  nullptr,
                                  shell.instance, nullptr);
  if (!shell.keyTips) return;
  SendMessageW(shell.keyTips, TTM_SETMAXTIPWIDTH, 0, kTipWidth);
  for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    int id = GetDlgCtrlID(child);
    if (id <= 0 || !FindCommand(static_cast<unsigned>(id))) continue;
    TTTOOLINFOW tool = {};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS | TTF_TRANSPARENT;
    tool.hwnd = window;
    tool.uId = reinterpret_cast<UINT_PTR>(child);
    tool.lpszText = LPSTR_TEXTCALLBACKW;
    SendMessageW(shell.keyTips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    tool.uFlags = TTF_SUBCLASS | TTF_TRANSPARENT;
    tool.uId = static_cast<UINT_PTR>(id);
    GetWindowRect(child, &tool.rect);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&tool.rect), 2);
    SendMessageW(shell.keyTips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }
}

}  // namespace

// Paints an owner-drawn key like the picture keys: a rounded key with a dark outline, a lit
// top-left and shaded bottom-right bevel, a glossy upper half and the label centred in the
// key's text colour; pressed, the bevel turns dark and the label moves down by a pixel;
// disabled, the label is grey.
LRESULT DrawKey(const DRAWITEMSTRUCT* item) {
  int id = static_cast<int>(item->CtlID);
  if (!HasLabel(id)) return FALSE;
  HDC dc = item->hDC;
  const RECT& r = item->rcItem;
  bool pressed = (item->itemState & ODS_SELECTED) != 0;
  COLORREF face = FaceColour(id);
  int height = r.bottom - r.top;
  int radius = height >= 24 ? 8 : 6;
  int bevel = height >= 40 ? 2 : 1;  // grows with the key at higher resolutions

  HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(DC_BRUSH));
  HGDIOBJ oldPen = SelectObject(dc, GetStockObject(DC_PEN));
  SetDCBrushColor(dc, kBody);
  FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
  FillRounded(dc, r.left, r.top, r.right, r.bottom, radius, kOutline);
  int l = r.left + bevel, t = r.top + bevel, rr = r.right - bevel, b = r.bottom - bevel;
  if (pressed) {
    FillRounded(dc, l, t, rr, b, radius, Shade(face, 0.72));
    FillRounded(dc, l + 2 * bevel, t + 2 * bevel, rr, b, radius, Shade(face, 0.9));
  } else {
    FillRounded(dc, l, t, rr, b, radius, Shade(face, 0.72));
    FillRounded(dc, l, t, rr - 2 * bevel, b - 2 * bevel, radius, Shade(face, 1.6));
    FillRounded(dc, l + 2 * bevel, t + 2 * bevel, rr - 2 * bevel, b - 2 * bevel, radius - 2, face);
    int middle = (t + b) / 2;
    FillRounded(dc, l + 3 * bevel, t + 3 * bevel, rr - 3 * bevel, middle, radius - 2,
                Shade(face, 1.25));
  }
  SelectObject(dc, oldPen);
  SelectObject(dc, oldBrush);

  RECT text = r;
  if (pressed) OffsetRect(&text, 1, 1);
  HGDIOBJ oldFont = shell.keyFont ? SelectObject(dc, shell.keyFont) : nullptr;
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, (item->itemState & ODS_DISABLED) ? GetSysColor(COLOR_GRAYTEXT)
                                                    : ButtonTextColour(id));
  DrawTextA(dc, LabelTable[id - 80], -1, &text, DT_SINGLELINE | DT_VCENTER | DT_CENTER | DT_NOPREFIX);
  if (oldFont) SelectObject(dc, oldFont);
  return TRUE;
}

void AttachKeypad(HWND window) {
  if (!shell.bandBrush) shell.bandBrush = CreateSolidBrush(kBand);
  if (!shell.bodyBrush) shell.bodyBrush = CreateSolidBrush(kBody);
  // The keys' labels: the dialog font made bold, like the pictures' glyphs.
  if (shell.keyFont) DeleteObject(shell.keyFont);
  shell.keyFont = nullptr;
  LOGFONTA font = {};
  HFONT dialogFont = reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0));
  if (dialogFont && GetObjectA(dialogFont, sizeof font, &font)) {
    font.lfWeight = FW_BOLD;
    shell.keyFont = CreateFontIndirectA(&font);
  }
  AddKeyTips(window);
}

unsigned KeyNotification(HWND window, WPARAM wParam, LPARAM lParam) {
  unsigned code = HIWORD(wParam);
  HWND control = reinterpret_cast<HWND>(lParam);
  if (!IsButton(control)) return code;
  // A clicked button took the keyboard focus: the accelerators need it on the main window.
  if (GetFocus() == control) SetFocus(window);
  return code == BN_DOUBLECLICKED ? 1 : code;
}

bool KeypadMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  switch (message) {
    case WM_DRAWITEM:
      *result = DrawKey(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      return true;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
      // Radio buttons, check boxes and frames lie on the band; owner-drawn keys on the body.
      HWND control = reinterpret_cast<HWND>(lParam);
      if (!IsButton(control)) return false;
      HDC dc = reinterpret_cast<HDC>(wParam);
      bool onBand = message == WM_CTLCOLORSTATIC;
      SetBkColor(dc, onBand ? kBand : kBody);
      *result = reinterpret_cast<LRESULT>(onBand ? shell.bandBrush : shell.bodyBrush);
      return *result != 0;
    }
    case WM_NOTIFYFORMAT:
      // The tips are asked for in Unicode: the arrow and the dash have no ANSI code.
      if (lParam != NF_QUERY || reinterpret_cast<HWND>(wParam) != shell.keyTips) return false;
      *result = NFR_UNICODE;
      return true;
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lParam);
      if (header->hwndFrom != shell.keyTips) return false;
      if (header->code == TTN_SHOW) {
        *result = PlaceKeyTip(window);
        return true;
      }
      if (header->code != TTN_GETDISPINFOW) return false;
      *result = KeyTipRequest(window, reinterpret_cast<NMTTDISPINFOW*>(lParam));
      return true;
    }
    default:
      return false;
  }
}
