// BigNum representation and arithmetic.
#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "unit/numbers/support.h"

using Digits = std::vector<std::uint32_t>;

TEST_F(NumbersTest, FromIntSignsAndDigits) {
  struct Row { std::int32_t v; std::uint32_t base; std::int32_t sign; Digits topFirst; };
  const Row rows[] = {
      {0, kInternalBase, 1, {0}},
      {-1, kInternalBase, -1, {1}},
      {-2147483647 - 1, kInternalBase, -1, {1, 0}},
      {255, 16, 1, {15, 15}},
      {5, 2, 1, {1, 0, 1}},
  };
  for (const Row& row : rows) {
    BigNum x = bigFromInt(row.v, row.base);
    EXPECT_EQ(x->sign, row.sign) << row.v;
    EXPECT_EQ(topFirstDigits(x), row.topFirst) << row.v << " base " << row.base;
    EXPECT_EQ(x->exponent, 0);
  }
  Ratio r = ratioFromInt(-7);
  EXPECT_EQ(r->numerator->sign, -1);
  Ratio none;
  ratioFree(none);  // releasing none does nothing
}

TEST_F(NumbersTest, AddSignsCarriesAndZeros) {
  struct Row { BigNum a, b; std::uint32_t R; std::int32_t sign; Digits topFirst; std::int32_t exponent; };
  Row rows[] = {
      {bigFromInt(5, 10), bigFromInt(-5, 10), 10, 1, {0}, 0},
      {bigFromInt(-3, 10), bigFromInt(-4, 10), 10, -1, {7}, 0},
      {bigFromInt(3, 10), bigFromInt(-40, 10), 10, -1, {3, 7}, 0},
      {digitsOf({kInternalMask}), bigFromInt(1, kInternalBase), kInternalBase, 1, {1, 0}, 0},
      {bigFromInt(1, 10), digitsOf({1}, 1, 2), 10, 1, {1, 0, 1}, 0},
  };
  for (Row& row : rows) {
    bigAdd(row.a, row.b, row.R);
    EXPECT_EQ(row.a->sign, row.sign);
    EXPECT_EQ(topFirstDigits(row.a), row.topFirst);
    EXPECT_EQ(row.a->exponent, row.exponent);
    EXPECT_TRUE(bigIsNormal(row.a, row.R));
  }
  // Adding a zero keeps the other operand's representation.
  BigNum x = digitsOf({1, 2, 0}, -1, 3);
  bigAdd(x, bigFromInt(0, 10), 10);
  EXPECT_EQ(topFirstDigits(x), (Digits{1, 2, 0}));
  EXPECT_EQ(x->exponent, 3);
  // Aliased operand doubles.
  BigNum y = bigFromInt(21, 10);
  bigAdd(y, y, 10);
  EXPECT_EQ(topFirstDigits(y), (Digits{4, 2}));
}

TEST_F(NumbersTest, MultiplyShortcutsAndSigns) {
  BigNum x = digitsOf({4, 2}, 1, 3);
  bigMultiply(x, bigFromInt(-1, 10), 10);
  EXPECT_EQ(x->sign, -1);
  EXPECT_EQ(topFirstDigits(x), (Digits{4, 2}));
  EXPECT_EQ(x->exponent, 3);
  BigNum z = bigFromInt(-5, 10);
  bigMultiply(z, bigFromInt(0, 10), 10);
  EXPECT_TRUE(bigIsZero(z));
  EXPECT_EQ(z->sign, -1);
  BigNum s = bigFromInt(99, 10);
  bigMultiply(s, s, 10);
  EXPECT_EQ(topFirstDigits(s), (Digits{9, 8, 0, 1}));
}

TEST_F(NumbersTest, DecimalDivisionDigitBudget) {
  BigNum third = bigFromInt(1, 10);
  bigDivide(third, bigFromInt(3, 10), 10);
  EXPECT_EQ(third->digitCount, 34);
  EXPECT_EQ(third->exponent, -34);
  for (std::int32_t i = 0; i < third->digitCount; ++i) EXPECT_EQ(third->digits[i], 3u);
  BigNum two = bigFromInt(6, 10);
  bigDivide(two, bigFromInt(3, 10), 10);
  EXPECT_EQ(topFirstDigits(two), (Digits{2}));
  EXPECT_EQ(two->exponent, 0);
  BigNum negative = bigFromInt(-7, 10);
  bigDivide(negative, bigFromInt(2, 10), 10);
  EXPECT_EQ(negative->sign, -1);
  EXPECT_EQ(topFirstDigits(negative), (Digits{3, 5}));
  EXPECT_EQ(negative->exponent, -1);
}

