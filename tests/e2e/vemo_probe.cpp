// vemo-probe: a small Win32 test driver for the end-to-end tests. It finds the calculator's
// main window (class "SciVemo") on the same desktop and reports or changes what a test needs.
//
//   vemo-probe DESKTOP OUT_FILE COMMAND [ARGS...]
//
// The probe first joins the desktop DESKTOP ("-" to stay on its own), the Wine desktop the
// program was started on: windows are found only on one's own desktop. The answer is written
// to OUT_FILE ("-" for standard output) as UTF-8 "key=value" lines. The last line is "ok=1"
// on success; on failure "error=..." and the exit code is 1.
//
// Commands:
//   state                      display, indicators, window and control rectangles
//   command ID [CODE]          posts WM_COMMAND (CODE in the high word) to the main window
//   text ID                    the text of a control of the main window, as the system keeps
//                              it (answers even while the program computes)
//   close                      posts WM_CLOSE to the main window
//   windows                    lists the top-level windows of the desktop: class|title|
//                              visible or hidden|rectangle
//   move X Y                   moves the main window's top-left corner to X, Y
//   settings SECTION           sends WM_WININICHANGE naming SECTION ("-" for none)
//   profile-write SEC KEY VAL  WriteProfileStringA
//   profile-read SEC KEY       GetProfileStringA
//   dialogs                    every visible top-level dialog (class #32770): title, rectangle,
//                              controls, and the items and selection of a list box
//   clipboard-read             the clipboard's CF_TEXT
//   clipboard-write TEXT       puts TEXT on the clipboard as CF_TEXT ("-" empties it)
//   clipboard-write-file PATH  puts the UTF-8 text of the file PATH on the clipboard as
//                              CF_UNICODETEXT (any length; characters beyond code page 1251)
//   clipboard-hold MS          keeps the clipboard open for MS milliseconds ("held=1" first)
//   show minimize|restore      minimises or restores the main window
//   menu-state ID              GetMenuState of a menu item of the main window
//   tooltips                   every visible tooltip window of the desktop: text|rectangle
//   manifest EXE               the application manifest (resource 1 of type 24) of EXE
//   version EXE                the version resource of EXE: fixed file version and texts
//   dpi                        the main window's DPI and DPI awareness (-1 where unknown)
//   acc-name ID                accName and accRole of a main-window control (0 = the
//                              window) through oleacc's AccessibleObjectFromWindow
//   acc-names                  accName of every control of the main window: "acc.ID=name"
//   shortcut-target LNK        the target path of a shell link
//   dpi-changed DPI            sends the main window WM_DPICHANGED for DPI, without a
//                              suggested rectangle (as a move to such a monitor would)
//   display-fit                the display's text, client rectangle (screen), the font
//                              height and line break it last drew with (its properties
//                              "VemoDisplayFont" and "VemoDisplayBreak"), and each line's
//                              extent measured here in the template's face at that height
#include <windows.h>
#include <oleacc.h>
#include <shlobj.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

std::string Utf8FromAnsi(const char* text) {
    int wide = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (wide <= 0) return std::string();
    std::wstring w(static_cast<size_t>(wide), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, -1, &w[0], wide);
    int bytes = WideCharToMultiByte(CP_UTF8, 0, w.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.c_str(), -1, &out[0], bytes, nullptr, nullptr);
    out.resize(std::strlen(out.c_str()));
    return out;
}

// Escapes control characters so that every answer stays on one line.
std::string OneLine(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\r') out += "\\r";
        else if (c == '\n') out += "\\n";
        else out += c;
    }
    return out;
}

std::string RectText(const RECT& r) {
    char buffer[80];
    std::snprintf(buffer, sizeof buffer, "%ld,%ld,%ld,%ld", r.left, r.top, r.right, r.bottom);
    return buffer;
}

