// Every function key (with its Inv and Hyp variants, in every angle unit) against the
// committed accuracy table of tools/make_function_references.py: random arguments across
// magnitudes 10^-60 .. 10^1000 and the edge bands beside zeros, poles and +-1, at the digit
// settings 1, 8, 32 and 64. A value must lie within half a unit of the last digit shown
// (so that the display, rounded, is within one), an exact zero must be exactly zero, and
// an undefined argument must raise its error. VEMO_ACCURACY_REPORT=1 prints the worst
// case of every key.
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

#include "test_support.h"

namespace {

struct AccuracyRow {
  const char* key;
  AngleUnit unit;
  int setting;  // digits shown; the working precision is one more
  const char* x;
  const char* y;
  const char* expected;
};

#include "accuracy_table.inc"

// The key as the engine applies it.
void applyKey(const std::string& key, AngleUnit unit, Ratio& x, const Ratio* y) {
  if (key == "pow10") {
    Ratio ten = ratioFromInt(10);
    ratioPow(ten, x);
    x = std::move(ten);
  } else if (key == "sqrt") {
    ratioRoot(x, kTwo);
  } else if (key == "cbrt") {
    ratioRoot(x, ratioFromInt(3));
  } else if (key == "square") {
    ratioIntPower(x, 2);
  } else if (key == "cube") {
    ratioIntPower(x, 3);
  } else if (key == "reciprocal") {
    Ratio one = ratioCopy(kOne);
    ratioDivide(one, x);
    x = std::move(one);
  } else {
    applyFunction(key, unit, x, y);
  }
}

const char* errorName(ErrorCode code) {
  switch (code) {
    case InvalidArgument: return "InvalidArgument";
    case Overflow: return "Overflow";
    case Undefined: return "Undefined";
    case Underflow: return "Underflow";
    default: return "other";
  }
}

// log10 of a positive rational, whatever its size.
double log10Of(const mpq_t value) {
  long numeratorExp = 0, denominatorExp = 0;
  const double n = mpz_get_d_2exp(&numeratorExp, mpq_numref(value));
  const double d = mpz_get_d_2exp(&denominatorExp, mpq_denref(value));
  return std::log10(n / d) + double(numeratorExp - denominatorExp) * std::log10(2.0);
}

// |got - want| in units of the last shown digit (digit setting D) of want: the unit is
// 10^(e - D + 1) with 10^e <= |want| < 10^(e+1).
double ulpsOff(const Ratio& got, const char* want, int D) {
  mpq_t g, w, diff;
  mpq_inits(g, w, diff, nullptr);
  ratioToMpq(g, got);
  decimalToMpq(w, want);
  mpq_sub(diff, g, w);
  mpq_abs(diff, diff);
  mpq_abs(w, w);
  double ulps = 0;
  if (mpq_sgn(diff) != 0)
    ulps = std::pow(10.0, log10Of(diff) - (std::floor(log10Of(w)) - D + 1));
  mpq_clears(g, w, diff, nullptr);
  return ulps;
}

std::string describe(const AccuracyRow& row) {
  std::string s = std::string(row.key) + "(" + row.x;
  if (row.y != nullptr) s += ", " + std::string(row.y);
  return s + ") " + unitName(row.unit) + " /P" + std::to_string(row.setting);
}

struct Worst {
  double ulps = -1;
  std::string row;
};

}  // namespace

TEST_F(TranscendentalTest, EveryKeyIsRightToItsLastShownDigit) {
  std::map<std::string, Worst> worst;
  int setting = 0;
  for (const AccuracyRow& row : kAccuracyTable) {
    if (row.setting != setting) {
      setting = row.setting;
      setRadixPrecisionAndConstants(10, setting + 1);
    }
    Ratio x = number(row.x);
    Ratio y = row.y != nullptr ? number(row.y) : Ratio();
    const std::string expected = row.expected;
    std::string key = row.key;
    if (row.unit != Radians) key += std::string(" ") + unitName(row.unit);
    Worst& w = worst[key];
    try {
      applyKey(row.key, row.unit, x, row.y != nullptr ? &y : nullptr);
    } catch (const ArithmeticError& error) {
      EXPECT_EQ("!" + std::string(errorName(error.code())), expected) << describe(row);
      if (expected[0] != '!') w = {1e99, describe(row) + " raised"};
      continue;
    }
    if (expected[0] == '!') {
      ADD_FAILURE() << describe(row) << " gave " << show(x) << ", expected " << expected;
      continue;
    }
    if (expected == "0") {
      EXPECT_TRUE(ratioIsZero(x)) << describe(row) << " gave " << show(x) << ", expected 0";
      if (!ratioIsZero(x) && w.ulps < 1e98) w = {1e98, describe(row) + " not zero"};
      continue;
    }
    const double ulps = ulpsOff(x, row.expected, row.setting);
    if (ulps > w.ulps) w = {ulps, describe(row)};
    EXPECT_LE(ulps, 0.5) << describe(row) << " is " << ulps << " units of the last shown digit"
                         << " off: " << show(x) << ", expected " << expected;
  }
  if (std::getenv("VEMO_ACCURACY_REPORT") != nullptr) {
    std::printf("worst error per key, in units of the last shown digit:\n");
    for (const auto& [key, w] : worst)
      std::printf("  %-16s %10.3g  %s\n", key.c_str(), w.ulps, w.row.c_str());
  }
}
