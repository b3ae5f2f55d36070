// Helpers shared by the transcendental tests: parsing and showing decimal values, calling
// a function by name, and measuring a result against a decimal reference exactly (GMP).
#pragma once
#include <gmp.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

#include "numbers/numbers.h"
#include "support/gmp_bridge.h"
#include "transcendental/transcendental.h"

struct FunctionReference {
  const char* function;
  AngleUnit unit;
  const char* x;
  const char* y;  // second operand of pow and root, else nullptr
  const char* value;
};

// A reference with the number of correct digits the method can keep for it.
struct LimitedReference {
  FunctionReference reference;
  int digits;
};

struct ConstantReference {
  const char* name;
  const char* value;
};

// Every test starts from the default decimal set-up: radix 10, 33 digits.
class TranscendentalTest : public ::testing::Test {
 protected:
  void SetUp() override {
    numbers.radix = 10;
    setRadixPrecisionAndConstants(10, 33);
  }
  void TearDown() override {
    heapFailAllocationAt(0);
    abortRequested.store(0);
  }
};

// A decimal text such as "-1.5e-10", or a quotient of two such as "-2/3", read exactly.
inline Ratio number(const char* text) {
  std::string s(text);
  const std::size_t slash = s.find('/');
  if (slash != std::string::npos) {
    Ratio quotient = number(s.substr(0, slash).c_str());
    ratioDivide(quotient, number(s.substr(slash + 1).c_str()));
    return quotient;
  }
  bool negative = false;
  if (!s.empty() && s[0] == '-') {
    negative = true;
    s.erase(0, 1);
  }
  std::string mantissa = s;
  std::string exponent;
  bool negativeExponent = false;
  const std::size_t e = s.find_first_of("eE");
  if (e != std::string::npos) {
    mantissa = s.substr(0, e);
    exponent = s.substr(e + 1);
    if (!exponent.empty() && (exponent[0] == '-' || exponent[0] == '+')) {
      negativeExponent = exponent[0] == '-';
      exponent.erase(0, 1);
    }
  }
  // The parser keeps precisionDigits digits; test arguments are read whole.
  PrecisionScope wholeText(std::max<std::int32_t>(numbers.precisionDigits, 120));
  Ratio r = ratioFromText(negative, mantissa.c_str(), negativeExponent,
                          exponent.empty() ? nullptr : exponent.c_str());
  if (!r) ADD_FAILURE() << "cannot read " << text;
  return r;
}

// The display text of a value at the working precision (automatic notation).
inline std::string show(const Ratio& r) {
  Ratio copy = ratioCopy(r);
  HeapText text = ratioToText(copy, std::uint32_t(numbers.radix), FormatAutomatic);
  return std::string(text.get());
}

// Applies the named function to x (y is the second operand of pow and root).
inline void applyFunction(const std::string& name, AngleUnit unit, Ratio& x, const Ratio* y) {
  if (name == "exp") return ratioExp(x);
  if (name == "ln") return ratioLn(x);
  if (name == "log10") return ratioLog10(x);
  if (name == "pow") return ratioPow(x, *y);
  if (name == "root") return ratioRoot(x, *y);
  if (name == "sin") return ratioSin(x, unit);
  if (name == "cos") return ratioCos(x, unit);
  if (name == "tan") return ratioTan(x, unit);
  if (name == "asin") return ratioAsin(x, unit);
  if (name == "acos") return ratioAcos(x, unit);
  if (name == "atan") return ratioAtan(x, unit);
  if (name == "sinh") return ratioSinh(x);
  if (name == "cosh") return ratioCosh(x);
  if (name == "tanh") return ratioTanh(x);
  if (name == "asinh") return ratioAsinh(x);
  if (name == "acosh") return ratioAcosh(x);
  if (name == "atanh") return ratioAtanh(x);
  if (name == "factorial") return ratioFactorial(x);
  ADD_FAILURE() << "unknown function " << name;
}

inline const char* unitName(AngleUnit unit) {
  switch (unit) {
    case Degrees: return "deg";
    case Radians: return "rad";
    case Gradients: return "grad";
  }
  return "?";
}

// The exact value of a Ratio, through the tests' one GMP bridge.
inline void ratioToMpq(mpq_t out, const Ratio& r) { mpq_set(out, mpqOf(r).get_mpq_t()); }

// The exact value of a decimal text "[-]d.ddd[e[+-]k]".
inline void decimalToMpq(mpq_t out, const char* text) {
  std::string s(text);
  bool negative = false;
  if (s[0] == '-') {
    negative = true;
    s.erase(0, 1);
  }
  long exponent = 0;
  const std::size_t e = s.find_first_of("eE");
  if (e != std::string::npos) {
    exponent = std::stol(s.substr(e + 1));
    s = s.substr(0, e);
  }
  const std::size_t point = s.find('.');
  if (point != std::string::npos) {
    exponent -= static_cast<long>(s.size() - point - 1);
    s.erase(point, 1);
  }
  mpz_t digits, scale;
  mpz_inits(digits, scale, nullptr);
  mpz_set_str(digits, s.c_str(), 10);
  mpz_ui_pow_ui(scale, 10, static_cast<unsigned long>(exponent < 0 ? -exponent : exponent));
  mpq_set_z(out, digits);
  mpq_t factor;
  mpq_init(factor);
  mpq_set_z(factor, scale);
  if (exponent < 0) {
    mpq_div(out, out, factor);
  } else {
    mpq_mul(out, out, factor);
  }
  if (negative) mpq_neg(out, out);
  mpq_clear(factor);
  mpz_clears(digits, scale, nullptr);
}

// -log10 of a non-negative rational, which may lie far outside a double's range.
inline double minusLog10(const mpq_t value) {
  if (mpq_sgn(value) == 0) return 99;
  long numeratorExp = 0, denominatorExp = 0;
  const double n = mpz_get_d_2exp(&numeratorExp, mpq_numref(value));
  const double d = mpz_get_d_2exp(&denominatorExp, mpq_denref(value));
  const double digits =
      -(std::log10(n / d) + double(numeratorExp - denominatorExp) * std::log10(2.0));
  return digits > 99 ? 99 : digits;
}

// Correct decimal places of r against a decimal reference: -log10 |r - ref|.
inline double correctPlaces(const Ratio& r, const char* reference) {
  mpq_t got, want;
  mpq_inits(got, want, nullptr);
  ratioToMpq(got, r);
  decimalToMpq(want, reference);
  mpq_sub(got, got, want);
  mpq_abs(got, got);
  const double places = minusLog10(got);
  mpq_clears(got, want, nullptr);
  return places;
}

// Correct significant digits of r against a decimal reference: -log10 |r - ref| / |ref|,
// 99 for an exact match.
inline double correctDigits(const Ratio& r, const char* reference) {
  mpq_t got, want, error;
  mpq_inits(got, want, error, nullptr);
  ratioToMpq(got, r);
  decimalToMpq(want, reference);
  mpq_sub(error, got, want);
  mpq_div(error, error, want);
  mpq_abs(error, error);
  const double digits = minusLog10(error);
  mpq_clears(got, want, error, nullptr);
  return digits;
}