std::string WindowText(HWND window) {
    char buffer[512] = {0};
    SendMessageA(window, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer));
    return OneLine(Utf8FromAnsi(buffer));
}

// The text the system keeps for a window of another process, read without sending it a
// message: a window whose thread is busy (a computation) or never answers cannot hold the
// probe up.
std::string StoredText(HWND window) {
    char buffer[512] = {0};
    GetWindowTextA(window, buffer, sizeof buffer);
    return OneLine(Utf8FromAnsi(buffer));
}

void ReportControl(std::string& out, HWND main, int id, const char* name) {
    HWND control = GetDlgItem(main, id);
    if (!control) {
        out += std::string(name) + "=<none>\n";
        return;
    }
    out += std::string(name) + "=" + WindowText(control) + "\n";
}

// The program's hidden EDIT window, found by class and title among the top-level windows.
BOOL CALLBACK FindClipboardEdit(HWND window, LPARAM param) {
    char name[64] = {0};
    GetClassNameA(window, name, sizeof name);
    if (lstrcmpiA(name, "Edit") != 0 || WindowText(window) != "VemoMsgPumpWnd") return TRUE;
    *reinterpret_cast<HWND*>(param) = window;
    return FALSE;
}

// Reports the main window: texts of the display and indicators, rectangles in screen
// coordinates, the keyboard focus, the enabled state and rectangle of every control, and the
// check state and text of every button ("button.ID=checked|text", checked 0 or 1).
void ReportState(std::string& out, HWND main) {
    char number[64];
    std::snprintf(number, sizeof number, "%llu",
                  static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(main)));
    out += std::string("window=") + number + "\n";
    out += "title=" + WindowText(main) + "\n";
    ReportControl(out, main, 403, "display");
    ReportControl(out, main, 401, "memory");
    ReportControl(out, main, 402, "parens");
    RECT r;
    GetWindowRect(main, &r);
    out += "rect=" + RectText(r) + "\n";
    GetClientRect(main, &r);
    MapWindowPoints(main, nullptr, reinterpret_cast<POINT*>(&r), 2);
    out += "client=" + RectText(r) + "\n";
    out += std::string("visible=") + (IsWindowVisible(main) ? "1" : "0") + "\n";
    out += std::string("foreground=") + (GetForegroundWindow() == main ? "1" : "0") + "\n";
    // The keyboard focus of the program's thread: "main", a control's id, or "none".
    GUITHREADINFO thread = {};
    thread.cbSize = sizeof thread;
    std::string focus = "none";
    if (GetGUIThreadInfo(GetWindowThreadProcessId(main, nullptr), &thread) && thread.hwndFocus) {
        focus = thread.hwndFocus == main ? "main" : std::to_string(GetDlgCtrlID(thread.hwndFocus));
    }
    out += "focus=" + focus + "\n";
    HWND edit = nullptr;
    EnumWindows(FindClipboardEdit, reinterpret_cast<LPARAM>(&edit));
    out += std::string("clipboardEdit=") + (!edit ? "none" : IsWindowVisible(edit) ? "visible" : "hidden") + "\n";
    for (HWND child = GetWindow(main, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        GetWindowRect(child, &r);
        std::snprintf(number, sizeof number, "control.%d=", GetDlgCtrlID(child));
        out += number + RectText(r) + (IsWindowEnabled(child) ? ",enabled" : ",disabled") + "\n";
        char name[16] = {0};
        GetClassNameA(child, name, sizeof name);
        if (lstrcmpiA(name, "Button") != 0 || GetDlgCtrlID(child) <= 0) continue;
        LRESULT check = SendMessageA(child, BM_GETCHECK, 0, 0);
        std::snprintf(number, sizeof number, "button.%d=%d|", GetDlgCtrlID(child),
                      check == BST_CHECKED ? 1 : 0);
        out += number + WindowText(child) + "\n";
    }
}

