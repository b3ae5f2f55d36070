// Helpers for the number package's tests: build numbers from digit lists and texts,
// render them, and compare with exact GMP values.
#pragma once
#include <gmpxx.h>

#include <string>
#include <vector>

#include "numbers/numbers.h"
#include "support/gmp_bridge.h"

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

// Sets radix 10 with 33 digits for each test, as the calculator starts.
class NumbersTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::strcpy(numbers.decimalSymbol, ".");
    setRadixAndPrecision(10, 33);
  }
};
