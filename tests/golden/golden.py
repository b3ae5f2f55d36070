#!/usr/bin/env python3
"""The golden corpus: seeded key scripts replayed through vemo-console, whose every output
line and every window operation must stay byte for byte what was recorded.

  golden.py generate --console PATH [--seed N] [--scripts N]   draw scripts, record, write
  golden.py record --console PATH                              re-record the stored scripts
  golden.py replay --console PATH                              compare; exit 1 on a change

Each script is one vemo-console process: options, then lines of keys. For each line the
corpus keeps the --status line and a CRC-32 of the window operations (--trace) the line
caused, so that texts, checks, enables, beeps, message boxes and the statistics box are all
compared without storing every call. The corpus is tests/golden/corpus.jsonl, one script a
line.
"""
import argparse
import concurrent.futures
import json
import os
import random
import subprocess
import sys
import time
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
CORPUS = os.path.join(HERE, "corpus.jsonl")
TIMEOUT_S = 20  # per script on replay; recorded scripts all ran far below one second

# Keys as vemo-console types them, with weights: digits and operators dominate.
DIGITS = list("0123456789")
HEX = list("ABCDEF")
OPERATORS = list("+-*/=") + ["[Enter]"]
FUNCTIONS = list("SOTRYMNLVXIHP!#@;~&|^<%") + ["(", ")", "."]
NAMED = ["[Esc]", "[Del]", "[Backspace]", "[Left]", "[Insert]"] + \
    ["[F%d]" % n for n in range(2, 10)] + \
    ["[Ctrl+S]", "[Ctrl+M]", "[Ctrl+P]", "[Ctrl+L]", "[Ctrl+R]", "[Ctrl+A]", "[Ctrl+T]",
     "[Ctrl+D]", "[Ctrl+C]", "[Ctrl+V]", "[Ctrl+Insert]", "[Shift+Insert]", "[Ctrl+Shift+K]"]
CLICKS = ["[%d]" % n for n in list(range(80, 149)) + list(range(300, 306))] + \
    ["[0]", "[79]", "[149]", "[200]", "[299]", "[306]", "[999]"]
PASTE_ALPHABET = "0123456789ABCDEFabcdef.,+-*/=()%^&|~;<!@#\\SOTRYMNLVXIHPQqmcrtd: \n\rxez$"
PRECISIONS = [None, None, "/P1", "/P8", "/P32", "/P40", "/P64", "/P3", "/P16"]


def draw_key(rng):
    r = rng.random()
    if r < 0.40:
        return rng.choice(DIGITS)
    if r < 0.47:
        return rng.choice(HEX)
    if r < 0.64:
        return rng.choice(OPERATORS)
    if r < 0.80:
        return rng.choice(FUNCTIONS)
    if r < 0.90:
        return rng.choice(NAMED)
    return rng.choice(CLICKS)


def draw_paste(rng):
    return "".join(rng.choice(PASTE_ALPHABET) for _ in range(rng.randint(0, 24)))


def draw_script(rng):
    args = ["--status", "--trace"]
    if rng.random() < 0.55:
        args.append("--layout=scientific")
    precision = rng.choice(PRECISIONS)
    if precision:
        args.append(precision)
    if rng.random() < 0.2:
        args.append(rng.choice(["/W8", "/W16", "/W32", "/W7"]))
    if rng.random() < 0.15:
        args.append(rng.choice(["/R2", "/R8", "/R10", "/R16", "/R3"]))
    if rng.random() < 0.1:
        args.append(rng.choice(["--decimal=,", "--decimal=;", "--decimal=."]))
    if rng.random() < 0.3:
        args.append("--clipboard=" + draw_paste(rng))
    lines = []
    for _ in range(rng.randint(1, 8)):
        lines.append("".join(draw_key(rng) for _ in range(rng.randint(1, 14))))
    return {"args": args, "lines": lines}


def run_script(console, script):
    """Runs one script; returns (outputs, seconds) or (None, seconds) on failure/time-out."""
    start = time.monotonic()
    try:
        proc = subprocess.run([console] + script["args"] + ["--"] + script["lines"],
                              capture_output=True, timeout=TIMEOUT_S)
    except subprocess.TimeoutExpired:
        return None, time.monotonic() - start
    elapsed = time.monotonic() - start
    text = proc.stdout.decode("utf-8", "surrogateescape")
    outputs = []
    for line in text.split("\n"):
        if line.startswith("\t"):
            if not outputs:
                outputs.append(["", 0])
            outputs[-1][1] = zlib.crc32((line + "\n").encode("utf-8", "surrogateescape"),
                                        outputs[-1][1])
        elif line:
            outputs.append([line, 0])
    result = [[status, "%08x" % crc] for status, crc in outputs]
    result.append(["exit %d" % proc.returncode, ""])
    return result, elapsed


def run_all(console, scripts):
    with concurrent.futures.ThreadPoolExecutor(max_workers=os.cpu_count() or 2) as pool:
        return list(pool.map(lambda s: run_script(console, s), scripts))


def load():
    with open(CORPUS, encoding="utf-8") as f:
        return [json.loads(line) for line in f if line.strip()]


def save(scripts):
    with open(CORPUS, "w", encoding="utf-8") as f:
        for s in scripts:
            f.write(json.dumps(s, ensure_ascii=False) + "\n")


def generate(console, seed, count):
    rng = random.Random(seed)
    kept = []
    while len(kept) < count:
        batch = [draw_script(rng) for _ in range(min(200, count - len(kept)))]
        for script, (out, seconds) in zip(batch, run_all(console, batch)):
            # Long computations would make the replay slow: such scripts are drawn again.
            if out is not None and seconds < 0.5:
                script["out"] = out
                kept.append(script)
    save(kept)
    print("golden: %d scripts recorded (seed %d)" % (len(kept), seed))


def record(console):
    scripts = load()
    for script, (out, _) in zip(scripts, run_all(console, scripts)):
        if out is None:
            sys.exit("golden: a script timed out while recording: %s" % json.dumps(script))
        script["out"] = out
    save(scripts)
    print("golden: %d scripts re-recorded" % len(scripts))


def replay(console):
    scripts = load()
    start = time.monotonic()
    failures = 0
    for number, (script, (out, _)) in enumerate(zip(scripts, run_all(console, scripts)), 1):
        if out == script["out"]:
            continue
        failures += 1
        if failures <= 20:
            print("golden: script %d changed: %s" % (number, json.dumps(
                {"args": script["args"], "lines": script["lines"]}, ensure_ascii=False)))
            expected = script["out"]
            got = out or [["(timed out)", ""]]
            for i in range(max(len(expected), len(got))):
                e = expected[i] if i < len(expected) else None
                g = got[i] if i < len(got) else None
                if e != g:
                    print("  line %d: expected %r, got %r" % (i + 1, e, g))
    print("golden: %d scripts replayed in %.1f s, %d changed" %
          (len(scripts), time.monotonic() - start, failures))
    return 1 if failures else 0


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("action", choices=["generate", "record", "replay"])
    parser.add_argument("--console", required=True)
    parser.add_argument("--seed", type=int, default=20261210)
    parser.add_argument("--scripts", type=int, default=2500)
    a = parser.parse_args()
    if a.action == "generate":
        generate(a.console, a.seed, a.scripts)
    elif a.action == "record":
        record(a.console)
    else:
        sys.exit(replay(a.console))


if __name__ == "__main__":
    main()