// A visible tooltip window: its text (asked for in Unicode, so that every character of the
// tip survives) and rectangle.
BOOL CALLBACK ReportTooltip(HWND window, LPARAM param) {
    char name[64] = {0};
    GetClassNameA(window, name, sizeof name);
    if (lstrcmpiA(name, "tooltips_class32") != 0 || !IsWindowVisible(window)) return TRUE;
    wchar_t wide[1024] = {0};
    SendMessageW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(wide));
    char text[4096] = {0};
    WideCharToMultiByte(CP_UTF8, 0, wide, -1, text, sizeof text - 1, nullptr, nullptr);
    RECT r;
    GetWindowRect(window, &r);
    *reinterpret_cast<std::string*>(param) += "tooltip=" + OneLine(text) + "|" + RectText(r) + "\n";
    return TRUE;
}

BOOL CALLBACK ListWindow(HWND window, LPARAM param) {
    std::string& out = *reinterpret_cast<std::string*>(param);
    char name[128] = {0};
    GetClassNameA(window, name, sizeof name);
    RECT r;
    GetWindowRect(window, &r);
    out += std::string("top=") + name + "|" + StoredText(window) + "|" +
           (IsWindowVisible(window) ? "visible" : "hidden") + "|" + RectText(r) + "\n";
    return TRUE;
}

// The help viewer's panes: for each visible "HH Parent" window every descendant as
// "viewer.CLASS=visible|hidden|COUNT|RECT", where COUNT is the number of tabs, list items,
// tree items or list-box items (-1 for other classes). Counts need no pointer, so they
// cross the process boundary.
BOOL CALLBACK ReportViewerChild(HWND window, LPARAM param) {
    char name[64] = {0};
    GetClassNameA(window, name, sizeof name);
    LRESULT count = -1;
    if (lstrcmpiA(name, "SysTabControl32") == 0) count = SendMessageA(window, 0x1304 /* TCM_GETITEMCOUNT */, 0, 0);
    else if (lstrcmpiA(name, "SysListView32") == 0) count = SendMessageA(window, 0x1004 /* LVM_GETITEMCOUNT */, 0, 0);
    else if (lstrcmpiA(name, "SysTreeView32") == 0) count = SendMessageA(window, 0x1105 /* TVM_GETCOUNT */, 0, 0);
    else if (lstrcmpiA(name, "ListBox") == 0) count = SendMessageA(window, LB_GETCOUNT, 0, 0);
    RECT r;
    GetWindowRect(window, &r);
    *reinterpret_cast<std::string*>(param) += std::string("viewer.") + name + "=" +
        (IsWindowVisible(window) ? "visible" : "hidden") + "|" + std::to_string(count) + "|" +
        RectText(r) + "\n";
    return TRUE;
}

BOOL CALLBACK ReportViewer(HWND window, LPARAM param) {
    char name[64] = {0};
    GetClassNameA(window, name, sizeof name);
    if (std::strcmp(name, "HH Parent") != 0 || !IsWindowVisible(window)) return TRUE;
    *reinterpret_cast<std::string*>(param) += "viewer=" + StoredText(window) + "\n";
    EnumChildWindows(window, ReportViewerChild, param);
    return TRUE;
}

// One visible top-level dialog: "dialog.N=title|rect", then its controls
// ("dialog.N.control.ID=class|text|rect|enabled"), and for a list box the number of its
// items ("dialog.N.items=COUNT"), the first 50 ("dialog.N.item.K=text|rect") and
// "dialog.N.selection=K".
struct DialogReport {
    std::string* out;
    int count;
};

