// Helpers for the number package's tests: build numbers from digit lists and texts,
// render them, and compare with exact GMP values.
#pragma once
#include <gmpxx.h>

#include <string>
#include <vector>

#include "numbers/numbers.h"

// A BigNum from digits given most significant first.
inline BigNum digitsOf(std::vector<std::uint32_t> topFirst, std::int32_t sign = 1,
                       std::int32_t exponent = 0) {
  BigNum x = bigAlloc(std::int32_t(topFirst.size()));
  x->sign = sign;
  x->exponent = exponent;
  x->digitCount = std::int32_t(topFirst.size());
  for (std::size_t i = 0; i < topFirst.size(); ++i)
    x->digits[i] = topFirst[topFirst.size() - 1 - i];
  return x;
}

// The digits of x, most significant first.
inline std::vector<std::uint32_t> topFirstDigits(const BigNum& x) {
  std::vector<std::uint32_t> out;
  for (std::int32_t i = x->digitCount - 1; i >= 0; --i) out.push_back(x->digits[i]);
  return out;
}

// A value typed in the current radix, e.g. "-12.5", "1.5e+3", "1A.8^-2".
inline Ratio parse(const std::string& text) {
  bool negative = !text.empty() && text[0] == '-';
  return ratioFromText(negative, text.c_str() + (negative ? 1 : 0), false, nullptr);
}

inline std::string render(const Ratio& r, int format = FormatAutomatic) {
  Ratio copy = ratioCopy(r);
  HeapText text = ratioToText(copy, std::uint32_t(numbers.radix), format);
  return text.get();
}

// Exact values for comparisons.
inline mpz_class mpzOf(const BigNum& x, std::uint32_t base = kInternalBase) {
  mpz_class v = 0;
  if (base == kInternalBase) {  // 31-bit words: one import, linear in the length
    mpz_import(v.get_mpz_t(), std::size_t(x->digitCount), -1, sizeof(std::uint32_t), 0, 1,
               x->digits);
  } else {
    for (std::int32_t i = x->digitCount - 1; i >= 0; --i) v = v * base + x->digits[i];
  }
  if (x->exponent >= 0) {
    mpz_class scale;
    mpz_ui_pow_ui(scale.get_mpz_t(), base, std::uint32_t(x->exponent));
    v *= scale;
  }
  return x->sign < 0 ? mpz_class(-v) : v;
}

inline mpq_class mpqOf(const Ratio& r) {
  mpq_class q(mpzOf(r->numerator), mpzOf(r->denominator));
  q.canonicalize();
  return q;
}

inline BigNum bigOfMpz(const mpz_class& value) {
  mpz_class v = abs(value);
  std::vector<std::uint32_t> littleFirst((mpz_sizeinbase(v.get_mpz_t(), 2) + 30) / 31 + 1);
  std::size_t count = 0;
  mpz_export(littleFirst.data(), &count, -1, sizeof(std::uint32_t), 0, 1, v.get_mpz_t());
  littleFirst.resize(count == 0 ? 1 : count);
  BigNum x = bigAlloc(std::int32_t(littleFirst.size()));
  x->sign = value < 0 ? -1 : 1;
  x->digitCount = std::int32_t(littleFirst.size());
  for (std::size_t i = 0; i < littleFirst.size(); ++i) x->digits[i] = littleFirst[i];
  return x;
}

// Sets radix 10 with 33 digits for each test, as the calculator starts.
class NumbersTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::strcpy(numbers.decimalSymbol, ".");
    setRadixAndPrecision(10, 33);
  }
};
