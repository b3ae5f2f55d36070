// The main window at the monitor's DPI. The dialog manager lays the templates out in the
// font's units, so at creation the window, its controls and its font already have the
// monitor's scale; the picture keys are then given faces resampled for their size in
// pixels from masters drawn at three times the 96-dpi size (resources 1000 + control id, or
// 2000 + id for a face that says what the key does in the current layout or with the
// current decimal symbol), so that they stay sharp at any scale instead of being
// stretched. When the window moves to a monitor of another DPI (WM_DPICHANGED), every child
// control, the font and the window are scaled by the ratio of the two DPIs and the faces
// are made again.
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "engine/engine.h"
#include "shell/shell_state.h"

namespace {

constexpr int kMasterBase = 1000;       // resource id of a control's master picture: 1000 + id
constexpr int kAlternativeBase = 2000;  // ... of its other face: 2000 + id
constexpr char kFaceProperty[] = "VemoScaledFace";        // the face made for the control
constexpr char kSmallSizeProperty[] = "VemoPictureSize";  // its picture's 96-dpi size

template <typename Function>
Function SystemFunction(const char* module, const char* name) {
  HMODULE handle = GetModuleHandleA(module);
  return handle ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(handle, name)))
                : nullptr;
}

// The description of a 32-bit BGRA bitmap stored top row first.
BITMAPINFO TopDownBgra(int width, int height) {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

// The pixels of a bitmap as 32-bit BGRA rows, top row first.
std::vector<DWORD> ReadPixels(HBITMAP bitmap, int width, int height) {
  std::vector<DWORD> pixels(static_cast<size_t>(width) * static_cast<size_t>(height));
  BITMAPINFO info = TopDownBgra(width, height);
  HDC dc = GetDC(nullptr);
  int rows = GetDIBits(dc, bitmap, 0, static_cast<UINT>(height), pixels.data(), &info, DIB_RGB_COLORS);
  ReleaseDC(nullptr, dc);
  if (rows != height) pixels.clear();
  return pixels;
}

// The weights by which source pixels [first, first + count) make one target pixel when a
// run of `from` pixels is resampled to `to`: each target pixel averages the source area it
// covers (exact for any ratio, and sharp when shrinking).
struct Span {
  int first;
  std::vector<float> weights;
};

std::vector<Span> AreaSpans(int from, int to) {
  std::vector<Span> spans(static_cast<size_t>(to));
  double step = static_cast<double>(from) / to;
  for (int i = 0; i < to; ++i) {
    double a = i * step, b = (i + 1) * step;
    Span& s = spans[static_cast<size_t>(i)];
    s.first = static_cast<int>(std::floor(a));
    int last = std::min(from - 1, static_cast<int>(std::ceil(b)) - 1);
    for (int k = s.first; k <= last; ++k) {
      double w = std::min(b, k + 1.0) - std::max(a, static_cast<double>(k));
      s.weights.push_back(static_cast<float>(w / step));
    }
  }
  return spans;
}

// A new opaque 32-bit bitmap of width x height resampled from the master.
HBITMAP Resample(HBITMAP master, int width, int height) {
  BITMAP source = {};
  if (!GetObjectA(master, sizeof source, &source) || width <= 0 || height <= 0) return nullptr;
  int sw = source.bmWidth, sh = source.bmHeight;
  std::vector<DWORD> in = ReadPixels(master, sw, sh);
  if (in.empty()) return nullptr;
  std::vector<Span> across = AreaSpans(sw, width), down = AreaSpans(sh, height);
  // Rows first: sh rows of width pixels, three channels each.
  std::vector<float> rows(static_cast<size_t>(sh) * static_cast<size_t>(width) * 3);
  for (int y = 0; y < sh; ++y) {
    for (int x = 0; x < width; ++x) {
      const Span& s = across[static_cast<size_t>(x)];
      float c[3] = {0, 0, 0};
      for (size_t k = 0; k < s.weights.size(); ++k) {
        DWORD p = in[static_cast<size_t>(y) * static_cast<size_t>(sw) + static_cast<size_t>(s.first) + k];
        for (int ch = 0; ch < 3; ++ch) c[ch] += s.weights[k] * static_cast<float>((p >> (8 * ch)) & 0xFF);
      }
      float* out = &rows[(static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)) * 3];
      for (int ch = 0; ch < 3; ++ch) out[ch] = c[ch];
    }
  }
  BITMAPINFO info = TopDownBgra(width, height);
  void* bits = nullptr;
  HBITMAP result = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!result || !bits) return result;
  DWORD* out = static_cast<DWORD*>(bits);
  for (int y = 0; y < height; ++y) {
    const Span& s = down[static_cast<size_t>(y)];
    for (int x = 0; x < width; ++x) {
      float c[3] = {0, 0, 0};
      for (size_t k = 0; k < s.weights.size(); ++k) {
        const float* p = &rows[((static_cast<size_t>(s.first) + k) * static_cast<size_t>(width) + static_cast<size_t>(x)) * 3];
        for (int ch = 0; ch < 3; ++ch) c[ch] += s.weights[k] * p[ch];
      }
      DWORD pixel = 0xFF000000u;  // opaque: a static of common controls 6 honours alpha
      for (int ch = 0; ch < 3; ++ch) {
        int v = static_cast<int>(c[ch] + 0.5f);
        pixel |= static_cast<DWORD>(v < 0 ? 0 : v > 255 ? 255 : v) << (8 * ch);
      }
      out[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)] = pixel;
    }
  }
  GdiFlush();
  return result;
}