BOOL CALLBACK ReportDialog(HWND window, LPARAM param) {
    DialogReport& report = *reinterpret_cast<DialogReport*>(param);
    char name[64] = {0};
    GetClassNameA(window, name, sizeof name);
    if (std::strcmp(name, "#32770") != 0 || !IsWindowVisible(window)) return TRUE;
    std::string& out = *report.out;
    std::string prefix = "dialog." + std::to_string(report.count++);
    RECT r;
    GetWindowRect(window, &r);
    out += prefix + "=" + StoredText(window) + "|" + RectText(r) + "\n";
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        GetClassNameA(child, name, sizeof name);
        GetWindowRect(child, &r);
        int id = GetDlgCtrlID(child);
        out += prefix + ".control." + std::to_string(id) + "=" + name + "|" + StoredText(child) +
               "|" + RectText(r) + (IsWindowEnabled(child) ? "|enabled" : "|disabled") + "\n";
        if (lstrcmpiA(name, "ListBox") != 0) continue;
        int items = static_cast<int>(SendMessageA(child, LB_GETCOUNT, 0, 0));
        out += prefix + ".items=" + std::to_string(items) + "\n";
        for (int k = 0; k < items && k < 50; ++k) {
            // Asked for in Unicode: an ANSI answer from another process loses its last byte.
            wchar_t wide[512] = {0};
            if (SendMessageW(child, LB_GETTEXTLEN, k, 0) < 511) {
                SendMessageW(child, LB_GETTEXT, k, reinterpret_cast<LPARAM>(wide));
            }
            char text[1024] = {0};
            WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text - 1, nullptr, nullptr);
            RECT item = {};
            SendMessageA(child, LB_GETITEMRECT, k, reinterpret_cast<LPARAM>(&item));
            MapWindowPoints(child, nullptr, reinterpret_cast<POINT*>(&item), 2);
            out += prefix + ".item." + std::to_string(k) + "=" + OneLine(Utf8FromAnsi(text)) + "|" +
                   RectText(item) + "\n";
        }
        out += prefix + ".selection=" +
               std::to_string(static_cast<int>(SendMessageA(child, LB_GETCURSEL, 0, 0))) + "\n";
    }
    return TRUE;
}

// The manifest the system reads at process start, as one line.
bool ReportManifest(std::string& out, const char* exe) {
    HMODULE module = LoadLibraryExA(exe, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module) return false;
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const char* bytes = loaded ? static_cast<const char*>(LockResource(loaded)) : nullptr;
    if (bytes) out += "manifest=" + OneLine(std::string(bytes, SizeofResource(module, found))) + "\n";
    FreeLibrary(module);
    return bytes != nullptr;
}

std::string Utf8FromWide(const wchar_t* text) {
    int bytes = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) return std::string();
    std::string out(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, &out[0], bytes, nullptr, nullptr);
    out.resize(std::strlen(out.c_str()));
    return out;
}

// The fixed file version and the Russian texts of the version resource.
bool ReportVersion(std::string& out, const char* exe) {
    DWORD size = GetFileVersionInfoSizeA(exe, nullptr);
    if (!size) return false;
    std::string block(size, '\0');
    if (!GetFileVersionInfoA(exe, 0, size, &block[0])) return false;
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(&block[0], "\\", reinterpret_cast<void**>(&fixed), &length) || !fixed) return false;
    char number[64];
    std::snprintf(number, sizeof number, "%u.%u.%u.%u", HIWORD(fixed->dwFileVersionMS),
                  LOWORD(fixed->dwFileVersionMS), HIWORD(fixed->dwFileVersionLS),
                  LOWORD(fixed->dwFileVersionLS));
    out += std::string("fileVersion=") + number + "\n";
    for (const wchar_t* name : {L"ProductName", L"FileVersion", L"ProductVersion", L"FileDescription"}) {
        std::wstring path = std::wstring(L"\\StringFileInfo\\041904B0\\") + name;
        wchar_t* text = nullptr;
        if (VerQueryValueW(&block[0], path.c_str(), reinterpret_cast<void**>(&text), &length) && text) {
            out += Utf8FromWide(name) + "=" + OneLine(Utf8FromWide(text)) + "\n";
        }
    }
    return true;
}

