// The display (static 403) draws its own text so that the whole of it always shows: the
// most significant digits, the sign and the exponent are never cut, whatever the precision,
// the layout or the DPI. A text that fits keeps the dialog's font, drawn exactly as the
// static draws it (right-aligned, centred vertically). A longer one takes a smaller font,
// down to nine tenths of the normal size; beyond that it is shown on two right-aligned
// lines, broken where both lines come out about equally long (never inside the exponent;
// at a space when the text has one), in the largest font with which both lines fit. The
// text itself is left alone: WM_GETTEXT answers the whole display text, and the colours are
// still those the main window gives in WM_CTLCOLORSTATIC.
//
// The font height and the line break last drawn are kept in the control's properties
// "VemoDisplayFont" (the font's lfHeight) and "VemoDisplayBreak" (the index of the second
// line's first character, 0 for one line), where the end-to-end tests read them.
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/window_port.h"
#include "shell/shell_state.h"

namespace {

constexpr char kOriginalProcProperty[] = "VemoDisplayProc";
constexpr char kFontProperty[] = "VemoDisplayFont";
constexpr char kBreakProperty[] = "VemoDisplayBreak";

// Smallest font, in percent of the normal one (rounded up): for a text on one line before it
// is broken in two (a slightly smaller line reads better than a break, a much smaller one
// worse than two lines in the normal font, which the display's height holds), and for two
// lines before one line shrinks further.
constexpr int kOneLineFloor = 90;
constexpr int kTwoLineFloor = 60;

// How the text is drawn: the font's lfHeight, the second line's first character (0 for a
// single line) and the end of the first line (before a space the break takes away).
struct DisplayFit {
  LONG height = 0;
  size_t secondLine = 0;
  size_t firstLineEnd = 0;
};

struct Font {
  HFONT handle = nullptr;
  bool owned = false;
  ~Font() {
    if (owned && handle) DeleteObject(handle);
  }
};

std::string ControlText(HWND control) {
  int length = GetWindowTextLengthA(control);
  std::string text(static_cast<size_t>(std::max(length, 0)) + 1, '\0');
  int got = GetWindowTextA(control, &text[0], length + 1);
  text.resize(static_cast<size_t>(std::max(got, 0)));
  return text;
}

// The control's font with another height (the normal font itself at its own height).
void MakeFont(Font& font, HFONT normal, const LOGFONTA& base, LONG height) {
  if (height == base.lfHeight) {
    font.handle = normal;
    return;
  }
  LOGFONTA scaled = base;
  scaled.lfHeight = height;
  if (base.lfWidth && base.lfHeight) scaled.lfWidth = MulDiv(base.lfWidth, height, base.lfHeight);
  font.handle = CreateFontIndirectA(&scaled);
  font.owned = true;
}

SIZE Extent(HDC dc, const std::string& text, size_t from, size_t to) {
  SIZE size = {0, 0};
  if (to > from) GetTextExtentPoint32A(dc, text.data() + from, static_cast<int>(to - from), &size);
  return size;
}

// Where the exponent begins ("e+", "e-"), or the text's length when it has none.
size_t ExponentStart(const std::string& text) {
  size_t e = text.rfind('e');
  bool exponent = e != std::string::npos && e + 1 < text.size() && (text[e + 1] == '+' || text[e + 1] == '-');
  return exponent ? e : text.size();
}

// The break for two lines of about equal width, from the widths of the text's prefixes:
// before a space when the text has one (the space is not drawn), else between any two
// characters before the exponent. false when the text cannot be broken.
bool BalancedBreak(const std::string& text, const std::vector<int>& prefix, DisplayFit& fit) {
  const size_t n = text.size();
  const bool atSpaces = text.find(' ') != std::string::npos;
  const size_t last = std::min(ExponentStart(text), n - 1);
  int best = -1;
  auto width = [&](size_t from, size_t to) {
    return to > from ? prefix[to - 1] - (from ? prefix[from - 1] : 0) : 0;
  };
  for (size_t k = 1; k <= last; ++k) {
    if (atSpaces && text[k] != ' ') continue;
    size_t second = atSpaces ? k + 1 : k;
    if (second >= n) continue;
    int wider = std::max(width(0, k), width(second, n));
    if (best < 0 || wider <= best) {  // on a tie the first line takes the extra character
      best = wider;
      fit.firstLineEnd = k;
      fit.secondLine = second;
    }
  }
  return best >= 0;
}

// Whether the text fits the client area in the font on one line (lines 1) or two. A line
// takes the font's height less its internal leading, the room of accents above capitals
// that digits and the exponent never use; the left edge keeps a small margin.
bool Fits(HDC dc, const std::string& text, const RECT& client, int margin, int lines, DisplayFit& fit) {
  TEXTMETRICA metrics = {};
  GetTextMetricsA(dc, &metrics);
  int lineHeight = metrics.tmHeight - metrics.tmInternalLeading;
  int width = client.right - client.left - margin;
  if (lines * lineHeight > client.bottom - client.top) return false;
  if (lines == 1) {
    fit.secondLine = 0;
    fit.firstLineEnd = text.size();
    return Extent(dc, text, 0, text.size()).cx <= width;
  }
  if (text.size() < 2) return false;
  std::vector<int> prefix(text.size());
  SIZE total = {0, 0};
  if (!GetTextExtentExPointA(dc, text.data(), static_cast<int>(text.size()), 0, nullptr, prefix.data(), &total) ||
      !BalancedBreak(text, prefix, fit)) {
    return false;
  }
  return Extent(dc, text, 0, fit.firstLineEnd).cx <= width &&
         Extent(dc, text, fit.secondLine, text.size()).cx <= width;
}

// Chooses the font and the lines: one line from the normal size down to kOneLineFloor, then
// two lines down to kTwoLineFloor, then whichever fits first below that (never a cut text).
DisplayFit FitText(HDC dc, HFONT normal, const LOGFONTA& base, const std::string& text,
                   const RECT& client) {
  const LONG size = std::max<LONG>(1, std::labs(base.lfHeight));
  const LONG sign = base.lfHeight < 0 ? -1 : 1;
  const int margin = std::max<int>(1, static_cast<int>(size / 5));
  DisplayFit fit;
  auto tryAt = [&](LONG s, int lines) {
    Font font;
    MakeFont(font, normal, base, sign * s);
    if (!font.handle) return false;
    HGDIOBJ old = SelectObject(dc, font.handle);
    bool fits = Fits(dc, text, client, margin, lines, fit);
    SelectObject(dc, old);
    if (fits) fit.height = sign * s;
    return fits;
  };
  if (base.lfHeight == 0 || text.empty()) {
    fit.height = base.lfHeight;
    fit.firstLineEnd = text.size();
    return fit;
  }
  const LONG oneFloor = std::max<LONG>(1, (size * kOneLineFloor + 99) / 100);
  const LONG twoFloor = std::max<LONG>(1, (size * kTwoLineFloor + 99) / 100);
  for (LONG s = size; s >= oneFloor; --s) {
    if (tryAt(s, 1)) return fit;
  }
  for (LONG s = size; s >= twoFloor; --s) {
    if (tryAt(s, 2)) return fit;
  }
  for (LONG s = std::min(oneFloor, twoFloor) - 1; s >= 1; --s) {
    if (tryAt(s, 1) || tryAt(s, 2)) return fit;
  }
  fit = DisplayFit();
  fit.height = sign;
  fit.firstLineEnd = text.size();
  return fit;
}

// Paints the display: the background and colours from the main window's
// WM_CTLCOLORSTATIC, then the text as FitText lays it out.
void PaintDisplay(HWND control, HDC dc) {
  RECT client;
  GetClientRect(control, &client);
  HBRUSH brush = reinterpret_cast<HBRUSH>(SendMessageA(GetParent(control), WM_CTLCOLORSTATIC,
                                                       reinterpret_cast<WPARAM>(dc),
                                                       reinterpret_cast<LPARAM>(control)));
  FillRect(dc, &client, brush ? brush : GetSysColorBrush(COLOR_BTNFACE));

  HFONT normal = reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0));
  if (!normal) normal = static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
  LOGFONTA base = {};
  GetObjectA(normal, sizeof base, &base);
  std::string text = ControlText(control);
  DisplayFit fit = FitText(dc, normal, base, text, client);

  Font font;
  MakeFont(font, normal, base, fit.height);
  HGDIOBJ old = SelectObject(dc, font.handle ? font.handle : normal);
  int mode = SetBkMode(dc, TRANSPARENT);
  const UINT format = DT_RIGHT | DT_SINGLELINE | DT_NOPREFIX;
  if (fit.secondLine == 0) {
    // As the static draws its text: one line, centred vertically.
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &client, format | DT_VCENTER);
  } else {
    // Two lines of (height - internal leading) each, centred together.
    TEXTMETRICA metrics = {};
    GetTextMetricsA(dc, &metrics);
    int lineHeight = metrics.tmHeight - metrics.tmInternalLeading;
    int top = client.top + (client.bottom - client.top - 2 * lineHeight) / 2 - metrics.tmInternalLeading;
    RECT first = {client.left, top, client.right, top + metrics.tmHeight};
    RECT second = {client.left, top + lineHeight, client.right, top + lineHeight + metrics.tmHeight};
    DrawTextA(dc, text.c_str(), static_cast<int>(fit.firstLineEnd), &first, format | DT_NOCLIP);
    DrawTextA(dc, text.c_str() + fit.secondLine, static_cast<int>(text.size() - fit.secondLine), &second,
              format | DT_NOCLIP);
  }
  SetBkMode(dc, mode);
  SelectObject(dc, old);
  SetPropA(control, kFontProperty, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(fit.height)));
  SetPropA(control, kBreakProperty, reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(fit.secondLine)));
}

