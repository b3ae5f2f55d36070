#!/usr/bin/python3
"""End-to-end tests of the Windows program: the real vemo.exe under Wine on its own Xvfb.

    /usr/bin/python3 tests/e2e/run_e2e.py BUILD_WIN_DIR [ARTIFACT_DIR] [-k NAME]

Starts an Xvfb of its own and a throw-away Wine prefix, runs vemo.exe on the Wine desktop
"vemo" (640x480, which draws the window frames without a window manager), types real keys
with xdotool, clicks keys with the mouse, and reads the display and the indicators through
vemo-probe.exe (WM_GETTEXT). Stops only what it started: the programs of its own prefix
(wineserver -k) and its Xvfb (by pid). Every wait is a bounded poll.

The last line is "e2e: N passed, M failed"; the exit code is 1 when anything failed.
"""
import math
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import traceback

DESKTOP = "vemo"
LOCALE = "ru_RU.UTF-8"


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def poll(what, probe, timeout=15.0, interval=0.1):
    """Calls probe() until it returns a true value or the timeout passes; returns the value
    or raises Failure naming what was awaited and the last value seen."""
    deadline = time.monotonic() + timeout
    last = None
    while True:
        try:
            last = probe()
        except Failure as e:
            last = "(%s)" % e
        else:
            if last:
                return last
        if time.monotonic() > deadline:
            raise Failure("timed out after %.0f s waiting for %s; last: %r" % (timeout, what, last))
        time.sleep(interval)


