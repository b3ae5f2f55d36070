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
//   close                      posts WM_CLOSE to the main window
//   windows                    lists the top-level windows of the desktop (for diagnosis)
//   move X Y                   moves the main window's top-left corner to X, Y
//   settings SECTION           sends WM_WININICHANGE naming SECTION ("-" for none)
//   profile-write SEC KEY VAL  WriteProfileStringA
//   profile-read SEC KEY       GetProfileStringA
#include <windows.h>

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
// coordinates, and the enabled state and rectangle of every control.
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
    HWND edit = nullptr;
    EnumWindows(FindClipboardEdit, reinterpret_cast<LPARAM>(&edit));
    out += std::string("clipboardEdit=") + (!edit ? "none" : IsWindowVisible(edit) ? "visible" : "hidden") + "\n";
    for (HWND child = GetWindow(main, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        GetWindowRect(child, &r);
        std::snprintf(number, sizeof number, "control.%d=", GetDlgCtrlID(child));
        out += number + RectText(r) + (IsWindowEnabled(child) ? ",enabled" : ",disabled") + "\n";
    }
}

BOOL CALLBACK ListWindow(HWND window, LPARAM param) {
    std::string& out = *reinterpret_cast<std::string*>(param);
    char name[128] = {0};
    GetClassNameA(window, name, sizeof name);
    out += std::string("top=") + name + "|" + WindowText(window) + "|" +
           (IsWindowVisible(window) ? "visible" : "hidden") + "\n";
    return TRUE;
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
    } else if (!main) {
        ok = false;
        out += "error=no window of class SciVemo\n";
    } else if (command == "state") {
        ReportState(out, main);
    } else if (command == "command" && (argc == 4 || argc == 5)) {
        WORD id = static_cast<WORD>(std::atoi(argv[3]));
        WORD code = argc == 5 ? static_cast<WORD>(std::atoi(argv[4])) : 0;
        HWND control = GetDlgItem(main, id);
        ok = PostMessageA(main, WM_COMMAND, MAKEWPARAM(id, code),
                          reinterpret_cast<LPARAM>(control)) != 0;
        if (!ok) out += "error=PostMessageA failed\n";
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