// The DPI and the DPI awareness of a window, through the calls of newer systems.
void ReportDpi(std::string& out, HWND window) {
    typedef UINT(WINAPI * DpiForWindow)(HWND);
    typedef HANDLE(WINAPI * WindowAwareness)(HWND);
    typedef int(WINAPI * AwarenessOf)(HANDLE);
    HMODULE user = GetModuleHandleA("user32.dll");
    auto dpiFor = reinterpret_cast<DpiForWindow>(reinterpret_cast<void*>(GetProcAddress(user, "GetDpiForWindow")));
    auto context = reinterpret_cast<WindowAwareness>(
        reinterpret_cast<void*>(GetProcAddress(user, "GetWindowDpiAwarenessContext")));
    auto awareness = reinterpret_cast<AwarenessOf>(
        reinterpret_cast<void*>(GetProcAddress(user, "GetAwarenessFromDpiAwarenessContext")));
    out += "dpi=" + std::to_string(dpiFor ? static_cast<int>(dpiFor(window)) : -1) + "\n";
    out += "awareness=" + std::to_string(context && awareness ? awareness(context(window)) : -1) + "\n";
}

// The accessible name of a window, or false.
bool AccessibleName(HWND window, std::string& name) {
    IAccessible* object = nullptr;
    if (FAILED(AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                          reinterpret_cast<void**>(&object))) || !object) {
        return false;
    }
    VARIANT self;
    VariantInit(&self);
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR text = nullptr;
    HRESULT got = object->get_accName(self, &text);
    name = got == S_OK && text ? OneLine(Utf8FromWide(text)) : std::string();
    if (text) SysFreeString(text);
    object->Release();
    return true;
}

// What an accessibility client reads of a window: its name and its role's text.
bool ReportAccessible(std::string& out, HWND window) {
    IAccessible* object = nullptr;
    if (FAILED(AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                          reinterpret_cast<void**>(&object))) || !object) {
        out += "error=AccessibleObjectFromWindow failed\n";
        return false;
    }
    VARIANT self;
    VariantInit(&self);
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    HRESULT got = object->get_accName(self, &name);
    out += "name=" + (got == S_OK && name ? OneLine(Utf8FromWide(name)) : std::string()) + "\n";
    if (name) SysFreeString(name);
    VARIANT role;
    VariantInit(&role);
    if (object->get_accRole(self, &role) == S_OK && role.vt == VT_I4) {
        wchar_t text[128] = {0};
        GetRoleTextW(static_cast<DWORD>(role.lVal), text, 128);
        out += "role=" + std::to_string(role.lVal) + "\nroleText=" + Utf8FromWide(text) + "\n";
    }
    object->Release();
    return true;
}

// The path a shell link (.lnk) points to.
bool ReportShortcutTarget(std::string& out, const char* link) {
    IShellLinkW* shellLink = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(&shellLink)))) {
        return false;
    }
    IPersistFile* file = nullptr;
    bool ok = false;
    if (SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        wchar_t widePath[MAX_PATH] = {0};
        MultiByteToWideChar(CP_ACP, 0, link, -1, widePath, MAX_PATH);
        wchar_t target[MAX_PATH] = {0};
        if (SUCCEEDED(file->Load(widePath, STGM_READ)) &&
            SUCCEEDED(shellLink->GetPath(target, MAX_PATH, nullptr, 0))) {
            out += "target=" + Utf8FromWide(target) + "\n";
            ok = true;
        }
        file->Release();
    }
    shellLink->Release();
    return ok;
}

