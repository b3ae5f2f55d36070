// Names for accessibility clients. A screen reader asks a control for its name through
// oleacc, whose standard objects read the control's text with WM_GETTEXT; the picture keys
// have no text of their own (a bitmap static's text is its resource name), so each command
// control of the main window answers a WM_GETTEXT from outside with its accessible name:
// its label, what the key does (the command table's description) and its keyboard
// shortcut. The program itself still reads the real text: a WM_GETTEXT sent from its own
// thread, or arriving while the control handles another message, is passed on unchanged.
#include <windows.h>

#include <string>

#include "engine/command_table.h"
#include "engine/engine.h"
#include "shell/key_tips.h"
#include "shell/shell_state.h"

namespace {

constexpr char kOriginalProcProperty[] = "VemoOriginalProc";

std::wstring WideFromCodePage(UINT codePage, const char* text) {
  int n = MultiByteToWideChar(codePage, 0, text, -1, nullptr, 0);
  if (n <= 1) return std::wstring();
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(codePage, 0, text, -1, &out[0], n);
  out.resize(static_cast<size_t>(n - 1));
  return out;
}

// The text a control shows: the label of its command (the word size in radices other than
// 10 for the three mode keys), or the control's own text for a button that draws it.
std::wstring KeyLabel(HWND control, const CommandInfo& row, WNDPROC original) {
  char className[16] = {0};
  GetClassNameA(control, className, sizeof className);
  LONG style = GetWindowLongA(control, GWL_STYLE);
  bool drawsText = lstrcmpiA(className, "Button") == 0 && (style & BS_TYPEMASK) != BS_OWNERDRAW;
  int label = row.label;
  if (row.id >= CmdMode1 && row.id <= CmdMode3 && numbers.radix != 10) label = 60 + static_cast<int>(row.id - CmdMode1);
  if (!drawsText && label != kNoLabel) return WideFromCodePage(CP_ACP, LabelTable[label]);
  char text[128] = {0};
  CallWindowProcA(original, control, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
  std::wstring out;
  for (wchar_t c : WideFromCodePage(CP_ACP, text)) {
    if (c != L'&') out += c;
  }
  return out.empty() ? WideFromCodePage(CP_UTF8, row.consoleName) : out;
}

LRESULT CALLBACK NamedControlProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
  WNDPROC original = reinterpret_cast<WNDPROC>(GetPropA(control, kOriginalProcProperty));
  if (!original) return DefWindowProcA(control, message, wParam, lParam);
  // Only a request sent from another thread (an accessibility client, another program) gets
  // the name: the program's own reads (the tooltips, the drawing) get the real text.
  const bool fromOutside = (InSendMessageEx(nullptr) & ISMEX_SEND) != 0;
  if ((message == WM_GETTEXT || message == WM_GETTEXTLENGTH) && fromOutside &&
      shell.accessibleNameDepth == 0) {
    std::string name = AnsiFromWide(AccessibleKeyName(control, original));
    if (message == WM_GETTEXTLENGTH) return static_cast<LRESULT>(name.size());
    char* buffer = reinterpret_cast<char*>(lParam);
    if (!buffer || wParam == 0) return 0;
    lstrcpynA(buffer, name.c_str(), static_cast<int>(wParam));
    return lstrlenA(buffer);
  }
  ++shell.accessibleNameDepth;
  LRESULT result = CallWindowProcA(original, control, message, wParam, lParam);
  --shell.accessibleNameDepth;
  if (message == WM_NCDESTROY) RemovePropA(control, kOriginalProcProperty);
  return result;
}

}  // namespace

std::wstring WideFromUtf8(const char* text) { return WideFromCodePage(CP_UTF8, text); }

std::string AnsiFromWide(const std::wstring& text) {
  int n = WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
  if (n <= 1) return std::string();
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, &out[0], n, nullptr, nullptr);
  out.resize(static_cast<size_t>(n - 1));
  return out;
}

// The keys of the keyboard that send the command (the tooltips' text of them, from the
// command table), e.g. "S" or "Ctrl+M"; the arrow is spelled out, since the ANSI code page
// has no arrow.
std::wstring ShortcutText(unsigned id) {
  std::wstring text = WideFromUtf8(KeyShortcutsText(id, settings.layout).c_str());
  const std::wstring arrow = L"\u2190";
  for (std::size_t at = text.find(arrow); at != std::wstring::npos; at = text.find(arrow)) {
    text.replace(at, arrow.size(), L"Стрелка влево");
  }
  return text;
}

// "label — description (shortcut)", e.g. "MS — заносит число в память (Ctrl+M)".
std::wstring AccessibleKeyName(HWND control, WNDPROC original) {
  const CommandInfo* row = FindCommand(static_cast<unsigned>(GetDlgCtrlID(control)));
  if (!row) return std::wstring();
  std::wstring name = KeyLabel(control, *row, original);
  std::wstring description = WideFromUtf8(row->description);
  if (!description.empty()) name += L" \u2014 " + description;
  std::wstring shortcut = ShortcutText(row->id);
  if (!shortcut.empty()) name += L" (" + shortcut + L")";
  return name;
}

// Gives every command control of the window (keys, radio buttons, check boxes) its
// accessible name.
void NameControls(HWND window) {
  for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (!FindCommand(static_cast<unsigned>(GetDlgCtrlID(child)))) continue;
    if (GetPropA(child, kOriginalProcProperty)) continue;
    LONG_PTR original = GetWindowLongPtrA(child, GWLP_WNDPROC);
    SetPropA(child, kOriginalProcProperty, reinterpret_cast<HANDLE>(original));
    SetWindowLongPtrA(child, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(NamedControlProc));
  }
}
