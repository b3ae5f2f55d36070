// The one bridge between the number package and GMP for the tests: the exact value of a
// BigNum or a Ratio, and a BigNum made from a GMP integer.
#pragma once
#include <gmpxx.h>

#include <vector>

#include "numbers/bignum.h"

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