// The display as drawn: its text and client rectangle, the font height and line break the
// program reports, and, measured independently with GetTextExtentPoint32 in "MS Shell Dlg"
// (the templates' face) at that height, each line's extent ("line=text|cx|cy") and the
// font's metrics ("tm=height,internal leading").
bool ReportDisplayFit(std::string& out, HWND main) {
    HWND display = GetDlgItem(main, 403);
    if (!display) return false;
    char text[512] = {0};
    SendMessageA(display, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    RECT client;
    GetClientRect(display, &client);
    MapWindowPoints(display, nullptr, reinterpret_cast<POINT*>(&client), 2);
    long height = static_cast<long>(reinterpret_cast<INT_PTR>(GetPropA(display, "VemoDisplayFont")));
    size_t second = static_cast<size_t>(reinterpret_cast<UINT_PTR>(GetPropA(display, "VemoDisplayBreak")));
    out += "text=" + OneLine(Utf8FromAnsi(text)) + "\n";
    out += "client=" + RectText(client) + "\n";
    out += "font=" + std::to_string(height) + "\nbreak=" + std::to_string(second) + "\n";
    if (height == 0) return true;
    HFONT font = CreateFontA(static_cast<int>(height), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, "MS Shell Dlg");
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICA metrics = {};
    GetTextMetricsA(dc, &metrics);
    out += "tm=" + std::to_string(metrics.tmHeight) + "," + std::to_string(metrics.tmInternalLeading) + "\n";
    std::string whole = text;
    std::string lines[2] = {whole, ""};
    if (second > 0 && second < whole.size()) {
        size_t end = whole[second - 1] == ' ' ? second - 1 : second;
        lines[0] = whole.substr(0, end);
        lines[1] = whole.substr(second);
    }
    for (const std::string& line : lines) {
        if (line.empty()) continue;
        SIZE size = {0, 0};
        GetTextExtentPoint32A(dc, line.data(), static_cast<int>(line.size()), &size);
        out += "line=" + OneLine(Utf8FromAnsi(line.c_str())) + "|" + std::to_string(size.cx) + "|" +
               std::to_string(size.cy) + "\n";
    }
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(font);
    return true;
}

bool ReadClipboard(std::string& out) {
    if (!OpenClipboard(nullptr)) return false;
    HANDLE data = GetClipboardData(CF_TEXT);
    const char* text = data ? static_cast<const char*>(GlobalLock(data)) : nullptr;
    out += std::string("text=") + (text ? OneLine(Utf8FromAnsi(text)) : std::string()) + "\n";
    out += std::string("hasText=") + (text ? "1" : "0") + "\n";
    if (text) GlobalUnlock(data);
    CloseClipboard();
    return true;
}

bool WriteClipboard(const char* text) {
    if (!OpenClipboard(nullptr)) return false;
    bool ok = EmptyClipboard() != 0;
    if (ok && std::strcmp(text, "-") != 0) {
        size_t size = std::strlen(text) + 1;
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
        char* copy = block ? static_cast<char*>(GlobalLock(block)) : nullptr;
        ok = copy != nullptr;
        if (ok) {
            std::memcpy(copy, text, size);
            GlobalUnlock(block);
            ok = SetClipboardData(CF_TEXT, block) != nullptr;
        }
    }
    CloseClipboard();
    return ok;
}

// The file's UTF-8 text as CF_UNICODETEXT; the system makes CF_TEXT from it on demand.
bool WriteClipboardFile(const char* path) {
    std::FILE* file = std::fopen(path, "rb");
    if (!file) return false;
    std::string text;
    char chunk[65536];
    for (size_t n; (n = std::fread(chunk, 1, sizeof chunk, file)) > 0;) text.append(chunk, n);
    std::fclose(file);
    int units = text.empty() ? 0
        : MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (!text.empty() && units <= 0) return false;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, (static_cast<size_t>(units) + 1) * sizeof(wchar_t));
    wchar_t* wide = block ? static_cast<wchar_t*>(GlobalLock(block)) : nullptr;
    if (!wide) return false;
    if (units > 0) MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide, units);
    wide[units] = L'\0';
    GlobalUnlock(block);
    bool ok = OpenClipboard(nullptr) && EmptyClipboard() && SetClipboardData(CF_UNICODETEXT, block);
    CloseClipboard();
    if (!ok) GlobalFree(block);
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: vemo-probe DESKTOP OUT_FILE COMMAND [ARGS...]\n");
        return 2;
    }
    if (std::strcmp(argv[1], "-") != 0) {
        HDESK desktop = OpenDesktopA(argv[1], 0, FALSE, GENERIC_ALL);
        if (!desktop || !SetThreadDesktop(desktop)) {
            std::fprintf(stderr, "vemo-probe: cannot join desktop %s\n", argv[1]);
            return 1;
        }
    }
    // From here on the arguments are those of the command.
    argc -= 1;
    argv += 1;
    const char* outPath = argv[1];
    std::string command = argv[2];
    std::string out;
    bool ok = true;
    HWND main = FindWindowA("SciVemo", nullptr);

    if (command == "profile-write" && argc == 6) {
        const char* value = std::strcmp(argv[5], "-") == 0 ? nullptr : argv[5];
        ok = WriteProfileStringA(argv[3], argv[4], value) != 0;
        if (!ok) out += "error=WriteProfileStringA failed\n";
    } else if (command == "profile-read" && argc == 5) {
        char value[256] = {0};
        GetProfileStringA(argv[3], argv[4], "<missing>", value, sizeof value);
        out += "value=" + OneLine(Utf8FromAnsi(value)) + "\n";
    } else if (command == "windows") {
        EnumWindows(ListWindow, reinterpret_cast<LPARAM>(&out));
    } else if (command == "help-viewer") {
        EnumWindows(ReportViewer, reinterpret_cast<LPARAM>(&out));
    } else if (command == "tooltips") {
        EnumWindows(ReportTooltip, reinterpret_cast<LPARAM>(&out));
    } else if (command == "dialogs") {
        DialogReport report = {&out, 0};
        EnumWindows(ReportDialog, reinterpret_cast<LPARAM>(&report));
    } else if (command == "clipboard-read") {
        ok = ReadClipboard(out);
        if (!ok) out += "error=OpenClipboard failed\n";
    } else if (command == "clipboard-hold" && argc == 4) {
        ok = OpenClipboard(nullptr) != 0;
        if (ok) {
            std::printf("held=1\n");
            std::fflush(stdout);
            Sleep(static_cast<DWORD>(std::atoi(argv[3])));
            CloseClipboard();
        } else {
            out += "error=OpenClipboard failed\n";
        }
    } else if (command == "clipboard-write-file" && argc == 4) {
        ok = WriteClipboardFile(argv[3]);
        if (!ok) out += "error=the file could not be put on the clipboard\n";
    } else if (command == "clipboard-write" && argc == 4) {
        ok = WriteClipboard(argv[3]);
        if (!ok) out += "error=the clipboard could not be written\n";
    } else if (command == "manifest" && argc == 4) {
        ok = ReportManifest(out, argv[3]);
        if (!ok) out += "error=no manifest resource\n";
    } else if (command == "version" && argc == 4) {
        ok = ReportVersion(out, argv[3]);
        if (!ok) out += "error=no version resource\n";
    } else if (command == "shortcut-target" && argc == 4) {
        CoInitialize(nullptr);
        ok = ReportShortcutTarget(out, argv[3]);
        if (!ok) out += "error=the shortcut could not be read\n";
        CoUninitialize();
    } else if (!main) {
        ok = false;
        out += "error=no window of class SciVemo\n";
    } else if (command == "state") {
        ReportState(out, main);
    } else if (command == "text" && argc == 4) {
        out += "text=" + StoredText(GetDlgItem(main, std::atoi(argv[3]))) + "\n";
    } else if (command == "command" && (argc == 4 || argc == 5)) {
        WORD id = static_cast<WORD>(std::atoi(argv[3]));
        WORD code = argc == 5 ? static_cast<WORD>(std::atoi(argv[4])) : 0;
        HWND control = GetDlgItem(main, id);
        ok = PostMessageA(main, WM_COMMAND, MAKEWPARAM(id, code),
                          reinterpret_cast<LPARAM>(control)) != 0;
        if (!ok) out += "error=PostMessageA failed\n";
    } else if (command == "show" && argc == 4) {
        ShowWindow(main, std::strcmp(argv[3], "minimize") == 0 ? SW_MINIMIZE : SW_RESTORE);
    } else if (command == "menu-state" && argc == 4) {
        UINT state = GetMenuState(GetMenu(main), static_cast<UINT>(std::atoi(argv[3])), MF_BYCOMMAND);
        out += "state=" + std::to_string(static_cast<int>(state)) + "\n";
        out += std::string("grayed=") + (state != static_cast<UINT>(-1) && (state & MF_GRAYED) ? "1" : "0") + "\n";
    } else if (command == "dpi") {
        ReportDpi(out, main);
    } else if (command == "acc-name" && argc == 4) {
        int id = std::atoi(argv[3]);
        HWND target = id == 0 ? main : GetDlgItem(main, id);
        CoInitialize(nullptr);
        ok = target && ReportAccessible(out, target);
        if (!target) out += "error=no such control\n";
        CoUninitialize();
    } else if (command == "dpi-changed" && argc == 4) {
        WORD dpi = static_cast<WORD>(std::atoi(argv[3]));
        DWORD_PTR result = 0;
        ok = SendMessageTimeoutA(main, 0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(dpi, dpi), 0,
                                 SMTO_ABORTIFHUNG, 10000, &result) != 0;
        if (!ok) out += "error=SendMessageTimeoutA failed\n";
    } else if (command == "display-fit") {
        ok = ReportDisplayFit(out, main);
        if (!ok) out += "error=no display\n";
    } else if (command == "acc-names") {
        CoInitialize(nullptr);
        for (HWND child = GetWindow(main, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            std::string name;
            if (!AccessibleName(child, name)) name = "<no accessible object>";
            out += "acc." + std::to_string(GetDlgCtrlID(child)) + "=" + name + "\n";
        }
        CoUninitialize();
    } else if (command == "close") {
        ok = PostMessageA(main, WM_CLOSE, 0, 0) != 0;
        if (!ok) out += "error=PostMessageA failed\n";
    } else if (command == "move" && argc == 5) {
        ok = SetWindowPos(main, nullptr, std::atoi(argv[3]), std::atoi(argv[4]), 0, 0,
                          SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE) != 0;
        if (!ok) out += "error=SetWindowPos failed\n";
    } else if (command == "settings" && argc == 4) {
        const char* section = std::strcmp(argv[3], "-") == 0 ? nullptr : argv[3];
        DWORD_PTR result = 0;
        ok = SendMessageTimeoutA(main, WM_WININICHANGE, 0, reinterpret_cast<LPARAM>(section),
                                 SMTO_ABORTIFHUNG, 10000, &result) != 0;
        if (!ok) out += "error=SendMessageTimeoutA failed\n";
    } else {
        ok = false;
        out += "error=unknown command or wrong arguments: " + command + "\n";
    }
    out += ok ? "ok=1\n" : "";

    if (std::strcmp(outPath, "-") == 0) {
        std::fwrite(out.data(), 1, out.size(), stdout);
        return ok ? 0 : 1;
    }
    // Written to a temporary name and renamed, so a reader never sees half an answer.
    std::string temporary = std::string(outPath) + ".part";
    FILE* file = std::fopen(temporary.c_str(), "wb");
    if (!file) return 1;
    std::fwrite(out.data(), 1, out.size(), file);
    std::fclose(file);
    MoveFileExA(temporary.c_str(), outPath, MOVEFILE_REPLACE_EXISTING);
    return ok ? 0 : 1;
}
