#!/usr/bin/python3
"""Writes tests/unit/transcendental/function_references.inc: reference values of every
scientific function for a spread of arguments, computed once with mpmath at 100 digits.

Rows of kReferences33 carry 50 significant digits (checked at the default precision of 33
digits); rows of kReferences65 and kConstants65 carry 75 (checked at 65 digits).
Run with Debian's interpreter, which has mpmath:  /usr/bin/python3 tools/make_function_references.py
"""
import os

import mpmath
from mpmath import mp, mpf

mp.dps = 100

DEG, RAD, GRAD = "Degrees", "Radians", "Gradients"
UNIT_TURN = {DEG: mpf(360), RAD: 2 * mp.pi, GRAD: mpf(400)}


def to_radians(x, unit):
    return x * 2 * mp.pi / UNIT_TURN[unit]


def from_radians(x, unit):
    return x * UNIT_TURN[unit] / (2 * mp.pi)


def angle(f):
    return lambda x, unit: f(to_radians(x, unit))


def inverse_angle(f):
    return lambda x, unit: from_radians(f(x), unit)


def plain(f):
    return lambda x, unit: f(x)


FUNCTIONS = {
    "exp": plain(mp.exp),
    "ln": plain(mp.log),
    "log10": plain(lambda x: mp.log(x, 10)),
    "sin": angle(mp.sin),
    "cos": angle(mp.cos),
    "tan": angle(mp.tan),
    "asin": inverse_angle(mp.asin),
    "acos": inverse_angle(mp.acos),
    "atan": inverse_angle(mp.atan),
    "sinh": plain(mp.sinh),
    "cosh": plain(mp.cosh),
    "tanh": plain(mp.tanh),
    "asinh": plain(mp.asinh),
    "acosh": plain(mp.acosh),
    "atanh": plain(mp.atanh),
    "factorial": plain(lambda x: mp.gamma(x + 1)),
}

ANGLE_ARGS = {
    DEG: ["30", "1", "45", "89.9", "123.456", "-200", "1000", "-0.001", "1e10"],
    RAD: ["1", "0.5", "3", "-4", "6", "100", "-12345.678", "1e-5", "1e20"],
    GRAD: ["50", "150", "399", "-123.4", "0.01"],
}
INVERSE_ARGS = ["0.5", "0.85", "0.9", "-0.3", "0.99999", "1e-10", "-0.7071"]
ATAN_ARGS = ["0.5", "1", "1.5", "2", "3", "-7", "1e10", "1e-10", "-0.9"]

ROWS = []  # (function, unit, x, y)
for fn in ("exp",):
    for x in ["0.5", "1.5", "-2.25", "10", "100", "-50.5", "1e-10", "12345.678", "-0.001",
              "0.99", "-99999.5"]:
        ROWS.append((fn, RAD, x, None))
for x in ["2", "7", "0.5", "1e-20", "1e20", "123456789.123", "1.0001", "3.5e100", "0.9999",
          "1.6", "2.5e-30"]:
    ROWS.append(("ln", RAD, x, None))
for x in ["7", "2", "0.001234", "1e50", "31.6227766"]:
    ROWS.append(("log10", RAD, x, None))
for x, y in [("2", "0.5"), ("1.7", "3.3"), ("10", "0.1"), ("0.3", "-2.5"), ("123.45", "6.78"),
             ("2", "100.5"), ("0.999", "-1234.5"), ("5", "-0.25")]:
    ROWS.append(("pow", RAD, x, y))
for x, y in [("2", "2"), ("-27", "3"), ("10", "7"), ("1e30", "3"), ("0.5", "2")]:
    ROWS.append(("root", RAD, x, y))
for fn in ("sin", "cos", "tan"):
    for unit, args in ANGLE_ARGS.items():
        for x in args:
            ROWS.append((fn, unit, x, None))
for fn in ("asin", "acos"):
    for unit in (DEG, RAD, GRAD):
        for x in INVERSE_ARGS:
            ROWS.append((fn, unit, x, None))
for unit in (DEG, RAD, GRAD):
    for x in ATAN_ARGS:
        ROWS.append(("atan", unit, x, None))
for x in ["0.5", "1", "1.5", "-0.5", "-3", "10", "100", "1e-10", "0.999", "-25.5"]:
    ROWS.append(("sinh", RAD, x, None))
for x in ["0.5", "2", "-3", "50", "0.001", "-1"]:
    ROWS.append(("cosh", RAD, x, None))
for x in ["0.5", "2", "-2", "10", "1e-8", "-0.75"]:
    ROWS.append(("tanh", RAD, x, None))
for x in ["0.5", "-0.5", "0.9", "2", "-1e20", "1000", "-3.7", "1e-12"]:
    ROWS.append(("asinh", RAD, x, None))
for x in ["1.5", "2", "1e10", "1.0001", "7.25"]:
    ROWS.append(("acosh", RAD, x, None))
for x in ["0.5", "-0.5", "0.9", "0.99", "1e-10", "-0.123"]:
    ROWS.append(("atanh", RAD, x, None))