SIZE BitmapSize(HBITMAP bitmap) {
  BITMAP b = {};
  if (!bitmap || !GetObjectA(bitmap, sizeof b, &b)) return {0, 0};
  return {b.bmWidth, b.bmHeight};
}

// The master of a key's face, chosen by what the key does now: the square root key squares
// in the scientific layout (x², its root only with Inv), and the decimal key shows the
// symbol that the display uses (the comma, or the point for any other symbol).
int MasterResource(int id) {
  if (id == CmdSqrt && IsScientificLayout()) return kAlternativeBase + id;
  if (id == CmdPoint && numbers.decimalSymbol[0] == ',') return kAlternativeBase + id;
  return kMasterBase + id;
}

// Gives a bitmap static a face made from its master (a whole multiple of the 96-dpi picture):
// the control's size for a picture that fills its control, the DPI's scale of the 96-dpi
// size otherwise. A control whose current picture is not the master's 96-dpi picture keeps
// it.
void MakeFace(HWND control, UINT dpi) {
  LONG style = GetWindowLongA(control, GWL_STYLE);
  if ((style & SS_TYPEMASK) != SS_BITMAP) return;
  HBITMAP master = static_cast<HBITMAP>(
      LoadImageA(shell.instance, MAKEINTRESOURCEA(MasterResource(GetDlgCtrlID(control))),
                 IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  if (!master) return;
  SIZE big = BitmapSize(master);
  HANDLE face = GetPropA(control, kFaceProperty);
  // The 96-dpi size: the template's picture, or, once replaced, the one noted then.
  SIZE small = BitmapSize(reinterpret_cast<HBITMAP>(SendMessageA(control, STM_GETIMAGE, IMAGE_BITMAP, 0)));
  if (face) small = {LOWORD(reinterpret_cast<UINT_PTR>(GetPropA(control, kSmallSizeProperty))),
                     HIWORD(reinterpret_cast<UINT_PTR>(GetPropA(control, kSmallSizeProperty)))};
  int times = small.cx > 0 ? big.cx / small.cx : 0;
  if (times >= 1 && small.cx * times == big.cx && small.cy * times == big.cy) {
    RECT r;
    GetClientRect(control, &r);
    int width = (style & SS_REALSIZECONTROL) ? r.right : MulDiv(small.cx, static_cast<int>(dpi), 96);
    int height = (style & SS_REALSIZECONTROL) ? r.bottom : MulDiv(small.cy, static_cast<int>(dpi), 96);
    if (HBITMAP made = Resample(master, width, height)) {
      SendMessageA(control, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(made));
      SetPropA(control, kFaceProperty, made);
      SetPropA(control, kSmallSizeProperty,
               reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(MAKELONG(small.cx, small.cy))));
      if (face) DeleteObject(face);
    }
  }
  DeleteObject(master);
}

void MakeFaces(HWND window, UINT dpi) {
  for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    MakeFace(child, dpi);
  }
}

}  // namespace

// The font of a dialog's controls: the dialog's own, or, for a window of a private class
// (which does not keep the font it is given), its first control's.
HFONT WindowFont(HWND window) {
  if (HFONT font = reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0))) return font;
  for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (HFONT font = reinterpret_cast<HFONT>(SendMessageA(child, WM_GETFONT, 0, 0))) return font;
  }
  return nullptr;
}

// The DPI a window is shown at: the monitor's on systems that tell it per window, else the
// system's.
UINT WindowDpi(HWND window) {
  typedef UINT(WINAPI * DpiForWindow)(HWND);
  static const DpiForWindow dpiForWindow = SystemFunction<DpiForWindow>("user32.dll", "GetDpiForWindow");
  if (dpiForWindow && window) {
    if (UINT dpi = dpiForWindow(window)) return dpi;
  }
  HDC dc = GetDC(nullptr);
  int dpi = GetDeviceCaps(dc, LOGPIXELSY);
  ReleaseDC(nullptr, dc);
  return dpi > 0 ? static_cast<UINT>(dpi) : 96;
}