TEST_F(NumbersTest, RemainderTakesTheDividendsSign) {
  struct Row { std::int32_t a, b, expected; };
  const Row rows[] = {{7, 3, 1}, {-7, 3, -1}, {7, -3, 1}, {6, 3, 0}, {2, 5, 2}};
  for (const Row& row : rows) {
    BigNum a = bigFromInt(row.a, kInternalBase);
    bigRemainder(a, bigFromInt(row.b, kInternalBase));
    EXPECT_EQ(bigToInt(a, kInternalBase), row.expected) << row.a << " mod " << row.b;
    if (row.expected == 0) EXPECT_EQ(a->sign, 1);
  }
}

TEST_F(NumbersTest, ToIntWrapsAndTruncates) {
  EXPECT_EQ(bigToInt(digitsOf({2, 0}), kInternalBase), 0);  // 2^32
  EXPECT_EQ(bigToInt(digitsOf({1, 9}, 1, -1), 10), 1);      // 1.9
  EXPECT_EQ(bigToInt(digitsOf({1, 2}, -1, 1), 10), -120);
}

TEST_F(NumbersTest, KeepTop) {
  BigNum a = digitsOf({1, 2, 3});
  EXPECT_FALSE(bigKeepTop(a, 2));
  EXPECT_EQ(topFirstDigits(a), (Digits{1, 2, 3}));
  BigNum b = digitsOf({1, 2, 0});
  EXPECT_TRUE(bigKeepTop(b, 5));
  EXPECT_EQ(topFirstDigits(b), (Digits{1, 2}));
  EXPECT_EQ(b->exponent, 1);
  BigNum c = digitsOf({4, 0, 0, 7});
  EXPECT_TRUE(bigKeepTop(c, 3));
  EXPECT_EQ(topFirstDigits(c), (Digits{4}));
  EXPECT_EQ(c->exponent, 3);
}

TEST_F(NumbersTest, Powers) {
  BigNum one = bigFromInt(12345, kInternalBase);
  bigPower(one, 0);
  EXPECT_EQ(mpzOf(one), 1);
  BigNum p = bigFromInt(2, kInternalBase);
  bigPowerTrimmed(p, 64, kInternalBase);
  EXPECT_EQ(p->digitCount, 3);
  EXPECT_EQ(mpzOf(p), mpz_class("18446744073709551616"));
  BigNum q = bigFromInt(-3, kInternalBase);
  bigPower(q, 41);
  mpz_class expected;
  mpz_ui_pow_ui(expected.get_mpz_t(), 3, 41);
  EXPECT_EQ(mpzOf(q), -expected);
}

TEST_F(NumbersTest, MagnitudeComparisonsArePositional) {
  BigNum a = digitsOf({1, 0}, -1, 0);   // -10 in base 10
  BigNum b = digitsOf({1}, 1, 1);       // 10 as 1 x 10^1
  EXPECT_TRUE(bigEqualMagnitude(a, b));
  EXPECT_FALSE(bigLessMagnitude(a, b));
  BigNum c = digitsOf({1, 0, 1}, 1, -2);  // 1.01
  BigNum d = digitsOf({1}, 1, 0);
  EXPECT_TRUE(bigLessMagnitude(d, c));
  EXPECT_FALSE(bigLessMagnitude(c, d));
}

// Random operands of many words against GMP: the long divisions and the remainder.
TEST_F(NumbersTest, InternalDivisionAndRemainderMatchExactArithmetic) {
  std::uint32_t seed = 12345;
  if (const char* env = std::getenv("VEMO_TEST_SEED")) seed = std::uint32_t(std::atoi(env));
  std::mt19937 random(seed);
  gmp_randclass gmpRandom(gmp_randinit_default);
  gmpRandom.seed(seed);
  for (int round = 0; round < 300; ++round) {
    mpz_class a = gmpRandom.get_z_bits(1 + random() % 700);
    mpz_class b = gmpRandom.get_z_bits(1 + random() % 300) + 1;
    if (random() % 2) a = -a;
    if (random() % 2) b = -b;
    BigNum x = bigOfMpz(a);
    bigRemainder(x, bigOfMpz(b));
    mpz_class expected = a % b;  // truncating, sign of a
    EXPECT_EQ(mpzOf(x), expected) << "seed " << seed << " round " << round;
    EXPECT_TRUE(bigIsNormal(x, kInternalBase));

    // Exact quotients (a*b / b) come back exactly; the word budget is generous.
    mpz_class product = a * b;
    BigNum q = bigOfMpz(product);
    bigDivideInternal(q, bigOfMpz(b));
    EXPECT_EQ(mpzOf(q), a) << "seed " << seed << " round " << round;
  }
}
