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

    def launch(self, *options, layout=None, env=None, program=None):
        """Starts vemo.exe (or the copy at program) with options, optionally writing the
        profile's layout first and with extra environment variables, and waits until its
        window is shown and active."""
        self.close_program()
        if layout is not None:
            self.profile_write("SciVemo", "layout", str(layout))
        environment = dict(self.env)
        environment.update(env or {})
        self.app = subprocess.Popen(
            ["wine", "explorer", "/desktop=%s,640x480" % DESKTOP, program or self.vemo]
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
            ("1 2\r\n3", "123,", ""),
            (":m", "123,", " M"),    # MS
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

    # A paste is one command: a stop, here by Esc, ends it whole (the rest would take a
    # minute).
    s.set_clipboard("1+" * 1500)
    s.keys("ctrl+v")
    poll("the guard's dialog during the paste", s.guard_dialog, timeout=20)
    s.keys("Escape")
    s.wait_display("Действие прервано.", timeout=10)
    s.keys("Escape", "4")
    s.wait_display("4,")


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
    s.screenshot("help-viewer.png")

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


TESTS = [
    test_start_window_and_screenshot,
    test_addition_and_repeated_equals,
    test_error_locks_input_until_escape,
    test_percent_key_follows_layout,
    test_decimal_symbol_follows_settings,
    test_radix_keys_with_byte_word,
    test_layout_switch_by_menu_keeps_place,
    test_precision_option_widens_display,
    test_closing_ends_the_process,
    test_copy_and_paste,
    test_long_computation_guard,
    test_statistics_box,
    test_help_file,
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
