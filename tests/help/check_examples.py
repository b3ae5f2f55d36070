#!/usr/bin/python3
"""Runs every worked example of the help pages through vemo-console.

    check_examples.py VEMO_CONSOLE HELP_DIR LABELS_DEF

An example is an element of class "example" in a page of HELP_DIR; its attributes say how
to reproduce it (the reader sees only the element's text):
    data-keys       the keys, as vemo-console reads them; several lines are separated by " ¦ "
    data-shows      the display after each line, separated the same way
    data-layout     "standard" (the default) or "scientific"
    data-options    more console options, separated by blanks (e.g. "/P40")
    data-clipboard  the clipboard's text before the keys (for pastes)
    data-copied     what the keys put on the clipboard
    data-interrupt  seconds after which the computation is stopped (as Ctrl+C does)
Every run uses the decimal comma, as the pages do.

Besides, every message of the calculator (the label table's error texts) that a page quotes
in «» must be the display of one of the examples, so that no page promises a message the
program does not give where the page says.

Prints one line per failure and a summary; exits 1 on any failure.
"""
import html.parser
import os
import re
import signal
import subprocess
import sys
import time

SEPARATOR = " ¦ "


class ExampleParser(html.parser.HTMLParser):
    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.examples = []   # (attributes, line number)
        self.text = []

    def handle_starttag(self, tag, attrs):
        attributes = dict(attrs)
        if "example" in (attributes.get("class") or "").split():
            self.examples.append((attributes, self.getpos()[0]))

    def handle_data(self, data):
        self.text.append(data)


def error_messages(labels_def):
    """The texts of the error messages (labels 66-72)."""
    messages = []
    with open(labels_def, encoding="utf-8") as f:
        for match in re.finditer(r'LABEL\((\d+), "((?:[^"\\]|\\.)*)"\)', f.read()):
            if 66 <= int(match.group(1)) <= 72:
                messages.append(match.group(2))
    return messages


def run_console(console, attributes):
    """Returns (display lines, clipboard puts) of one example."""
    command = [console, "--decimal=,",
               "--layout=" + attributes.get("data-layout", "standard")]
    command += attributes.get("data-options", "").split()
    if "data-clipboard" in attributes:
        command.append("--clipboard=" + attributes["data-clipboard"])
    if "data-copied" in attributes:
        command.append("--trace")
    lines = attributes["data-keys"].split(SEPARATOR)
    if "data-interrupt" in attributes:
        process = subprocess.Popen(command + ["--"] + lines, stdout=subprocess.PIPE,
                                   stderr=subprocess.STDOUT, text=True)
        time.sleep(float(attributes["data-interrupt"]))
        process.send_signal(signal.SIGINT)
        output, _ = process.communicate(timeout=60)
    else:
        output = subprocess.run(command + ["--"] + lines, capture_output=True, text=True,
                                timeout=60).stdout
    displays = [l for l in output.splitlines() if not l.startswith("\t")]
    copied = [m.group(1) for m in re.finditer(r'^\tclipboard put "(.*)"$', output, re.M)]
    return displays, copied


def main(argv):
    if len(argv) != 4:
        print(__doc__, file=sys.stderr)
        return 2
    console, help_dir, labels_def = argv[1:]
    failures = 0
    checked = 0
    shown = set()
    quoted = []   # (page, message)
    messages = error_messages(labels_def)
    for name in sorted(os.listdir(help_dir)):
        if not name.endswith(".html"):
            continue
        parser = ExampleParser()
        with open(os.path.join(help_dir, name), encoding="utf-8") as f:
            parser.feed(f.read())
        text = re.sub(r"\s+", " ", "".join(parser.text))
        quoted += [(name, m) for m in messages if "«%s»" % m in text]
        for attributes, line in parser.examples:
            where = "%s:%d" % (name, line)
            if "data-keys" not in attributes or "data-shows" not in attributes:
                print("FAIL %s: an example needs data-keys and data-shows" % where)
                failures += 1
                continue
            expected = attributes["data-shows"].split(SEPARATOR)
            shown.update(expected)
            displays, copied = run_console(console, attributes)
            checked += 1
            if displays != expected:
                print("FAIL %s: keys %r show %r, the page says %r"
                      % (where, attributes["data-keys"], displays, expected))
                failures += 1
            if "data-copied" in attributes and copied != [attributes["data-copied"]]:
                print("FAIL %s: keys %r copy %r, the page says %r"
                      % (where, attributes["data-keys"], copied, attributes["data-copied"]))
                failures += 1
    for page, message in quoted:
        if message not in shown:
            print("FAIL %s quotes «%s», which no example of the help shows" % (page, message))
            failures += 1
    print("help examples: %d checked, %d failed" % (checked, failures))
    return 1 if failures or checked == 0 else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