LRESULT CALLBACK DisplayProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
  WNDPROC original = reinterpret_cast<WNDPROC>(GetPropA(control, kOriginalProcProperty));
  if (!original) return DefWindowProcA(control, message, wParam, lParam);
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(control, &paint);
      if (dc) PaintDisplay(control, dc);
      EndPaint(control, &paint);
      return 0;
    }
    case WM_PRINTCLIENT:
      PaintDisplay(control, reinterpret_cast<HDC>(wParam));
      return 0;
    case WM_ERASEBKGND:
      return 1;  // the painting fills the background
    case WM_SETTEXT: {
      // The static would draw the new text at once, cut; the text is stored and drawn here.
      LRESULT result = DefWindowProcA(control, message, wParam, lParam);
      RedrawWindow(control, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
      return result;
    }
    case WM_ENABLE: {
      LRESULT result = CallWindowProcA(original, control, message, wParam, lParam);
      RedrawWindow(control, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
      return result;
    }
    case WM_NCDESTROY:
      RemovePropA(control, kFontProperty);
      RemovePropA(control, kBreakProperty);
      RemovePropA(control, kOriginalProcProperty);
      SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
      return CallWindowProcA(original, control, message, wParam, lParam);
    default:
      return CallWindowProcA(original, control, message, wParam, lParam);
  }
}

}  // namespace

// Makes the main window's display draw its text through DisplayProc.
void AttachDisplay(HWND window) {
  HWND display = GetDlgItem(window, kDisplay);
  if (!display || GetPropA(display, kOriginalProcProperty)) return;
  SetPropA(display, kOriginalProcProperty,
           reinterpret_cast<HANDLE>(GetWindowLongPtrA(display, GWLP_WNDPROC)));
  SetWindowLongPtrA(display, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(DisplayProc));
  InvalidateRect(display, nullptr, TRUE);
}