class Session:
    """One Xvfb and one Wine prefix for the whole suite."""

    def __init__(self, build_dir, artifact_dir):
        self.build_dir = os.path.abspath(build_dir)
        self.vemo = os.path.join(self.build_dir, "vemo.exe")
        self.probe_exe = os.path.join(self.build_dir, "vemo-probe.exe")
        for path in (self.vemo, self.probe_exe):
            check(os.path.isfile(path), "missing %s: build the Windows target first" % path)
        self.artifacts = os.path.abspath(artifact_dir)
        os.makedirs(self.artifacts, exist_ok=True)
        self.temp = tempfile.mkdtemp(prefix="vemo-e2e-")
        self.prefix = os.path.join(self.temp, "prefix")
        self.xvfb = None
        self.env = None
        self.app = None

    # --- set-up and tear-down -------------------------------------------------------------

    def start(self):
        read_fd, write_fd = os.pipe()
        self.xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_fd), "-screen", "0", "800x600x24", "-nolisten", "tcp"],
            pass_fds=(write_fd,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_fd)
        number = b""
        deadline = time.monotonic() + 20
        while not number.endswith(b"\n"):
            check(time.monotonic() < deadline and self.xvfb.poll() is None, "Xvfb did not start")
            chunk = os.read(read_fd, 16)
            if not chunk:
                break
            number += chunk
        os.close(read_fd)
        check(number.strip().isdigit(), "Xvfb gave no display number")
        self.env = dict(os.environ)
        self.env.update({
            "DISPLAY": ":" + number.decode().strip(),
            "WINEPREFIX": self.prefix,
            "WINEDEBUG": "-all",
            "LC_ALL": LOCALE,
            # No runtime installers in a throw-away prefix.
            "WINEDLLOVERRIDES": "mscoree,mshtml=",
        })
        self.env.pop("LANGUAGE", None)
        # A persistent server keeps the prefix warm between the program's runs.
        os.makedirs(self.prefix)
        subprocess.run(["wineserver", "-p"], env=self.env, timeout=30, check=True)
        subprocess.run(["wineboot", "-i"], env=self.env, timeout=240, check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        link_wine_fonts(self.prefix)

    def stop(self):
        if self.env:
            subprocess.run(["wineserver", "-k"], env=self.env, timeout=60,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            try:
                subprocess.run(["wineserver", "-w"], env=self.env, timeout=30)
            except subprocess.TimeoutExpired:
                pass
        if self.xvfb and self.xvfb.poll() is None:
            self.xvfb.send_signal(signal.SIGTERM)
            try:
                self.xvfb.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.xvfb.kill()
        shutil.rmtree(self.temp, ignore_errors=True)

    # --- the probe ------------------------------------------------------------------------

    def probe(self, *args, desktop=DESKTOP):
        """Runs vemo-probe; returns its key=value answer as a dict, with every line, in
        order, under "_lines" (keys such as "top" repeat)."""
        result = subprocess.run(["wine", self.probe_exe, desktop, "-"] + [str(a) for a in args],
                                env=self.env, capture_output=True, timeout=30)
        text = result.stdout.decode("utf-8", "replace")
        values = {"_lines": []}
        for line in text.splitlines():
            key, _, value = line.partition("=")
            values[key] = value
            values["_lines"].append((key, value))
        if result.returncode != 0 or values.get("ok") != "1":
            raise Failure("probe %s: %s" % (" ".join(map(str, args)),
                                           values.get("error") or text.strip() or result.stderr))
        return values

    def state(self):
        return self.probe("state")

    def profile_write(self, section, key, value):
        self.probe("profile-write", section, key, value, desktop="-")

    def profile_read(self, section, key):
        return self.probe("profile-read", section, key, desktop="-")["value"]

    # --- the program ----------------------------------------------------------------------

    def vemo_pids(self):
        """Live processes of vemo.exe that belong to this suite's prefix."""
        pids = []
        for entry in os.listdir("/proc"):
            if not entry.isdigit():
                continue
            try:
                with open("/proc/%s/cmdline" % entry, "rb") as f:
                    cmdline = f.read()
                if b"vemo.exe" not in cmdline or b"explorer" in cmdline.lower():
                    continue
                with open("/proc/%s/stat" % entry) as f:
                    if f.read().rsplit(")", 1)[1].split()[0] == "Z":
                        continue
                with open("/proc/%s/environ" % entry, "rb") as f:
                    if ("WINEPREFIX=%s" % self.prefix).encode() not in f.read().split(b"\0"):
                        continue
            except OSError:
                continue
            pids.append(int(entry))
        return pids

    def launch(self, *options, layout=None, env=None, program=None, desktop_size="640x480"):
        """Starts vemo.exe (or the copy at program) with options, optionally writing the
        profile's layout first and with extra environment variables, and waits until its
        window is shown and active."""
        self.close_program()
        if layout is not None:
            self.profile_write("SciVemo", "layout", str(layout))
        environment = dict(self.env)
        environment.update(env or {})
        self.app = subprocess.Popen(
            ["wine", "explorer", "/desktop=%s,%s" % (DESKTOP, desktop_size), program or self.vemo]
            + list(options),
            env=environment, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        state = poll("the main window", lambda: self.visible_state(), timeout=60)
        self.activate(state)
        return self.state()

    def visible_state(self):
        state = self.state()
        return state if state.get("visible") == "1" and state.get("display") else None

    def activate(self, state):
        """Clicks the title bar so that the window has the keyboard focus. The click is
        repeated while another window of the program (a dialog that has just opened) can
        still take the focus back."""
        left, top, right, _ = rect(state["rect"])
        client_top = rect(state["client"])[1]
        for attempt in range(4):
            self.xdotool("mousemove", str((left + right) // 2), str((top + client_top) // 2 - 8),
                         "click", "1")
            try:
                poll("the window in the foreground",
                     lambda: self.state().get("foreground") == "1", timeout=3 if attempt < 3 else 10)
                return
            except Failure:
                if attempt == 3:
                    raise

    def close_program(self):
        """Ends a vemo.exe left running by a test: first politely, then by its pids."""
        if not self.vemo_pids():
            return
        try:
            self.probe("close")
            poll("vemo.exe to end", lambda: not self.vemo_pids(), timeout=10)
        except Failure:
            for pid in self.vemo_pids():
                os.kill(pid, signal.SIGKILL)

    # --- input ----------------------------------------------------------------------------

    def xdotool(self, *args):
        subprocess.run(["xdotool"] + list(args), env=self.env, check=True, timeout=30)

    def keys(self, *names):
        self.xdotool("key", "--delay", "60", *names)

    def click_key(self, control_id):
        """Clicks the middle of the key with this control id."""
        left, top, right, bottom = rect(self.state()["control.%d" % control_id])
        self.xdotool("mousemove", str((left + right) // 2), str((top + bottom) // 2), "click", "1")

    def wait_display(self, expected, timeout=15.0):
        seen = []

        def shows_expected():
            seen.append(self.state()["display"])
            return seen[-1] == expected

        try:
            poll("display %r" % expected, shows_expected, timeout=timeout)
        except Failure:
            raise Failure("display %r, expected %r" % (seen[-1] if seen else None, expected))

    def display(self):
        return self.state()["display"]

    # --- dialogs, windows and the clipboard -----------------------------------------------

    def dialogs(self):
        """The visible top-level dialogs: a list of dicts with "title", "rect", "controls"
        (id -> (class, text, rect, enabled)), "items" (list texts), "item_rects",
        "selection" and "count" (the list box's number of items)."""
        found = {}
        for key, value in self.probe("dialogs")["_lines"]:
            parts = key.split(".")
            if parts[0] != "dialog":
                continue
            d = found.setdefault(parts[1], {"controls": {}, "items": [], "item_rects": [],
                                             "selection": -1, "count": 0})
            if len(parts) == 2:
                d["title"], d["rect"] = value.rsplit("|", 1)
            elif parts[2] == "control":
                cls, rest = value.split("|", 1)
                text, r, state = rest.rsplit("|", 2)
                d["controls"][int(parts[3])] = (cls, text, r, state == "enabled")
            elif parts[2] == "item":
                text, r = value.rsplit("|", 1)
                d["items"].append(text)
                d["item_rects"].append(r)
            elif parts[2] == "selection":
                d["selection"] = int(value)
            elif parts[2] == "items":
                d["count"] = int(value)
        return list(found.values())

    def dialog(self, title):
        """The visible dialog with this title, or None."""
        for d in self.dialogs():
            if d.get("title") == title:
                return d
        return None

    def guard_dialog(self):
        """The continue/stop dialog (buttons 4 and 2), or None."""
        for d in self.dialogs():
            if 4 in d["controls"] and 2 in d["controls"]:
                return d
        return None

    def top_windows(self):
        """(class, title, visible, rect) of every top-level window of the desktop."""
        windows = []
        for key, value in self.probe("windows")["_lines"]:
            if key == "top":
                cls, rest = value.split("|", 1)
                title, visible, r = rest.rsplit("|", 2)
                windows.append((cls, title, visible == "visible", r))
        return windows

    def clipboard(self):
        return self.probe("clipboard-read")["text"]

    def set_clipboard(self, text):
        """Puts text on the clipboard ("-" empties it)."""
        self.probe("clipboard-write", text, desktop="-")

    def set_clipboard_unicode(self, text):
        """Puts text, of any length and with any characters, on the clipboard as Unicode
        text (through a UTF-8 file that the probe reads by its path on drive Z:)."""
        path = os.path.join(self.temp, "clipboard.txt")
        with open(path, "w", encoding="utf-8", newline="") as f:
            f.write(text)
        self.probe("clipboard-write-file", windows_path(path), desktop="-")

    def click(self, rectangle, repeat=1):
        left, top, right, bottom = rect(rectangle)
        self.xdotool("mousemove", str((left + right) // 2), str((top + bottom) // 2),
                     "click", "--repeat", str(repeat), "--delay", "80", "1")

    def screenshot(self, name, region=None):
        """Saves the screen (or the region, a rectangle text) as an artifact; returns the
        picture."""
        from PIL import Image
        path = os.path.join(self.artifacts, name)
        subprocess.run(["import", "-window", "root", path], env=self.env, check=True, timeout=60)
        picture = Image.open(path).convert("RGB")
        if region:
            picture = picture.crop(rect(region))
            picture.save(path)
        return picture


def link_wine_fonts(prefix):
    """Wine's own fonts (Tahoma for "MS Shell Dlg", Marlett for the caption buttons) come
    with Debian's fonts-wine outside the prefix; linked into its Fonts folder they are used."""
    fonts = os.path.join(prefix, "drive_c", "windows", "Fonts")
    source = "/usr/share/wine/fonts"
    check(os.path.isdir(fonts) and os.path.isdir(source), "no Wine fonts to link")
    for name in os.listdir(source):
        target = os.path.join(fonts, name)
        if name.lower().endswith(".ttf") and not os.path.exists(target):
            os.symlink(os.path.join(source, name), target)


def rect(text):
    return [int(v) for v in text.split(",")[:4]]


def enabled(state, control_id):
    return state["control.%d" % control_id].endswith(",enabled")


# --- the tests ------------------------------------------------------------------------------
# Display texts carry the decimal symbol of the ru_RU locale, a comma.

def test_start_window_and_screenshot(s):
    """Start-up: title, display, indicators, the hidden copy window; a screenshot."""
    state = s.launch(layout=1)
    check(state["title"] == "Вемомер", "title %r" % state["title"])
    check(state["display"] == "0,", "start display %r" % state["display"])
    check(state["memory"] == "", "memory indicator %r" % state["memory"])
    check(state["clipboardEdit"] == "hidden", "copy window %s" % state["clipboardEdit"])
    controls = [k for k in state if k.startswith("control.")]
    check(len(controls) == 30, "%d controls" % len(controls))
    shot = os.path.join(s.artifacts, "vemo-desktop.png")
    subprocess.run(["import", "-window", "root", shot], env=s.env, check=True, timeout=60)
    check(os.path.getsize(shot) > 0, "empty screenshot")
    # The keypad's yellow keys are on the picture: the middle of the = key's face.
    from PIL import Image
    left, top, right, bottom = rect(state["control.112"])
    picture = Image.open(shot).convert("RGB")
    picture.crop(rect(state["rect"])).save(os.path.join(s.artifacts, "vemo-window.png"))
    face = picture.crop((left + 4, top + 4, left + 12, bottom - 4))
    pixels = list(face.getdata())
    r, g, b = [sum(p[i] for p in pixels) / len(pixels) for i in range(3)]
    check(r > 180 and g > 160 and b < 150,
          "the = key is not yellow on the screenshot: %.0f,%.0f,%.0f" % (r, g, b))


def test_addition_and_repeated_equals(s):
    """2 + 3 = by keys, repeated = by Enter and by a click; a sum typed by mouse clicks."""
    s.launch(layout=1)
    s.keys("2", "plus", "3")
    s.wait_display("3,")
    s.keys("equal")
    s.wait_display("5,")
    s.keys("Return")
    s.wait_display("8,")
    s.click_key(112)
    s.wait_display("11,")
    s.keys("Escape")
    s.wait_display("0,")
    for key in (126, 92, 131, 112):  # 2 + 7 =
        s.click_key(key)
    s.wait_display("9,")
    # A double click runs the key twice; clicks on the display and the indicator run nothing.
    left, top, right, bottom = rect(s.state()["control.125"])
    s.xdotool("mousemove", str((left + right) // 2), str((top + bottom) // 2),
              "click", "--repeat", "2", "--delay", "80", "1")
    s.wait_display("11,")
    s.click_key(403)
    s.click_key(401)
    s.keys("3")
    s.wait_display("113,")


def test_error_locks_input_until_escape(s):
    """1/0= shows the overflow message; keys change nothing until Esc."""
    s.launch(layout=1)
    s.keys("1", "slash", "0", "equal")
    message = "Результат слишком велик."
    s.wait_display(message)
    s.keys("5", "plus", "equal", "BackSpace")
    s.click_key(127)
    time.sleep(0.5)  # give refused keys a chance to act; the display must not change
    check(s.display() == message, "display changed while locked: %r" % s.display())
    s.keys("Escape")
    s.wait_display("0,")
    s.keys("7")
    s.wait_display("7,")


def test_percent_key_follows_layout(s):
    """% is percent in the standard layout, Mod in the scientific one and for other values."""
    s.launch(layout=1)
    s.keys("5", "0", "plus", "1", "0", "percent")
    s.wait_display("5,")
    s.keys("equal")
    s.wait_display("55,")
    for layout in (0, 2):
        s.launch(layout=layout)
        s.keys("1", "7", "percent", "5", "equal")
        s.wait_display("2,")


def test_decimal_symbol_follows_settings(s):
    """The point keys type the locale's comma; a changed setting takes effect on the
    settings broadcast, which also resets and shows the registers."""
    try:
        s.launch(layout=1)
        s.keys("1", "comma", "5")
        s.wait_display("1,5")
        s.keys("plus", "2", "period", "5", "equal")
        s.wait_display("4,")
        s.keys("Escape")
        s.wait_display("0,")  # the value stays 0: only the symbol differs after the change
        s.profile_write("intl", "sDecimal", ".")
        s.probe("settings", "intl")
        s.wait_display("0.")
        s.keys("2", "comma", "2", "5")
        s.wait_display("2.25")
    finally:
        s.profile_write("intl", "sDecimal", ",")
    s.probe("settings", "-")
    s.wait_display("0,")


def test_radix_keys_with_byte_word(s):
    """In the scientific layout: F5 hex, F4 Byte, F8 binary, F6 decimal; digit keys follow
    the radix, and their enable/disable notifications type nothing."""
    s.launch(layout=0)
    s.keys("F5", "F4", "f", "f")
    s.wait_display("FF")
    s.keys("plus", "2", "equal")
    s.wait_display("1")  # 255 + 2 in a Byte word
    s.keys("Escape")
    s.wait_display("0")
    s.keys("f", "e")
    s.wait_display("FE")
    s.keys("F8")
    s.wait_display("11111110")
    state = s.state()
    check(not enabled(state, 126) and enabled(state, 125),
          "in binary the key 2 must be disabled and 1 enabled")
    s.keys("F5")
    s.wait_display("FE")
    check(enabled(s.state(), 126), "in hex the key 2 must be enabled again")
    s.keys("F6")
    s.wait_display("254,")
    s.probe("command", 125, 2)  # a control's enable notification is not a click
    s.probe("command", 126, 3)
    time.sleep(0.3)
    check(s.display() == "254,", "a notification typed a digit: %r" % s.display())
    s.keys("F8")
    s.wait_display("11111110")
    s.keys("2")  # not a binary digit: refused
    time.sleep(0.3)
    check(s.display() == "11111110", "a refused digit changed the display: %r" % s.display())


def test_layout_switch_by_menu_keeps_place(s):
    """The Вид menu's items switch the layout, save it in the profile and keep the window's
    place."""
    s.launch(layout=1)
    s.probe("move", 120, 90)
    poll("the window at 120,90", lambda: rect(s.state()["rect"])[:2] == [120, 90])
    s.keys("F10", "Right", "Down", "Down", "Return")  # Вид > Инженерный
    poll("layout 0 in the profile", lambda: s.profile_read("SciVemo", "layout") == "0")
    state = poll("the new window", lambda: s.visible_state())
    check(rect(state["rect"])[:2] == [120, 90], "window moved to %s" % state["rect"])
    check(state["display"] == "0,", "display after the switch %r" % state["display"])
    s.activate(state)
    s.keys("1", "7", "percent", "5", "equal")
    s.wait_display("2,")
    s.keys("F10", "Right", "Down", "Return")  # Вид > Обычный
    poll("layout 1 in the profile", lambda: s.profile_read("SciVemo", "layout") == "1")
    state = poll("the new window", lambda: s.visible_state())
    check(rect(state["rect"])[:2] == [120, 90], "window moved to %s" % state["rect"])
    s.activate(state)
    s.keys("5", "0", "plus", "1", "0", "percent")
    s.wait_display("5,")


def test_precision_option_widens_display(s):
    """/P40 in the scientific layout gives the display equal margins; not in the standard."""
    state = s.launch("/P40", layout=0)
    display, client = rect(state["control.403"]), rect(state["client"])
    check(display[0] - client[0] == client[2] - display[2],
          "margins %d and %d" % (display[0] - client[0], client[2] - display[2]))
    standard = s.launch("/P40", layout=1)
    check(rect(standard["control.403"])[0] > rect(standard["client"])[0] + 3,
          "the standard layout's display moved")
    check(rect(standard["control.403"])[0] - rect(standard["client"])[0]
          < display[0] - client[0], "the display was not widened")


# Long display texts at /P64: (name, keys typed, the same keys for vemo-console, layouts).
# The name is part of the screenshot's name, display-LAYOUT-NAME.png.
DISPLAY_TEXTS = [
    ("10div3", ["1", "0", "slash", "3", "equal"], "10/3=", (0, 1)),
    ("minus-third", ["Escape", "1", "slash", "3", "equal", "F9"], "1/3=[sign]", (0, 1)),
    ("exponent", ["Escape", "1", "x", "1", "2", "3", "4", "F9", "slash", "3", "equal", "F9"],
     "1x1234[sign]/3=[sign]", (0, 1)),
    ("binary-word", ["Escape", "F8", "0", "minus", "1", "equal"], "[bin]0-1=", (0,)),
    ("fe", ["Escape", "F6", "1", "slash", "3", "equal", "v"], "1/3=V", (0, 1)),
]


def check_display_fits(s, name, expected):
    """Reads the display as drawn (vemo-probe display-fit) and checks that its whole text
    fits the client rectangle: every line's extent, measured in the font the display draws
    with, within the width less one pixel, the lines within the height; on the screenshot
    (kept as display-NAME.png) the ink begins clear of the left edge, where the widest line
    begins. Returns the probe's answer with "lines" as (text, width) pairs."""
    fit = s.probe("display-fit")
    left, top, right, bottom = rect(fit["client"])
    state = s.state()
    window = rect(state["rect"])
    picture = s.screenshot("display-%s.png" % name, state["rect"])
    crop = picture.crop((left - window[0], top - window[1], right - window[0], bottom - window[1]))
    gray = crop.convert("L")
    w, h = gray.size
    px = gray.load()
    columns = [x for x in range(w) if any(px[x, y] < 110 for y in range(h))]
    check(columns and columns[0] >= 1, "%s: the text is cut at the display's left edge" % name)
    lines = [(t, int(cx)) for t, cx, _ in (v.rsplit("|", 2) for k, v in fit["_lines"] if k == "line")]
    fit["lines"] = lines
    check(fit["text"] == expected, "%s: display %r, expected %r" % (name, fit["text"], expected))
    check(lines and expected.startswith(lines[0][0]) and expected.endswith(lines[-1][0])
          and sum(len(t) for t, _ in lines) >= len(expected) - 1 and len(lines) <= 2,
          "%s: lines %r of %r" % (name, lines, expected))
    tm_height, leading = (int(v) for v in fit["tm"].split(","))
    widest = max(cx for _, cx in lines)
    check(widest <= right - left - 1, "%s: a line of %d px in a display of %d px: %r"
          % (name, widest, right - left, lines))
    check(len(lines) * (tm_height - leading) <= bottom - top, "%s: %d lines of %d px in %d px"
          % (name, len(lines), tm_height - leading, bottom - top))
    check(abs(columns[0] - (w - widest)) <= 3,
          "%s: ink from column %s of %d, the widest line (%d px) begins at %d"
          % (name, columns[0] if columns else None, w, widest, w - widest))
    return fit


def normal_display_font(s):
    """The dialog font's height at the window's DPI, as the dialog manager makes it."""
    return -((8 * int(s.probe("dpi")["dpi"]) + 36) // 72)


def test_display_shows_whole_text(s):
    """At /P64 long results (a sign, 64 digits, an exponent, a 32-bit binary word) show
    whole in both layouts: the first characters drawn, the text inside the display, in a
    smaller font or on two lines; the standard layout's display also after WM_DPICHANGED to
    144 and 192 dpi. A short text keeps the dialog's font; /P40 in the standard layout takes
    one line in a smaller font."""
    for layout, layout_name in ((1, "standard"), (0, "scientific")):
        s.launch("/P64", layout=layout)
        s.keys("5")
        s.wait_display("5,")
        normal = normal_display_font(s)
        short = check_display_fits(s, "%s-short" % layout_name, "5,")
        check(int(short["font"]) == normal and short["break"] == "0",
              "%s: 5, drawn at %s, break %s; the dialog font is %d"
              % (layout_name, short["font"], short["break"], normal))
        s.keys("Escape")
        for name, keys, console_keys, layouts in DISPLAY_TEXTS:
            if layout not in layouts:
                continue
            expected = console_display(console_keys, "/P64", "--layout=" + layout_name)
            s.keys(*keys)
            s.wait_display(expected)
            fit = check_display_fits(s, "%s-%s" % (layout_name, name), expected)
            check(abs(int(fit["font"])) >= 0.6 * abs(normal), "%s %s: font %s, normal %d"
                  % (layout_name, name, fit["font"], normal))
    # The standard layout while 64 digits, the sign and an exponent are typed (every length
    # a result at /P1 to /P64 can take), then at other DPIs.
    s.launch("/P64", layout=1, desktop_size="800x600")
    s.probe("move", 0, 0)
    digits = "9876543210" * 7
    for count in range(4, 65, 4):
        s.keys(*digits[count - 4:count])
        s.wait_display(digits[:count] + ",")
        fit = check_display_fits(s, "standard-typing", digits[:count] + ",")
        check(count > 20 or (int(fit["font"]) == normal and fit["break"] == "0"),
              "%d digits: font %s, break %s" % (count, fit["font"], fit["break"]))
        check(abs(int(fit["font"])) >= 0.6 * abs(normal), "%d digits: font %s" % (count, fit["font"]))
    s.keys("F9", "x", "1", "2", "3", "4", "F9")
    expected = "-" + digits[:64] + ",e-1234"
    s.wait_display(expected)
    first = rect(s.state()["client"])
    for dpi in (192, 144):
        s.probe("dpi-changed", dpi)
        poll("the window at %d dpi" % dpi, lambda: abs((rect(s.state()["client"])[2] - rect(s.state()["client"])[0])
                                                       - (first[2] - first[0]) * dpi / 96) <= 3)
        check_display_fits(s, "standard-%ddpi" % dpi, expected)
    s.probe("dpi-changed", 96)
    # /P40 in the standard layout: one line, smaller than the dialog's font.
    s.launch("/P40", layout=1)
    expected = console_display("10/3=", "/P40")
    s.keys("1", "0", "slash", "3", "equal")
    s.wait_display(expected)
    fit = check_display_fits(s, "standard-P40", expected)
    check(fit["break"] == "0" and 0.9 * abs(normal) <= abs(int(fit["font"])) < abs(normal),
          "/P40: font %s, break %s, normal %d" % (fit["font"], fit["break"], normal))


def test_closing_ends_the_process(s):
    """Alt+F4 ends the program, and so does a WM_CLOSE from elsewhere."""
    s.launch(layout=1)
    check(s.vemo_pids(), "no vemo.exe process found")
    s.keys("alt+F4")
    poll("vemo.exe to end after Alt+F4", lambda: not s.vemo_pids(), timeout=20)
    s.launch(layout=1)
    s.probe("close")
    poll("vemo.exe to end after WM_CLOSE", lambda: not s.vemo_pids(), timeout=20)


# The guard's first question comes after 1 s instead of 10 s in these tests.
GUARD_ENV = {"VEMO_TEST_GUARD_FIRST_TIMEOUT_MS": "1000"}
# The help viewer needs the HTML control (without its engine it shows the contents only).
HELP_ENV = {"WINEDLLOVERRIDES": "mscoree="}
# The guard's normal first time-out.
GUARD_NORMAL_TIMEOUT = 10.0


def dark_pixels(picture, box):
    """Number of near-black pixels in a region of a screenshot."""
    return sum(1 for p in picture.crop(box).getdata() if max(p) < 60)


def test_copy_and_paste(s):
    """Copy gives the display's number with the locale's comma and without a whole number's
    trailing symbol; paste replays text as keys (exponent, blanks, ':' keys, a leading
    minus, a stop at '$'); the paste item is grey without text on the clipboard; a busy
    clipboard gives the message."""
    s.launch(layout=1)
    s.keys("7", "slash", "2", "equal")
    s.wait_display("3,5")
    s.keys("ctrl+c")
    poll("3,5 on the clipboard", lambda: s.clipboard() == "3,5")
    s.keys("Escape", "2", "asterisk", "2", "equal")
    s.wait_display("4,")
    s.keys("ctrl+Insert")
    poll("4 on the clipboard", lambda: s.clipboard() == "4")

    for text, display, memory in (
            ("1.5e-3", "1,5e-3", ""),
            ("1 2\r\n3", "12,", ""),   # the line break ends it
            (":m", "12,", " M"),     # MS
            ("-5+3=", "-2,", " M"),  # the leading minus belongs to the 5
            ("12$3", "12,", " M"),   # the paste ends at a character without a key
            (":c", "12,", "")):      # MC
        s.set_clipboard(text)
        s.keys("ctrl+v")
        s.wait_display(display)
        poll("memory indicator %r after pasting %r" % (memory, text),
             lambda: s.state()["memory"] == memory)

    # The Правка menu's second item, Вставить, is drawn in black only while the clipboard
    # holds text.
    for text in ("-", "7"):
        s.set_clipboard(text)
        s.keys("F10", "Down")
        menu = poll("the Правка menu",
                    lambda: [w for w in s.top_windows() if w[0] == "#32768" and w[2]])
        left, top, right, bottom = rect(menu[0][3])
        picture = s.screenshot("edit-menu-%s.png" % ("empty" if text == "-" else "text"))
        s.keys("Escape", "Escape")
        dark = dark_pixels(picture, (left + 3, (top + bottom) // 2 + 1, right - 3, bottom - 3))
        check((dark > 0) == (text != "-"),
              "Вставить %s with %s on the clipboard" % ("enabled" if dark else "grey",
                                                        "nothing" if text == "-" else "text"))

    # Another program holds the clipboard: the paste shows the message and does nothing.
    holder = subprocess.Popen(["wine", s.probe_exe, "-", "-", "clipboard-hold", "8000"],
                              env=s.env, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    try:
        check(holder.stdout.readline().strip() == b"held=1", "the probe could not hold the clipboard")
        s.keys("ctrl+v")
        box = poll("the clipboard message", lambda: [
            d for d in s.dialogs()
            if any(c[1] == "Не удается открыть буфер обмена." for c in d["controls"].values())])
        check(box[0]["title"] == "Вемомер", "message box titled %r" % box[0]["title"])
        s.keys("Return")
        poll("the message box to close", lambda: not s.dialogs())
    finally:
        holder.kill()
        holder.wait()
    s.wait_display("12,")


def factorial_shown(text, n):
    """Whether the display text is n! in scientific notation: its exponent, and its leading
    digits to the six that lgamma gives."""
    if "e+" not in text:
        return False
    mantissa, exponent = text.split("e+")
    log10 = math.lgamma(n + 1) / math.log(10)
    expected = 10 ** (log10 - math.floor(log10))
    return (int(exponent) == math.floor(log10)
            and abs(float(mantissa.replace(",", ".")) - expected) < 1e-5 * expected)


def timed_factorial(s, n):
    """Types n! and waits for its result. The guard may ask only once its normal time-out
    has passed since the key (then "&Продолжить" is answered, as on a slow machine); a
    question seen earlier, less a second for the typing, fails. Returns the seconds taken."""
    s.keys("Escape", *str(n), "exclam")
    start = time.monotonic()
    asked = []

    def finished():
        guard = s.guard_dialog()
        if guard:
            asked.append(time.monotonic() - start)
            s.click(guard["controls"][4][2])
        return factorial_shown(s.probe("text", 403)["text"], n)

    poll("%d!" % n, finished, timeout=900)
    elapsed = time.monotonic() - start
    check(not asked or asked[0] >= GUARD_NORMAL_TIMEOUT - 1,
          "the guard asked %.1f s after %d!, before its normal time-out" % (asked[0] if asked else 0, n))
    return elapsed


def test_long_computation_guard(s):
    """A computation of a few seconds asks nothing before the normal time-out. With the first
    time-out shortened: the About box may stay open without a question; a computation past
    the time-out shows dialog 104 under the display, which closes by itself when it ends;
    "&Продолжить" asks again after twice the time; "&Остановить" ends a computation, and a
    whole paste, with "Действие прервано.". The factorials are sized by measuring them on
    this machine: n doubles until n! takes 1.5 s."""
    s.launch(layout=1)
    n = 100000
    while timed_factorial(s, n) < 1.5 and n < 6400000:
        n *= 2
    few_seconds = 2 * n  # at least twice the time: 3 s and more
    timed_factorial(s, few_seconds)

    state = s.launch(layout=1, env=GUARD_ENV)
    window, display = rect(state["rect"]), rect(state["control.403"])

    def about_box():
        return [d for d in s.dialogs() if "Вемомер" in d.get("title", "") and 4 not in d["controls"]]

    s.keys("ctrl+shift+k")
    poll("the About box", about_box)
    time.sleep(2.5)  # more than the first time-out: no question may come
    check(s.guard_dialog() is None, "the guard asked while the About box was open")
    s.keys("Escape")
    poll("the About box to close", lambda: not about_box())

    # A computation that ends while the question is open closes it.
    s.keys(*str(few_seconds), "exclam")
    guard = poll("the guard's dialog", s.guard_dialog, timeout=20)
    left, top = rect(guard["rect"])[:2]
    check((left, top) == (window[0] + 15, display[3] + 40),
          "dialog at %d,%d; expected %d,%d" % (left, top, window[0] + 15, display[3] + 40))
    check(guard["controls"][4][1] == "&Продолжить" and guard["controls"][2][1] == "&Остановить",
          "buttons %r" % guard["controls"])
    s.screenshot("guard-dialog.png", guard["rect"])
    poll("the dialog to close when the computation ends", lambda: s.guard_dialog() is None,
         timeout=600)
    poll("%d!" % few_seconds, lambda: factorial_shown(s.display(), few_seconds), timeout=30)

    # "&Продолжить" asks again after twice the time; "&Остановить" ends the computation
    # (8 times the one of 1.5 s: more than 10 s), and input stays locked until Esc.
    s.keys("Escape", *str(8 * n), "exclam")
    guard = poll("the guard's dialog", s.guard_dialog, timeout=20)
    s.click(guard["controls"][4][2])
    poll("the dialog to close", lambda: s.guard_dialog() is None)
    answered = time.monotonic()
    guard = poll("the second question", s.guard_dialog, timeout=20)
    waited = time.monotonic() - answered
    check(1.6 < waited < 6, "the second question came %.1f s after the first" % waited)
    s.click(guard["controls"][2][2])
    s.wait_display("Действие прервано.", timeout=30)
    check(s.guard_dialog() is None, "the dialog stayed open after the stop")
    s.keys("5")
    time.sleep(0.3)
    check(s.display() == "Действие прервано.", "a key acted while locked: %r" % s.display())
    s.keys("Escape")
    s.wait_display("0,")

    # A paste is one command: a stop, here by Esc, ends it whole (the rest, twenty
    # factorials of some seconds each, would take a minute).
    s.set_clipboard(("%d!+" % few_seconds) * 20)
    s.keys("ctrl+v")
    poll("the guard's dialog during the paste", s.guard_dialog, timeout=20)
    s.keys("Escape")
    s.wait_display("Действие прервано.", timeout=10)
    s.keys("Escape", "4")
    s.wait_display("4,")


def test_paste_unicode_lines_and_speed(s):
    """Paste of Unicode text: the no-break, narrow no-break and thin spaces that group digits
    are skipped (the thin space is not in code page 1251: it arrives only as Unicode text),
    the minus sign is '-'; with the statistics box closed a line break or tab ends the paste
    after the first line; with the box open each line is one value, and a line's '\\' is not
    added twice; a megabyte of keys takes seconds."""
    s.launch(layout=0)
    s.probe("move", 360, 0)  # beside the statistics box, which the system places at the top left
    s.activate(poll("the window at 360,0",
                    lambda: (lambda st: st if rect(st["rect"])[:2] == [360, 0] else None)(s.state())))
    for text, display in (
            ("1\u00a0234\u202f567\u2009000,89", "1234567000,89"),
            ("\u22125+3=", "-2,"),
            ("100\r\n200\r\n300", "100,"),
            ("100\n200", "100,"),
            ("7\t8", "7,"),
            ("42\r\n", "42,")):
        s.keys("Escape")
        s.wait_display("0,")
        s.set_clipboard_unicode(text)
        s.keys("ctrl+v")
        s.wait_display(display)

    s.keys("Escape")
    s.wait_display("0,")
    s.set_clipboard_unicode("1+" * (1 << 19) + "=")
    started = time.monotonic()
    s.keys("ctrl+v")
    s.wait_display("1048576,", timeout=30)
    print("     a megabyte pasted in %.1f s" % (time.monotonic() - started), flush=True)

    s.keys("ctrl+s")
    poll("the statistics box", lambda: s.dialog("Статистика"))
    s.keys("Return")  # RET gives the main window the keyboard back
    poll("the main window in the foreground", lambda: s.state()["foreground"] == "1")
    s.set_clipboard_unicode("100\r\n\u2212200\r\n\r\n3\u00a0000\n4\\\r5\t6\r\n")
    s.keys("ctrl+v")
    values = ["100,", "-200,", "3000,", "4,", "5,", "6,"]
    found = poll("six values", lambda: (lambda d: d if d and d["count"] == 6 else None)(
        s.dialog("Статистика")))
    check(found["items"] == values, "items %r, expected %r" % (found["items"], values))
    s.keys("ctrl+t")
    s.wait_display("2915,")


def test_statistics_box(s):
    """Sta opens the box; Dat adds the display's text and value; CD, Ave, Sum, s, LOAD and a
    double click; hidden while minimised; closed and reopened empty; closed by leaving the
    scientific layout."""
    s.launch(layout=0)
    s.probe("move", 360, 0)  # beside the box, which the system places at the top left
    s.activate(poll("the window at 360,0",
                    lambda: (lambda st: st if rect(st["rect"])[:2] == [360, 0] else None)(s.state())))
    s.keys("1", "Insert")  # Dat while the box is closed: only a beep
    s.wait_display("1,")

    def box(count=None):
        found = s.dialog("Статистика")
        return found if found and (count is None or found["count"] == count) else None

    check(box() is None, "a statistics box without Sta")
    s.keys("ctrl+s")
    found = poll("the statistics box", box)
    check(found["controls"][408][1] == "0" and found["controls"][409][1] == "n=",
          "count %r" % (found["controls"][408],))
    s.keys("Return")  # RET gives the main window the keyboard back
    poll("the main window in the foreground", lambda: s.state()["foreground"] == "1")
    for digit in "123":
        s.keys(digit, "Insert")
    found = poll("three values", lambda: box(3))
    check(found["items"] == ["1,", "2,", "3,"] and found["selection"] == 2
          and found["controls"][408][1] == "3",
          "items %r, selection %d, n=%s" % (found["items"], found["selection"], found["controls"][408][1]))

    s.click(found["item_rects"][1])
    s.click(found["controls"][404][2])  # CD on the middle value
    found = poll("two values", lambda: box(2))
    check(found["items"] == ["1,", "3,"] and found["selection"] == 1
          and found["controls"][408][1] == "2",
          "after CD: items %r, selection %d" % (found["items"], found["selection"]))
    s.activate(s.state())
    s.keys("ctrl+a")
    s.wait_display("2,")
    s.keys("ctrl+t")
    s.wait_display("4,")
    s.keys("ctrl+d")
    poll("s = sqrt(2)", lambda: s.display().startswith("1,41421356237309504880168872"))

    s.click(found["item_rects"][0])
    s.click(found["controls"][410][2])  # LOAD
    s.wait_display("1,")
    s.click(found["item_rects"][1], repeat=2)
    s.wait_display("3,")
    s.screenshot("statistics-box.png", found["rect"])
    s.activate(s.state())
    s.keys("5")  # the loaded value is finished: the digit starts a new number
    s.wait_display("5,")

    s.probe("show", "minimize")
    poll("the box hidden with the main window", lambda: box() is None)
    s.probe("show", "restore")
    poll("the box shown again", box)

    left, top = rect(found["rect"])[:2]
    s.xdotool("mousemove", str(left + 40), str(top + 10), "click", "1")
    s.keys("alt+F4")
    poll("the box closed", lambda: box() is None)
    s.activate(s.state())
    s.keys("ctrl+s")
    found = poll("the reopened box", box)
    check(found["count"] == 0 and found["controls"][408][1] == "0", "the box did not start empty")
    s.activate(s.state())
    s.keys("F10", "Right", "Down", "Return")  # Вид > Обычный
    poll("the box closed by the layout switch", lambda: box() is None)


def help_panes(s):
    """The help viewer's panes: [(class, visible, count, rectangle text)]."""
    panes = []
    for key, value in s.probe("help-viewer")["_lines"]:
        if key.startswith("viewer."):
            visible, count, r = value.split("|", 2)
            panes.append((key[len("viewer."):], visible == "visible", int(count), r))
    return panes


def visible_pane(s, name, minimum_count=-1):
    """The first visible pane of this class with at least that many items, or None."""
    for pane in help_panes(s):
        if pane[0] == name and pane[1] and pane[2] >= minimum_count and rect(pane[3])[2] > rect(pane[3])[0]:
            return pane
    return None


def check_help_tabs(s):
    """The viewer shows three tabs: Contents (the 8 pages), Index (every keyword) and
    Search, which finds the pages that hold a word."""
    tabs = poll("the viewer's tabs", lambda: visible_pane(s, "SysTabControl32"))
    check(tabs[2] == 3, "the viewer has %d tabs, not Contents, Index and Search" % tabs[2])
    poll("the contents", lambda: visible_pane(s, "SysTreeView32", 8))
    left, top, _, _ = rect(tabs[3])
    s.xdotool("mousemove", str(left + 25), str(top + 10), "click", "1")
    s.keys("Right")
    poll("the index with its 16 keywords", lambda: visible_pane(s, "SysListView32", 16))
    s.screenshot("help-index.png")
    s.keys("Right")
    edit = poll("the search field", lambda: visible_pane(s, "Edit"))
    s.click(edit[3])
    s.xdotool("type", "--delay", "60", "Backspace")
    s.keys("Return")
    poll("pages found by the search", lambda: visible_pane(s, "SysListView32", 1))
    s.screenshot("help-search.png")


def test_help_file(s):
    """F1 and Справка > Вызов справки open vemo.chm, which lies beside the program;
    without it both do nothing."""
    check(os.path.isfile(os.path.join(s.build_dir, "vemo.chm")), "no vemo.chm beside vemo.exe")

    def viewers():
        return [w for w in s.top_windows() if w[0] == "HH Parent" and w[2]]

    for keys in (["F1"], ["F10", "Right", "Right", "Down", "Return"]):
        s.launch(layout=1, env=HELP_ENV)
        s.keys(*keys)
        viewer = poll("the help viewer after %s" % " ".join(keys), viewers, timeout=30)
        check(viewer[0][1] == "Справка Вемомера", "help window %r" % viewer[0][1])
    check_help_tabs(s)

    alone = os.path.join(s.temp, "alone")
    os.makedirs(alone, exist_ok=True)
    shutil.copy(s.vemo, alone)
    s.launch(layout=1, env=HELP_ENV, program=os.path.join(alone, "vemo.exe"))
    s.keys("F1")
    s.keys("F10", "Right", "Right", "Down", "Return")
    time.sleep(3)  # time enough for a viewer to appear
    check(not viewers(), "a help viewer without a help file")
    s.activate(s.state())
    s.keys("2", "plus", "3", "equal")
    s.wait_display("5,")


# --- the engineering keypad (scientific layout) ---------------------------------------------

HEX_DIGITS = list(range(134, 140))  # A-F
DIGITS_2_TO_9 = list(range(126, 134))

# Click scripts on the scientific layout's keys, one row each: a name, the steps and the
# display at the end. A step is a control id to click, or a check between clicks:
# ("parens", text) the parenthesis indicator; ("checked", id) / ("unchecked", id) a radio
# button or check box; ("label", id, text) a button's text; ("enabled", ids) /
# ("disabled", ids) keys. Every script starts in radix 10, degrees, a 32-bit word, cleared;
# the same clicks through vemo-console must end on the same display.
KEYPAD_SCRIPTS = [
    ("2 x^y 10 =", [126, 95, 125, 124, 112], "1024,"),
    ("30 sin in degrees", [("checked", 146), 127, 124, 98], "0,5"),
    ("60 cos", [130, 124, 99], "0,5"),
    ("45 tan", [128, 129, 100], "1,"),
    ("Inv sin of 0,5", [124, 85, 129, 144, ("checked", 144), 98, ("unchecked", 144)], "30,"),
    ("Hyp cos of 1", [125, 145, ("checked", 145), 99, ("unchecked", 145)],
     "1,54308063481524377847790562075706"),
    ("radians, pi sin", [147, ("checked", 147), ("unchecked", 146), 111, 98], "0,"),
    ("( ( 2 + 3 ) × 4 ) =", [122, ("parens", "(=1"), 122, ("parens", "(=2"), 126, 92, 127, 123,
                             ("parens", "(=1"), 91, 128, 123, ("parens", ""), 112], "20,"),
    ("hex A-F, then binary", [("disabled", HEX_DIGITS), 143, ("checked", 143),
                              ("label", 146, "Dword"), ("label", 148, "Byte"),
                              ("enabled", HEX_DIGITS + DIGITS_2_TO_9)] + HEX_DIGITS
     + [140, ("checked", 140), ("disabled", DIGITS_2_TO_9 + HEX_DIGITS), ("enabled", [124, 125])],
     "101010111100110111101111"),
    ("Byte word: FF + 1 =", [143, 148, ("checked", 148), 139, 139, 92, 125, 112], "0"),
    ("5 n!", [129, 106], "120,"),
    ("1,5 dms", [125, 85, 129, 108], "1,3"),
    ("123 F-E", [125, 126, 127, 110], "1,23e+2"),
    ("1 Exp 3 + 1 =", [125, 117, 127, 92, 125, 112], "1001,"),
    ("2,6 Int", [126, 85, 130, 96], "2,"),
    ("16 Mod 5 =", [125, 130, 94, 129, 112], "1,"),
    ("12 And 10 =", [125, 126, 86, 125, 124, 112], "8,"),
    ("12 Or 3 =", [125, 126, 87, 127, 112], "15,"),
    ("12 Xor 10 =", [125, 126, 88, 125, 124, 112], "6,"),
    ("1 Lsh 4 =", [125, 89, 128, 112], "16,"),
    ("0 Not", [124, 97], "-1,"),
    ("3 x^2, 2 x^3", [127, 104, 81, 126, 105], "8,"),
    ("100 log", [125, 124, 124, 102], "2,"),
    ("2 ln, Inv ln", [126, 101, 144, 101], "2,"),
    ("Inv pi", [144, 111], "6,28318530717958647692528676655901"),
    ("MS, MR, M+, MC", [129, 115, 81, 114, 116, 114, 113], "10,"),
]

# Back to radix 10, degrees, a 32-bit word and a cleared calculator.
KEYPAD_RESET = [81, 143, 146, 142, 146, 81]


def console_display(keys, *options):
    """The display that vemo-console shows after the keys ("[id]" clicks), with the comma
    of the Wine locale; the native build lies beside build-win as build/."""
    root = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
    console = os.environ.get("VEMO_CONSOLE") or os.path.join(root, "build", "console",
                                                             "vemo-console")
    check(os.path.isfile(console), "missing %s: build the native target first" % console)
    result = subprocess.run([console, "--decimal=,", "--status"] + list(options) + [keys],
                            capture_output=True, timeout=60)
    check(result.returncode == 0, "vemo-console %s: %s" % (keys, result.stderr))
    return result.stdout.decode("utf-8").splitlines()[-1].split("\t")[0]


class Keypad:
    """Clicks on the main window's keys by the rectangles of one state read; checks between
    clicks poll the window until they hold."""

    def __init__(self, session):
        self.s = session
        self.state = session.state()

    def click(self, control_id, repeat=1):
        self.s.click(self.state["control.%d" % control_id], repeat)

    def step(self, step, what):
        if isinstance(step, int):
            self.click(step)
            return
        kind = step[0]

        def holds():
            state = self.s.state()
            if kind == "parens":
                return state["parens"] == step[1]
            if kind in ("checked", "unchecked"):
                return state["button.%d" % step[1]].startswith("1|" if kind == "checked" else "0|")
            if kind == "label":
                # Read from outside, a key's text is its accessible name: "label — ...".
                return state["button.%d" % step[1]].split("|", 1)[1].split(" \u2014 ")[0] == step[2]
            return all(enabled(state, i) == (kind == "enabled") for i in step[1])

        poll("%s: %r" % (what, step), holds, timeout=10)


def test_keypad_click_scripts(s):
    """The table of click scripts on the scientific keypad, each against the display and
    against vemo-console."""
    s.launch(layout=0)
    pad = Keypad(s)
    for name, steps, expected in KEYPAD_SCRIPTS:
        for control_id in KEYPAD_RESET:
            pad.click(control_id)
        s.wait_display("0,")
        for step in steps:
            pad.step(step, name)
        try:
            s.wait_display(expected)
        except Failure as e:
            raise Failure("%s: %s" % (name, e))
        clicks = "".join("[%d]" % step for step in steps if isinstance(step, int))
        console = console_display(clicks, "--layout=scientific")
        check(console == expected, "%s: vemo-console shows %r" % (name, console))


def test_keypad_statistics_keys(s):
    """Ave, Sum, s and Dat are grey until Sta opens the box; then Dat ×3 and Ave by clicks."""
    s.launch(layout=0)
    s.probe("move", 163, 165)  # below and right of the box, which opens at the top left
    pad = Keypad(poll_window_at(s, 163, 165))
    statistics = [118, 119, 120, 121]
    pad.step(("disabled", statistics), "before Sta")
    pad.click(84)
    box = poll("the statistics box", lambda: s.dialog("Статистика"))
    pad.step(("enabled", statistics), "after Sta")
    steps = [125, 121, 126, 121, 127, 121, 118]
    left, top, right, bottom = rect(box["rect"])
    for control_id in steps:
        l, t, r, b = rect(pad.state["control.%d" % control_id])
        check(r <= left or l >= right or b <= top or t >= bottom,
              "the statistics box covers the key %d" % control_id)
        pad.click(control_id)
    s.wait_display("2,")
    poll("three values in the box", lambda: (s.dialog("Статистика") or {}).get("count") == 3)
    check(console_display("[84]" + "".join("[%d]" % i for i in steps), "--layout=scientific")
          == "2,", "vemo-console differs")


def poll_window_at(s, left, top):
    """The session once the main window's top-left corner is at left, top."""
    poll("the window at %d,%d" % (left, top),
         lambda: rect(s.state()["rect"])[:2] == [left, top])
    return s


def test_keypad_double_click_and_focus(s):
    """A double click on an owner-drawn key presses it twice, and on a radio button selects
    it again; a clicked button gives the keyboard focus back to the window, so that a space
    does not press it again and the shortcuts keep working."""
    s.launch(layout=0)
    pad = Keypad(s)
    pad.click(143)  # Hex
    pad.click(134, repeat=2)
    s.wait_display("AA")
    pad.click(97, repeat=2)  # Not twice: back to AA
    s.wait_display("AA")
    pad.click(142, repeat=2)  # Dec, twice
    s.wait_display("170,")
    for control_id in (96, 142, 144):  # an owner-drawn key (Int), a radio button, a check box
        pad.click(control_id)
        poll("the focus back on the window after clicking %d" % control_id,
             lambda: s.state()["focus"] == "main")
    pad.step(("checked", 144), "Inv")
    s.keys("space", "2", "5")
    s.wait_display("25,")
    pad.click(104)  # x^2 with Inv: the square root
    s.wait_display("5,")
    pad.step(("unchecked", 144), "Inv used")
    s.keys("plus", "1", "equal")
    s.wait_display("6,")


def test_keypad_tooltips(s):
    """Hovering a key shows its name, description and shortcuts, also on a grey key and in
    the standard layout."""

    def tip_over(control_id, expected):
        state = s.state()
        left, top, right, bottom = rect(state["control.%d" % control_id])
        s.xdotool("mousemove", "630", "470")
        x, y = (left + right) // 2, (top + bottom) // 2
        s.xdotool("mousemove", str(x), str(y))
        s.xdotool("mousemove", str(x + 1), str(y + 1))
        tips = []

        def shown():
            tips[:] = [v.rsplit("|", 1)[0] for k, v in s.probe("tooltips")["_lines"]
                       if k == "tooltip"]
            return expected in tips

        try:
            poll("the tip of %d" % control_id, shown, timeout=10)
        except Failure:
            raise Failure("tip over %d: %r, expected %r" % (control_id, tips, expected))

    s.launch(layout=0)
    tip_over(98, "sin — синус (S); с Inv — арксинус, с Hyp — гиперболический синус")
    tip_over(134, "A — шестнадцатеричная цифра A (10) (A)")  # grey in radix 10
    tip_over(143, "Hex — шестнадцатеричная система счисления (F5)")
    tip_over(121, "Dat — добавляет число в окно статистики (Ins)")
    tip_over(83, "Backspace — стирает последнюю набранную цифру (← или Backspace)")
    s.screenshot("keypad-tooltip.png")
    s.launch(layout=1)
    tip_over(109, "% — процент от первого числа (%)")
    tip_over(113, "MC — очищает память (Ctrl+L)")


def test_keypad_screenshots_and_size(s):
    """Both layouts as artifacts; the scientific window fits a 1366 x 768 screen and the
    keys are drawn: the sin key's face is pale lilac with magenta ink."""
    from PIL import Image
    for layout, name in ((0, "keypad-scientific.png"), (1, "keypad-standard.png")):
        state = s.launch(layout=layout)
        s.xdotool("mousemove", "630", "470")
        time.sleep(0.5)
        picture = s.screenshot(name, state["rect"])
        left, top, right, bottom = rect(state["rect"])
        check(right - left <= 1366 and bottom - top <= 700,
              "window of %dx%d" % (right - left, bottom - top))
        if layout == 0:
            l, t, r, b = rect(state["control.98"])
            key = picture.crop((l - left + 5, t - top + 5, r - left - 5, b - top - 5))
            colours = set(key.getdata())
            check(any(p[0] > 200 and p[1] < 80 and p[2] > 200 for p in colours),
                  "no magenta label on the sin key")
            check(any(p[0] > 220 and p[2] > 230 and p[1] > 210 for p in colours),
                  "no pale face on the sin key")


# --- the program on today's desktops: manifest, scaling, context help, accessible names,
# installer ---------------------------------------------------------------------------------

def project_version(build_dir):
    """The version that CMake's project() gave the build."""
    with open(os.path.join(build_dir, "CMakeCache.txt")) as f:
        for line in f:
            if line.startswith("CMAKE_PROJECT_VERSION:"):
                return line.split("=", 1)[1].strip()
    raise Failure("no project version in %s" % build_dir)


def windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def test_manifest_and_version(s):
    """The manifest read back from vemo.exe's resources asks for per-monitor (v2) DPI
    awareness, common controls 6, Windows 7 to 11 and the user's rights; the running window
    is per-monitor aware, so the system read it. The version resource carries the product
    name and the project's version."""
    import xml.etree.ElementTree as ET
    text = s.probe("manifest", windows_path(s.vemo), desktop="-")["manifest"]
    root = ET.fromstring(text.replace("\\r", "").replace("\\n", "\n").encode("utf-8"))

    def all_named(tag):
        return [e for e in root.iter() if e.tag.rsplit("}", 1)[-1] == tag]

    awareness = [e.text.replace(" ", "").split(",") for e in all_named("dpiAwareness")]
    check(awareness and awareness[0][0] == "PerMonitorV2" and "PerMonitor" in awareness[0],
          "dpiAwareness %r" % awareness)
    check([e.text for e in all_named("dpiAware")] == ["true/pm"], "no system-aware fallback")
    controls = [e.attrib for e in all_named("assemblyIdentity")
                if e.get("name") == "Microsoft.Windows.Common-Controls"]
    check(controls and controls[0]["version"] == "6.0.0.0", "common controls %r" % controls)
    systems = {e.get("Id") for e in all_named("supportedOS")}
    check(systems == {"{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",    # 7
                      "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",    # 8
                      "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",    # 8.1
                      "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"},   # 10 and 11
          "supportedOS %r" % systems)
    check([e.get("level") for e in all_named("requestedExecutionLevel")] == ["asInvoker"],
          "execution level")

    version = project_version(s.build_dir)
    info = s.probe("version", windows_path(s.vemo), desktop="-")
    check(info.get("ProductName") == "Вемомер", "product name %r" % info.get("ProductName"))
    check(info.get("FileVersion") == version and info.get("ProductVersion") == version,
          "version texts %r, project %s" % (info, version))
    check(info["fileVersion"] == ".".join((version.split(".") + ["0"] * 4)[:4]),
          "fixed file version %s, project %s" % (info["fileVersion"], version))

    s.launch(layout=1)
    check(s.probe("dpi")["awareness"] == "2", "the window is not per-monitor DPI aware")


ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))


def command_rows():
    """id -> (label index or None, description) from commands/commands.def."""
    import re
    rows = {}
    pattern = re.compile(r'^COMMAND\((\d+), \w+, (\w+), \w+, \d+, "(?:[^"\\]|\\.)*", "[^"]*", "([^"]*)"')
    with open(os.path.join(ROOT, "commands", "commands.def"), encoding="utf-8") as f:
        for line in f:
            m = pattern.match(line)
            if m:
                rows[int(m.group(1))] = (None if m.group(2) == "NO_LABEL" else int(m.group(2)), m.group(3))
    check(len(rows) > 60, "commands.def: %d rows read" % len(rows))
    return rows


def labels():
    """The 80 texts of commands/labels.def."""
    import re
    with open(os.path.join(ROOT, "commands", "labels.def"), encoding="utf-8") as f:
        return {int(m.group(1)): m.group(2) for m in re.finditer(r'LABEL\((\d+), "([^"]*)"\)', f.read())}


def help_popups(s):
    return [w for w in s.top_windows() if w[0] == "VemoHelpPopup" and w[2]]


def whats_this(s, rectangle):
    """Right click in the rectangle, "Что это такое?" in the menu; returns the pop-up's text."""
    left, top, right, bottom = rect(rectangle)
    s.xdotool("mousemove", str((left + right) // 2), str((top + bottom) // 2), "click", "3")
    menu = poll("the Что это такое? menu",
                lambda: [w for w in s.top_windows() if w[0] == "#32768" and w[2]])
    s.click(menu[0][3])
    return poll("the help pop-up", lambda: help_popups(s))[0][1].replace("\\r\\n", "\n")


def test_context_help_popups(s):
    """Что это такое? on a key shows its description from the command table (and its keys),
    on the display a text of its own, in the statistics box each control's text; the next
    click or key closes the pop-up and does nothing else."""
    rows = command_rows()
    state = s.launch(layout=1)
    for key, close in ((112, "key"), (125, "click"), (116, "key"), (83, "click")):
        text = whats_this(s, state["control.%d" % key])
        description = rows[key][1]
        check(text.split("\n")[0] == description[0].upper() + description[1:] + ".",
              "pop-up of key %d: %r, description %r" % (key, text, description))
        if close == "key":
            s.keys("5")
        else:
            s.click_key(127)
        poll("the pop-up to close on a %s" % close, lambda: not help_popups(s), timeout=10)
        time.sleep(0.3)
        check(s.display() == "0,", "the closing %s acted: display %r" % (close, s.display()))
    check("Клавиатура: = или Enter" in whats_this(s, state["control.112"]), "= key's shortcuts")
    s.keys("Escape")
    poll("the pop-up to close", lambda: not help_popups(s), timeout=10)
    check(whats_this(s, state["control.403"]).startswith("Индикатор"), "display's pop-up")
    s.keys("Escape")
    poll("the pop-up to close", lambda: not help_popups(s), timeout=10)

    s.launch(layout=0)
    s.probe("move", 360, 0)
    s.activate(poll("the window at 360,0",
                    lambda: (lambda st: st if rect(st["rect"])[:2] == [360, 0] else None)(s.state())))
    s.keys("ctrl+s")
    box = poll("the statistics box", lambda: s.dialog("Статистика"))
    for control, expected in ((405, "Удаляет все числа из списка."),
                              (410, "Выводит выбранное в списке число на индикатор."),
                              (407, "Числа, добавленные клавишей Dat")):
        text = whats_this(s, box["controls"][control][2])
        check(text.startswith(expected), "box control %d: %r" % (control, text))
        s.keys("Escape")
        poll("the pop-up to close", lambda: not help_popups(s), timeout=10)
    check(s.dialog("Статистика") is not None, "the key that closed the pop-up closed the box")


def test_accessible_names(s):
    """Through oleacc, every command control of both layouts (keys, and the radio buttons
    and check boxes where a layout has them) is named with its label, its description from
    the command table and its keyboard shortcut; the display's name is its text."""
    rows, texts = command_rows(), labels()
    shortcuts = {112: "(= или Enter)", 116: "(Ctrl+P)", 83: "(Стрелка влево или Backspace)",
                 81: "(Esc)", 80: "(F9)", 125: "(1)", 109: "(%)", 140: "(F8)", 144: "(I)"}
    checked = set()
    for layout in (1, 0):
        state = s.launch(layout=layout)
        s.keys("1", "2")
        s.wait_display("12,")
        names = {int(k.split(".")[1]): v for k, v in s.probe("acc-names")["_lines"]
                 if k.startswith("acc.")}
        check(names.get(403) == "12,", "display's accessible name %r" % names.get(403))
        commands = [i for i in names if i in rows]
        check(len(commands) >= 27, "layout %d: %d command controls" % (layout, len(commands)))
        for i in commands:
            label, description = rows[i]
            name = names[i]
            check(description in name, "control %d: name %r without %r" % (i, name, description))
            # The point key is labelled with the locale's decimal symbol.
            shown = "," if i == 85 else texts[label].replace("&", "") if label is not None else None
            if shown and i not in (146, 147, 148):
                check(name.startswith(shown),
                      "control %d: name %r, label %r" % (i, name, texts[label]))
            # % sends percent only in the standard layout (in the scientific one it is Mod).
            keys = "" if (i, layout) == (109, 0) else shortcuts.get(i)
            if keys is not None:
                check(name.endswith(keys) if keys else not name.endswith(")"),
                      "layout %d, control %d: name %r, keys %r" % (layout, i, name, keys))
            checked.add(i)
    check({112, 116, 83, 81, 125, 109} <= checked, "keys checked: %s" % sorted(checked))


def ink_height(picture, box):
    """Height of the dark ink (text) inside a box of a screenshot."""
    crop = picture.crop(box).convert("L")
    w, h = crop.size
    px = crop.load()
    rows = [y for y in range(h) if any(px[x, y] < 100 for x in range(w))]
    return rows[-1] - rows[0] + 1 if rows else 0


def sharpness(picture, box):
    """(largest brightness step between neighbouring pixels, share of pixels equal to their
    right neighbour at the better of the two pair offsets): a stretched picture has a small
    step (smoothed) or pairs of equal pixels (doubled)."""
    crop = picture.crop(box).convert("L")
    w, h = crop.size
    px = crop.load()
    step = max(max(abs(px[x + 1, y] - px[x, y]) for x in range(w - 1) for y in range(h)),
               max(abs(px[x, y + 1] - px[x, y]) for x in range(w) for y in range(h - 1)))
    doubled = 0.0
    for offset in (0, 1):
        pairs = [(x, y) for y in range(h) for x in range(offset, w - 1, 2)]
        doubled = max(doubled, sum(px[x, y] == px[x + 1, y] for x, y in pairs) / len(pairs))
    return step, doubled


def test_scaling_at_192_dpi(s):
    """With the prefix at 192 dpi (LogPixels) the window, its font and its keys are twice
    their 96-dpi size in pixels, and the keys are drawn sharp, not stretched; both
    screenshots are kept (scale-96dpi.png, scale-192dpi.png)."""
    seen = {}
    try:
        for dpi in (96, 192):
            subprocess.run(["wine", "reg", "add", r"HKCU\Control Panel\Desktop", "/v", "LogPixels",
                            "/t", "REG_DWORD", "/d", str(dpi), "/f"],
                           env=s.env, check=True, capture_output=True, timeout=60)
            s.launch(layout=1, desktop_size="800x600")
            s.keys("8")
            s.wait_display("8,")
            state = s.state()
            picture = s.screenshot("scale-%ddpi.png" % dpi, state["rect"])
            window = rect(state["rect"])
            # The screenshot is the window: control rectangles relative to its corner.
            seen[dpi] = (state, picture,
                         lambda r, w=window: (r[0] - w[0], r[1] - w[1], r[2] - w[0], r[3] - w[1]))
    finally:
        subprocess.run(["wine", "reg", "add", r"HKCU\Control Panel\Desktop", "/v", "LogPixels",
                        "/t", "REG_DWORD", "/d", "96", "/f"], env=s.env, capture_output=True, timeout=60)
        s.close_program()

    def size(r):
        return r[2] - r[0], r[3] - r[1]

    def twice(what, small, large, tolerance=0.1):
        ratio = large / small
        check(abs(ratio - 2) <= 2 * tolerance, "%s: %d px at 96 dpi, %d px at 192 dpi" % (what, small, large))

    (s96, p96, at96), (s192, p192, at192) = seen[96], seen[192]
    for name in ("client", "control.403", "control.112", "control.83", "control.125"):
        for axis, label in ((0, "width"), (1, "height")):
            twice("%s %s" % (name, label), size(rect(s96[name]))[axis], size(rect(s192[name]))[axis])
    twice("display font", ink_height(p96, at96(rect(s96["control.403"]))),
          ink_height(p192, at192(rect(s192["control.403"]))), tolerance=0.2)
    for key in (112, 125, 83):
        step96, _ = sharpness(p96, at96(rect(s96["control.%d" % key])))
        step, doubled = sharpness(p192, at192(rect(s192["control.%d" % key])))
        check(step >= 0.8 * step96 and doubled < 0.9,
              "key %d at 192 dpi: step %d (96 dpi: %d), %.0f%% doubled pixels"
              % (key, step, step96, 100 * doubled))


def test_dpi_change_message(s):
    """WM_DPICHANGED (a move to a monitor of another DPI) scales the window, every control,
    the font and the key faces to the new DPI, sharp; back at 96 dpi the window has its
    first size again (screenshot dpi-changed-192.png)."""
    first = s.launch(layout=1, desktop_size="800x600")
    s.keys("8")
    s.wait_display("8,")
    s.probe("move", 0, 0)
    first = poll("the window at 0,0", lambda: (lambda st: st if rect(st["rect"])[:2] == [0, 0] else None)(s.state()))
    p96 = s.screenshot("dpi-changed-96.png", first["rect"])
    s.probe("dpi-changed", 192)
    state = poll("the window scaled", lambda: (lambda st: st if rect(st["client"])[2] - rect(st["client"])[0]
                                               > 1.5 * (rect(first["client"])[2] - rect(first["client"])[0])
                                               else None)(s.state()))
    p192 = s.screenshot("dpi-changed-192.png", state["rect"])

    def size(r):
        return r[2] - r[0], r[3] - r[1]

    def local(st, name):
        r, w = rect(st[name]), rect(st["rect"])
        return r[0] - w[0], r[1] - w[1], r[2] - w[0], r[3] - w[1]

    ids = [k for k in first if k.startswith("control.")]
    for name in ["client"] + ids:
        for axis in (0, 1):
            small, large = size(rect(first[name]))[axis], size(rect(state[name]))[axis]
            check(abs(large - 2 * small) <= 3, "%s: %d px, after the change %d px" % (name, small, large))
    check(abs(ink_height(p192, local(state, "control.403")) - 2 * ink_height(p96, local(first, "control.403"))) <= 3,
          "display font not doubled")
    for key in (112, 125):
        step96, _ = sharpness(p96, local(first, "control.%d" % key))
        step, doubled = sharpness(p192, local(state, "control.%d" % key))
        check(step >= 0.8 * step96 and doubled < 0.9,
              "key %d after the change: step %d (96 dpi: %d), %.0f%% doubled" % (key, step, step96, 100 * doubled))
    s.probe("dpi-changed", 96)
    back = poll("the window back at 96 dpi", lambda: (lambda st: st if abs(size(rect(st["client"]))[0]
                                                      - size(rect(first["client"]))[0]) <= 2 else None)(s.state()))
    for name in ["client", "control.112", "control.403"]:
        check(all(abs(a - b) <= 2 for a, b in zip(size(rect(first[name])), size(rect(back[name])))),
              "%s: %s at first, %s after 192 and back" % (name, first[name], back[name]))
    s.keys("plus", "1", "equal")
    s.wait_display("9,")


UNINSTALL_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Vemo"


def registry_value(s, key, name):
    """A value of the prefix's registry read with reg.exe, or None when it is absent. The
    console program writes in the OEM code page of the Russian locale."""
    result = subprocess.run(["wine", "reg", "query", key, "/v", name], env=s.env,
                            capture_output=True, timeout=60)
    for line in result.stdout.decode("cp866", "replace").splitlines():
        parts = line.strip().split(None, 2)
        if result.returncode == 0 and len(parts) == 3 and parts[0] == name:
            return parts[2]
    return None


def test_installer_and_portable_zip(s):
    """scripts/package.sh makes the portable zip (vemo.exe, vemo.chm, readme) and the
    installer; the installer run silently puts the program into the user's programs
    folder with a Start-menu shortcut and an uninstall key, the program started from the
    shortcut's target computes 2+3=, and the silent uninstall removes all three."""
    import glob
    import zipfile
    version = project_version(s.build_dir)
    dist = os.path.join(s.temp, "dist")
    result = subprocess.run(["bash", os.path.join(ROOT, "scripts", "package.sh"), s.build_dir, dist],
                            capture_output=True, timeout=900)
    check(result.returncode == 0, "package.sh failed: %s" % result.stderr.decode("utf-8", "replace")[-2000:])
    setup = os.path.join(dist, "vemo-setup-%s.exe" % version)
    portable = os.path.join(dist, "vemo-%s-portable.zip" % version)
    check(os.path.isfile(setup) and os.path.isfile(portable), "missing %s or %s" % (setup, portable))
    with zipfile.ZipFile(portable) as z:
        names = sorted(z.namelist())
        folder = "vemo-%s/" % version
        check(names == [folder, folder + "readme.txt", folder + "vemo.chm", folder + "vemo.exe"],
              "zip holds %r" % names)
        readme = z.read(folder + "readme.txt").decode("utf-8-sig")
        check("Вемомер %s" % version in readme and "vemo.chm" in readme, "readme %r" % readme[:200])
        with open(s.vemo, "rb") as f:
            check(z.read(folder + "vemo.exe") == f.read(), "the zip's vemo.exe is not the build's")

    users = os.path.join(s.prefix, "drive_c", "users")

    def installed():
        return glob.glob(os.path.join(users, "*", "AppData", "Local", "Programs", "Vemo", "*"))

    def shortcuts():
        return glob.glob(os.path.join(users, "*", "AppData", "Roaming", "Microsoft", "Windows",
                                      "Start Menu", "Programs", "Вемомер.lnk"))

    check(not installed() and not shortcuts(), "the prefix already holds an installation")
    subprocess.run(["wine", setup, "/S"], env=s.env, timeout=180, capture_output=True)
    files = poll("the installed files",
                 lambda: (lambda f: f if len(f) == 3 else None)(sorted(map(os.path.basename, installed()))),
                 timeout=60)
    check(files == ["uninstall.exe", "vemo.chm", "vemo.exe"], "installed %r" % files)
    link = poll("the Start-menu shortcut", shortcuts)[0]
    uninstall = registry_value(s, UNINSTALL_KEY, "UninstallString")
    check(uninstall and uninstall.strip('"').endswith(r"\Programs\Vemo\uninstall.exe"),
          "UninstallString %r" % uninstall)
    check(registry_value(s, UNINSTALL_KEY, "DisplayName") == "Вемомер"
          and registry_value(s, UNINSTALL_KEY, "DisplayVersion") == version, "uninstall key's names")

    target = s.probe("shortcut-target", windows_path(link), desktop="-")["target"]
    check(target.lower().endswith(r"\programs\vemo\vemo.exe"), "shortcut to %r" % target)
    s.launch(layout=1, program=target)
    s.keys("2", "plus", "3", "equal")
    s.wait_display("5,")
    s.close_program()

    subprocess.run(["wine", uninstall.strip('"'), "/S"], env=s.env, timeout=180, capture_output=True)
    poll("the uninstaller to remove the files, the shortcut and the key",
         lambda: not installed() and not shortcuts()
         and registry_value(s, UNINSTALL_KEY, "UninstallString") is None, timeout=60)


# --- the picture keys' faces ------------------------------------------------------------------

RESOURCES = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "shell", "resources")


def face_masters():
    """The masters of the key faces by resource id, as listed in key_faces.rc."""
    from PIL import Image
    masters = {}
    with open(os.path.join(RESOURCES, "key_faces.rc")) as f:
        for line in f:
            parts = line.split()
            if len(parts) == 3 and parts[0].isdigit() and parts[1] == "BITMAP" and parts[0] != "1000":
                masters[int(parts[0])] = Image.open(os.path.join(RESOURCES, parts[2].strip('"'))).convert("RGB")
    return masters


def face_distance(picture, box, face):
    """Mean difference per channel (0-255) between a key on a screenshot and a face scaled to
    the key's size by area averaging, as the program scales its masters."""
    from PIL import Image, ImageChops, ImageStat
    key = picture.crop(box)
    return sum(ImageStat.Stat(ImageChops.difference(key, face.resize(key.size, Image.BOX))).mean) / 3


def nearer_face(picture, box, right, wrong):
    """Mean differences (per channel, 0-255) of a key on a screenshot from the right and
    from the wrong face, both scaled to the key, where the two faces differ."""
    from PIL import Image, ImageChops, ImageStat
    key = picture.crop(box)
    right, wrong = right.resize(key.size, Image.BOX), wrong.resize(key.size, Image.BOX)
    mask = ImageChops.difference(right, wrong).convert("L").point(lambda v: 255 if v > 40 else 0)
    return [sum(ImageStat.Stat(ImageChops.difference(key, face), mask).mean) / 3 for face in (right, wrong)]


def test_key_faces_say_what_keys_do(s):
    """Every picture key shows its own master: MC on memory clear (not the M- it used to
    show), x² on the root key in the scientific layout and √ in the standard one, the
    display's decimal symbol on the decimal key (the comma for ',', the point for '.' and
    for any other symbol), made again when a settings broadcast changes the symbol.
    Screenshots keypad-faces-{scientific,standard}-{ru,en}.png and keypad-faces-standard-other.png."""
    sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools"))
    import make_pictures
    masters = face_masters()
    other = {1103: 2103, 2103: 1103, 1085: 2085, 2085: 1085}
    old_memory_clear = make_pictures.draw_key(make_pictures.SMALL, make_pictures.YELLOW_KEY, "M\u2212",
                                              make_pictures.LARGE)
    # Per layout: (decimal symbol, display, screenshot tag), the first at the start, the
    # others set by a settings broadcast.
    cases = [(0, [(",", "0,", "ru"), (".", "0.", "en")]),
             (1, [(".", "0.", "en"), (",", "0,", "ru"), ("'", "0'", "other")])]
    try:
        for layout, symbols in cases:
            s.profile_write("intl", "sDecimal", symbols[0][0])
            state = s.launch(layout=layout)
            window = rect(state["rect"])
            s.xdotool("mousemove", "630", "470")

            def box(id):
                l, t, r, b = rect(state["control.%d" % id])
                return l - window[0], t - window[1], r - window[0], b - window[1]

            previous = None
            for number, (symbol, display, tag) in enumerate(symbols):
                if number > 0:
                    s.profile_write("intl", "sDecimal", symbol)
                    s.probe("settings", "intl")
                s.wait_display(display)
                expected = {id - 1000: id for id in masters if id < 2000}
                if layout == 0:
                    expected[103] = 2103
                if symbol == ",":
                    expected[85] = 2085
                wrong = {103: masters[other[expected[103]]], 85: masters[other[expected[85]]],
                         113: old_memory_clear}

                def mismatches(picture):
                    """Keys unlike their face, and keys nearer to their wrong face where the
                    two differ (the comma and the point differ in a few pixels only)."""
                    bad = [id for id, resource in sorted(expected.items())
                           if face_distance(picture, box(id), masters[resource]) > 6]
                    for id, face in wrong.items():
                        right, far = nearer_face(picture, box(id), masters[expected[id]], face)
                        if right > far / 3:
                            bad.append(id)
                    return sorted(set(bad))

                name = "keypad-faces-%s-%s.png" % ("scientific" if layout == 0 else "standard", tag)
                shots = []
                try:
                    poll("every key with its face", lambda: (shots.append(s.screenshot(name, state["rect"]))
                                                             or not mismatches(shots[-1])), timeout=10)
                except Failure:
                    raise Failure("%s: keys %s do not show their faces" % (name, mismatches(shots[-1])))
                if previous is not None:
                    check(face_distance(shots[-1], box(85), previous.crop(box(85))) > 2,
                          "%s: the decimal key's face did not change with the symbol" % name)
                previous = shots[-1]
    finally:
        s.profile_write("intl", "sDecimal", ",")


# Evdev key codes (Xvfb's) of the keys typed by position: xdotool sends a key code in the
# keymap's first group, so the same physical keys are pressed in both layouts.
KEY_CODES = {"2": 11, "3": 12, "4": 13, "6": 15, "7": 16, "grave": 49, "backslash": 51,
             "semicolon": 47, "s": 39, "c": 54, "v": 55, "comma": 59, "period": 60, "slash": 61}


def position_keys(*names):
    """xdotool key names with the keys of KEY_CODES ("shift+2") turned into their codes."""
    return ["+".join(str(KEY_CODES.get(part, part)) for part in name.split("+")) for name in names]


def test_shortcuts_by_key_position(s):
    """In the Russian layout the symbol keys act as the same keys in the English layout
    (Shift+2 is x^2, Shift+7 And, the б key a point), except that a typed digit, '.' or ','
    keeps its meaning (the '/' key types a point) and a character whose English key has no
    shortcut keeps its own (Shift+4 types ';', Int); letters, Ctrl+letters too. The English
    layout gives what it gave before. The layouts are "ru,us", as a Russian user usually has
    it, and Russian alone, where Wine gives the Cyrillic letter keys made-up virtual keys
    (their letters then tell their places)."""
    cases = (  # keys by position, display in Russian, display in English
        (("3", "shift+2"), "9,", "9,"),                       # x^2
        (("3", "shift+3"), "27,", "27,"),                     # x^3
        (("6", "shift+7", "3", "Return"), "2,", "2,"),        # And
        (("6", "shift+6", "3", "Return"), "5,", "5,"),        # Xor
        (("6", "shift+backslash", "3", "Return"), "7,", "7,"),  # Or
        (("3", "shift+comma", "2", "Return"), "12,", "12,"),  # Lsh
        (("5", "shift+grave"), "-6,", "-6,"),                 # Not
        (("7", "comma", "5", "semicolon"), "7,", "7,"),       # б: point, ж: Int
        (("1", "period", "2", "5"), "1,25", "1,25"),          # ю: point
        (("8", "slash", "2", "Return"), "8,2", "4,"),         # '.' in Russian, '/' in English
        (("1", "shift+slash", "5"), "1,5", "15,"),            # ',' in Russian, '?' in English
        (("7", "period", "5", "shift+4"), "7,", "7,5"),       # ';' in Russian, '$' in English
        (("3", "0", "s"), "0,5", "0,5"),                      # sin 30 degrees
    )
    # Xvfb resets its keymap when its last client leaves: this one stays for the test.
    keeper = subprocess.Popen(["xdotool", "sleep", "3600"], env=s.env)
    try:
        # Russian alone too (there Wine gives the Cyrillic letter keys made-up virtual keys:
        # their letters tell their places).
        for layout, column in (("ru,us", 1), ("ru", 1), ("us", 2)):
            subprocess.run(["setxkbmap", "-layout", layout], env=s.env, check=True, timeout=30)
            s.launch(layout=0)
            for case in cases:
                s.keys("Escape", *position_keys(*case[0]))
                try:
                    s.wait_display(case[column])
                    time.sleep(0.3)  # the display may pass through the expected text: it stays
                    check(s.display() == case[column], "then %r" % s.display())
                except Failure as e:
                    raise Failure("layout %s, keys %s: %s" % (layout, " ".join(case[0]), e))
            s.keys("Escape", "3", *position_keys("shift+2", "ctrl+c"))
            poll("9 copied with Ctrl+C in layout %s" % layout, lambda: s.clipboard() == "9")
            s.keys("Escape", *position_keys("ctrl+v"))
            s.wait_display("9,")
            s.keys(*position_keys("ctrl+s"))
            poll("the statistics box opened by Ctrl+S in layout %s" % layout,
                 lambda: s.dialog("Статистика"))
    finally:
        subprocess.run(["setxkbmap", "-layout", "us"], env=s.env, timeout=30)
        keeper.terminate()
        keeper.wait()


TESTS = [
    test_start_window_and_screenshot,
    test_addition_and_repeated_equals,
    test_error_locks_input_until_escape,
    test_percent_key_follows_layout,
    test_decimal_symbol_follows_settings,
    test_radix_keys_with_byte_word,
    test_layout_switch_by_menu_keeps_place,
    test_precision_option_widens_display,
    test_display_shows_whole_text,
    test_closing_ends_the_process,
    test_copy_and_paste,
    test_long_computation_guard,
    test_paste_unicode_lines_and_speed,
    test_statistics_box,
    test_help_file,
    test_keypad_click_scripts,
    test_keypad_statistics_keys,
    test_keypad_double_click_and_focus,
    test_keypad_tooltips,
    test_keypad_screenshots_and_size,
    test_manifest_and_version,
    test_context_help_popups,
    test_accessible_names,
    test_scaling_at_192_dpi,
    test_dpi_change_message,
    test_installer_and_portable_zip,
    test_key_faces_say_what_keys_do,
    test_shortcuts_by_key_position,
]


def main(argv):
    args = [a for a in argv[1:]]
    only = None
    if "-k" in args:
        i = args.index("-k")
        only = args[i + 1]
        del args[i:i + 2]
    if not args:
        print(__doc__, file=sys.stderr)
        return 2
    build_dir = args[0]
    artifacts = args[1] if len(args) > 1 else os.path.join(build_dir, "e2e-artifacts")
    session = Session(build_dir, artifacts)
    passed = failed = 0
    started = time.monotonic()
    try:
        session.start()
        print("e2e: Wine prefix ready in %.0f s" % (time.monotonic() - started), flush=True)
        for test in TESTS:
            if only and only not in test.__name__:
                continue
            t0 = time.monotonic()
            try:
                test(session)
            except Exception as e:  # a failed check or a broken tool: both fail the test
                failed += 1
                if isinstance(e, Failure):
                    lines = [f.lineno for f in traceback.extract_tb(e.__traceback__)
                             if f.name == test.__name__]
                    detail = "%s (line %s)" % (e, lines[-1] if lines else "?")
                else:
                    detail = traceback.format_exc()
                print("FAIL %s (%.1f s): %s" % (test.__name__, time.monotonic() - t0, detail),
                      flush=True)
                try:  # the screen at the failure, for diagnosis
                    session.screenshot("FAIL-%s.png" % test.__name__)
                except Exception:
                    pass
            else:
                passed += 1
                print("ok   %s (%.1f s)" % (test.__name__, time.monotonic() - t0), flush=True)
            finally:
                try:
                    session.close_program()
                except Exception:
                    pass
    except Exception:
        failed += 1
        print("FAIL set-up: %s" % traceback.format_exc(), flush=True)
    finally:
        session.stop()
    print("e2e: finished in %.0f s; screenshot in %s" % (time.monotonic() - started, artifacts))
    print("e2e: %d passed, %d failed" % (passed, failed))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