// After the main window is made: its DPI is noted and the picture keys get faces for it.
// The system's own rescaling of dialogs is turned off, since WM_DPICHANGED does it here
// for every control, whatever its class.
void ScaleMainWindow(HWND window) {
  typedef BOOL(WINAPI * DialogBehavior)(HWND, int, int);
  static const DialogBehavior setBehavior =
      SystemFunction<DialogBehavior>("user32.dll", "SetDialogDpiChangeBehavior");
  if (setBehavior) setBehavior(window, 1, 1);  // DDC_DISABLE_ALL
  if (shell.scaledFont) {
    DeleteObject(shell.scaledFont);
    shell.scaledFont = nullptr;
  }
  shell.windowDpi = WindowDpi(window);
  MakeFaces(window, shell.windowDpi);
}

// WM_DPICHANGED: controls, font and window scaled from the old DPI to the new one; the
// window goes where the system suggests, with its client area scaled.
void ApplyDpiChange(HWND window, UINT dpi, const RECT* suggested) {
  UINT old = shell.windowDpi ? shell.windowDpi : 96;
  if (dpi == 0 || dpi == old) return;
  auto scale = [&](LONG v) { return static_cast<LONG>(MulDiv(v, static_cast<int>(dpi), static_cast<int>(old))); };

  HFONT font = WindowFont(window);
  LOGFONTA logFont = {};
  HFONT newFont = nullptr;
  if (font && GetObjectA(font, sizeof logFont, &logFont)) {
    logFont.lfHeight = scale(logFont.lfHeight);
    logFont.lfWidth = scale(logFont.lfWidth);
    newFont = CreateFontIndirectA(&logFont);
  }
  HDWP positions = BeginDeferWindowPos(64);
  for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
    RECT s = {scale(r.left), scale(r.top), scale(r.right), scale(r.bottom)};
    if (positions) {
      positions = DeferWindowPos(positions, child, nullptr, s.left, s.top, s.right - s.left,
                                 s.bottom - s.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (newFont) SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(newFont), FALSE);
  }
  if (positions) EndDeferWindowPos(positions);
  if (newFont) {
    SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(newFont), FALSE);
    if (shell.scaledFont) DeleteObject(shell.scaledFont);
    shell.scaledFont = newFont;
  }

  RECT client;
  GetClientRect(window, &client);
  RECT frame = {0, 0, scale(client.right), scale(client.bottom)};
  typedef BOOL(WINAPI * AdjustForDpi)(RECT*, DWORD, BOOL, DWORD, UINT);
  static const AdjustForDpi adjust = SystemFunction<AdjustForDpi>("user32.dll", "AdjustWindowRectExForDpi");
  DWORD style = static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE));
  DWORD exStyle = static_cast<DWORD>(GetWindowLongA(window, GWL_EXSTYLE));
  bool adjusted = adjust ? adjust(&frame, style, GetMenu(window) != nullptr, exStyle, dpi) != 0
                         : AdjustWindowRectEx(&frame, style, GetMenu(window) != nullptr, exStyle) != 0;
  int x = suggested ? suggested->left : 0, y = suggested ? suggested->top : 0;
  int width = adjusted ? frame.right - frame.left : suggested ? suggested->right - suggested->left : 0;
  int height = adjusted ? frame.bottom - frame.top : suggested ? suggested->bottom - suggested->top : 0;
  UINT flags = SWP_NOZORDER | SWP_NOACTIVATE | (suggested ? 0 : SWP_NOMOVE) | (width > 0 ? 0 : SWP_NOSIZE);
  SetWindowPos(window, nullptr, x, y, width, height, flags);
  // The frame may not have the size the system computed for the new DPI (a system that does
  // not scale frames per monitor): the client area is made right by measuring it.
  RECT now;
  GetClientRect(window, &now);
  int dx = frame.right - frame.left > 0 ? scale(client.right) - now.right : 0;
  int dy = frame.bottom - frame.top > 0 ? scale(client.bottom) - now.bottom : 0;
  if (adjusted && (dx || dy)) {
    RECT outer;
    GetWindowRect(window, &outer);
    SetWindowPos(window, nullptr, 0, 0, outer.right - outer.left + dx, outer.bottom - outer.top + dy,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
  }

  shell.windowDpi = dpi;
  MakeFaces(window, dpi);
  InvalidateRect(window, nullptr, TRUE);
}

// The face of one key made again for the window's DPI, after what it shows has changed.
void RemakeKeyFace(HWND window, int id) {
  if (HWND control = GetDlgItem(window, id)) MakeFace(control, shell.windowDpi);
}

// Before the main window goes: the faces made for its keys are freed (a static does not
// free a picture given to it).
void ReleaseKeyFaces(HWND window) {
  for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    RemovePropA(child, kSmallSizeProperty);
    if (HANDLE face = RemovePropA(child, kFaceProperty)) {
      SendMessageA(child, STM_SETIMAGE, IMAGE_BITMAP, 0);
      DeleteObject(face);
    }
  }
}