for x in ["0.5", "3.5", "-0.5", "-1.5", "2.5", "10.25", "0.001", "20.7", "-3.3", "100.5",
          "0.999"]:
    ROWS.append(("factorial", RAD, x, None))

# Arguments with 32 significant digits, as earlier results give them.
for fn, unit, x in [
        ("sin", RAD, "2.7182818284590452353602874713527"),
        ("ln", RAD, "0.31415926535897932384626433832795"),
        ("ln", RAD, "1.0000000000000000000012345678901"),
        ("exp", RAD, "-7.3890560989306502272304274605750"),
        ("asin", RAD, "0.70710678118654752440084436210485"),
        ("atanh", RAD, "0.99999999999999999999"),
        ("atanh", RAD, "1.2345678901234567890123456789012e-10"),
        ("asinh", RAD, "-1.2345678901234567890123456789012e-20"),
        ("sinh", RAD, "0.69314718055994530941723212145818"),
        ("factorial", RAD, "7.7777777777777777777777777777777"),
]:
    ROWS.append((fn, unit, x, None))

# Arguments near a zero of the function: the series sum there has a small absolute error
# (about 10^-37), not a small relative one; checked by absolute error.
NEAR_ZEROS = [
    ("sin", RAD, "3.1415926535897932384626433832795"),
    ("sin", RAD, "6.2831853071795864769252867665590"),
    ("cos", RAD, "1.5707963267948966192313216916398"),
    ("cos", DEG, "89.999999999999999999999999999999"),
    ("tan", RAD, "3.1415926535897932384626433832795"),
]

# Ill-conditioned arguments: near a pole of the tangent (the cosine's absolute error becomes
# the relative error of the quotient) and arccos / arcosh just beside 1. Each row states the
# digits it must keep.
ILL_CONDITIONED = [
    ("tan", RAD, "1.5707963267948966192313216916", 9),
    ("tan", GRAD, "99.99999999999999999999", 18),
    ("acos", DEG, "0.99999999999999999999999999", 31),
    ("acosh", RAD, "1.0000000000000000000000000001", 32),
    ("acosh", RAD, "1.0000000001", 32),
]

ROWS65 = [
    ("sin", RAD, "1", None), ("cos", DEG, "30", None), ("tan", RAD, "1", None),
    ("atan", RAD, "0.5", None), ("asin", RAD, "0.5", None), ("exp", RAD, "1.5", None),
    ("ln", RAD, "2", None), ("log10", RAD, "7", None), ("pow", RAD, "1.7", "3.3"),
    ("root", RAD, "2", "2"), ("sinh", RAD, "0.5", None), ("asinh", RAD, "0.5", None),
    ("factorial", RAD, "0.5", None), ("factorial", RAD, "3.5", None),
]

CONSTANTS65 = [("pi", mp.pi), ("e", mp.e), ("ln2", mp.log(2)), ("sqrt2", mp.sqrt(2)),
               ("ln10", mp.log(10)), ("sqrte", mp.sqrt(mp.e))]


def evaluate(fn, unit, x, y):
    if fn == "pow":
        return mpf(x) ** mpf(y)
    if fn == "root":
        value = abs(mpf(x)) ** (1 / mpf(y))
        return -value if mpf(x) < 0 else value
    return FUNCTIONS[fn](mpf(x), unit)


def text(value, digits):
    return mpmath.nstr(value, digits, min_fixed=1, max_fixed=0, strip_zeros=False)


def row_line(row, digits):
    fn, unit, x, y = row
    value = evaluate(fn, unit, x, y)
    y_text = '"%s"' % y if y is not None else "nullptr"
    return '    {"%s", %s, "%s", %s, "%s"},' % (fn, unit, x, y_text, text(value, digits))


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    out = os.path.join(root, "tests", "unit", "transcendental", "function_references.inc")
    lines = [
        "// Generated by tools/make_function_references.py (mpmath, 100-digit working "
        "precision).",
        "// Do not edit: change the generator and run it again.",
        "// Rows: {function, angle unit, x, y or nullptr, reference value}.",
        "",
        "static const FunctionReference kReferences33[] = {",
    ]
    lines += [row_line(r, 50) for r in ROWS]
    lines += ["};", "", "static const FunctionReference kNearZeros33[] = {"]
    lines += [row_line((fn, unit, x, None), 50) for fn, unit, x in NEAR_ZEROS]
    lines += ["};", "", "static const LimitedReference kIllConditioned33[] = {"]
    for fn, unit, x, digits in ILL_CONDITIONED:
        lines.append('    {{"%s", %s, "%s", nullptr, "%s"}, %d},'
                     % (fn, unit, x, text(evaluate(fn, unit, x, None), 50), digits))
    lines += ["};", "", "static const FunctionReference kReferences65[] = {"]
    lines += [row_line(r, 75) for r in ROWS65]
    lines += ["};", "", "static const ConstantReference kConstants65[] = {"]
    lines += ['    {"%s", "%s"},' % (name, text(value, 75)) for name, value in CONSTANTS65]
    lines += ["};", ""]
    with open(out, "w") as f:
        f.write("\n".join(lines))
    print("wrote %d + %d rows to %s" % (len(ROWS), len(ROWS65), out))


if __name__ == "__main__":
    main()
