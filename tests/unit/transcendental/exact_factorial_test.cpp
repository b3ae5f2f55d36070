// Exact factorials and integer powers of long results against GMP, for arguments on both
// sides of the direct product, the Karatsuba and the transform thresholds.
#include <gmp.h>
#include <gtest/gtest.h>

#include <string>

#include "unit/transcendental/test_support.h"

namespace {

// The exact integer a Ratio with denominator 1 holds.
void integerOf(mpz_t out, const Ratio& r) {
  EXPECT_EQ(r->denominator->digitCount, 1);
  EXPECT_EQ(r->denominator->digits[0], 1u);
  const BigNum& n = r->numerator;
  mpz_import(out, std::size_t(n->digitCount), -1, sizeof(std::uint32_t), 0, 1, n->digits);
  mpz_mul_2exp(out, out, 31 * std::uint32_t(n->exponent));
  if (n->sign < 0) mpz_neg(out, out);
}

}  // namespace

TEST_F(TranscendentalTest, LongFactorialsMatchGmp) {
  mpz_t expected, actual;
  mpz_init(expected);
  mpz_init(actual);
  for (std::int32_t n : {0, 1, 2, 20, 63, 64, 65, 127, 300, 1000, 1024, 4097, 10000, 65537, 200000}) {
    Ratio x = ratioFromInt(n);
    ratioFactorial(x);
    ASSERT_TRUE(ratioIsNormal(x)) << n << "!";
    integerOf(actual, x);
    mpz_fac_ui(expected, static_cast<unsigned long>(n));
    EXPECT_EQ(mpz_cmp(actual, expected), 0) << n << "!";
  }
  mpz_clear(expected);
  mpz_clear(actual);
}

TEST_F(TranscendentalTest, LongIntegerPowersMatchGmp) {
  struct Row { std::int32_t base; std::int32_t exponent; };
  const Row rows[] = {{7, 50000}, {-3, 77777}, {2, 100003}, {12345, 3001}, {2147483647, 2000}};
  mpz_t expected, actual;
  mpz_init(expected);
  mpz_init(actual);
  for (const Row& row : rows) {
    Ratio x = ratioFromInt(row.base);
    Ratio y = ratioFromInt(row.exponent);
    ratioPow(x, y);
    integerOf(actual, x);
    mpz_set_si(expected, row.base);
    mpz_pow_ui(expected, expected, static_cast<unsigned long>(row.exponent));
    EXPECT_EQ(mpz_cmp(actual, expected), 0) << row.base << "^" << row.exponent;
  }
  mpz_clear(expected);
  mpz_clear(actual);
}
