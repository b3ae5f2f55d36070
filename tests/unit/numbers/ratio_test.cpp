// Ratio arithmetic: trimming, the operations and their errors, comparisons.
#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "unit/numbers/support.h"

namespace {
ErrorCode errorOf(void (*op)(Ratio&, const Ratio&), const char* a, const char* b) {
  Ratio x = parse(a);
  try {
    op(x, parse(b));
  } catch (const ArithmeticError& e) {
    return e.code();
  }
  ADD_FAILURE() << a << " op " << b << " raised nothing";
  return ErrorCode(99);
}

// A value of n full words in both parts.
Ratio wideValue(std::int32_t words, std::uint32_t fill) {
  Ratio r = ratioAlloc();
  r->numerator = bigAlloc(words);
  r->denominator = bigAlloc(words);
  for (BigNum* part : {&r->numerator, &r->denominator}) {
    (*part)->sign = 1;
    (*part)->digitCount = words;
    for (std::int32_t i = 0; i < words; ++i) (*part)->digits[i] = fill + std::uint32_t(i);
  }
  r->denominator->digits[words - 1] += 7;
  return r;
}
}  // namespace

TEST_F(NumbersTest, TrimKeepsTheShorterPartAtItsWordBudget) {
  struct Row { std::int32_t R, P, cutAt, kept; };
  const Row rows[] = {{10, 33, 6, 5}, {16, 9, 4, 3}, {8, 11, 4, 3}, {2, 33, 4, 3}, {10, 65, 10, 9}};
  for (const Row& row : rows) {
    setRadixAndPrecision(row.R, row.P);
    Ratio below = wideValue(row.cutAt - 1, 1000);
    ratioTrim(below);
    EXPECT_EQ(wordLength(below->denominator), row.cutAt - 1) << "radix " << row.R;
    Ratio at = wideValue(row.cutAt, 1000);
    mpq_class before = mpqOf(at);
    ratioTrim(at);
    EXPECT_EQ(wordLength(at->numerator), row.kept) << "radix " << row.R << " P " << row.P;
    EXPECT_EQ(wordLength(at->denominator), row.kept) << "radix " << row.R << " P " << row.P;
    mpq_class after = mpqOf(at);
    mpq_class relative = abs((after - before) / before);
    EXPECT_LT(relative, mpq_class(1, 1000000)) << "radix " << row.R;
  }
  // A product of two 6-word values ends with 5 words in the shorter part.
  setRadixAndPrecision(10, 33);
  Ratio a = wideValue(6, 77);
  ratioMultiply(a, wideValue(6, 99));
  EXPECT_EQ(std::min(wordLength(a->numerator), wordLength(a->denominator)), 5);
}

TEST_F(NumbersTest, SumsAreNotReducedToLowestTerms) {
  Ratio a = parse("1");
  ratioDivide(a, parse("3"));
  Ratio b = parse("1");
  ratioDivide(b, parse("6"));
  ratioAdd(a, b);
  EXPECT_EQ(mpzOf(a->numerator), 9);
  EXPECT_EQ(mpzOf(a->denominator), 18);
  // Like denominators add numerators only.
  Ratio tenth = parse("0.1");
  ratioAdd(tenth, parse("0.2"));
  EXPECT_EQ(mpzOf(tenth->numerator), 3);
  EXPECT_EQ(mpzOf(tenth->denominator), 10);
}

TEST_F(NumbersTest, ZeroProductsAndQuotients) {
  Ratio z = parse("-5");
  ratioMultiply(z, parse("0"));
  EXPECT_TRUE(ratioIsZero(z));
  EXPECT_EQ(z->numerator->sign, -1);
  EXPECT_EQ(render(z), "-0.");
  Ratio q = parse("0");
  ratioDivide(q, parse("5"));
  EXPECT_EQ(mpzOf(q->denominator), 1);
}

TEST_F(NumbersTest, DivisionAndModuloErrors) {
  EXPECT_EQ(errorOf(ratioDivide, "0", "0"), Undefined);
  EXPECT_EQ(errorOf(ratioDivide, "7", "0"), Overflow);
  EXPECT_EQ(errorOf(ratioDivide, "-7", "0"), Underflow);
  EXPECT_EQ(errorOf(ratioModulo, "7", "0"), Undefined);
  EXPECT_EQ(errorOf(ratioModulo, "0", "0"), Undefined);
}

TEST_F(NumbersTest, ModuloFractionIntegerPart) {
  struct Row { const char* a; const char* b; const char* expected; };
  const Row modulo[] = {{"7", "3", "1."}, {"-7", "3", "-1."}, {"7", "-3", "1."},
                        {"7.5", "2", "1.5"}, {"1.25", "0.5", "0.25"}};
  for (const Row& row : modulo) {
    Ratio a = parse(row.a);
    ratioModulo(a, parse(row.b));
    EXPECT_EQ(render(a), row.expected) << row.a << " mod " << row.b;
  }
  Ratio f = parse("-2.5");
  ratioFraction(f);
  EXPECT_EQ(render(f), "-0.5");
  struct IntRow { const char* a; const char* expected; };
  const IntRow integerParts[] = {
      {"-2.5", "-2."},
      {"2.9999999999999999999999999999999999999", "3."},  // rounded to 33 digits first
      {"123456789.987", "123456789."},
      {"0.4", "0."},
  };
  for (const IntRow& row : integerParts) {
    Ratio a = parse(row.a);
    ratioIntegerPart(a);
    EXPECT_EQ(render(a), row.expected) << row.a;
  }
}

TEST_F(NumbersTest, ToIntAndIntegerPowers) {
  Ratio big = parse("4294967301");  // 2^32 + 5
  EXPECT_EQ(ratioToInt(big), 5);
  EXPECT_EQ(ratioToInt(parse("-7.9")), -7);
  Ratio p = parse("2");
  ratioIntPower(p, -3);
  EXPECT_EQ(mpqOf(p), mpq_class(1, 8));
  Ratio zero = parse("0");
  ratioIntPower(zero, 0);
  EXPECT_EQ(mpqOf(zero), 1);
  // The most negative count is negated without overflow: 1^(-2^31) = 1.
  Ratio one = parse("1");
  ratioIntPower(one, -2147483647 - 1);
  EXPECT_EQ(mpqOf(one), 1);
}

TEST_F(NumbersTest, ComparisonsTakeTheSignProduct) {
  Ratio seven = parse("7");
  Ratio alsoSeven = ratioAlloc();
  alsoSeven->numerator = bigFromInt(-7, kInternalBase);
  alsoSeven->denominator = bigFromInt(-1, kInternalBase);
  EXPECT_TRUE(ratioEqual(seven, alsoSeven));
  Ratio half = parse("0.5");
  Ratio twoQuarters = ratioAlloc();
  twoQuarters->numerator = bigFromInt(2, kInternalBase);
  twoQuarters->denominator = bigFromInt(4, kInternalBase);
  EXPECT_TRUE(ratioEqual(half, twoQuarters));
  Ratio minusHalf = ratioAlloc();
  minusHalf->numerator = bigFromInt(-1, kInternalBase);
  minusHalf->denominator = bigFromInt(2, kInternalBase);
  Ratio minusThird = ratioAlloc();
  minusThird->numerator = bigFromInt(1, kInternalBase);
  minusThird->denominator = bigFromInt(-3, kInternalBase);
  EXPECT_TRUE(ratioLess(minusHalf, minusThird));
  EXPECT_TRUE(ratioLessEqual(minusHalf, minusThird));
  EXPECT_FALSE(ratioGreater(minusHalf, minusThird));
  EXPECT_TRUE(ratioGreaterEqual(seven, alsoSeven));
  EXPECT_FALSE(ratioNotEqual(seven, alsoSeven));
  EXPECT_TRUE(ratioNotEqual(half, minusHalf));
  // Read operands keep their representation.
  EXPECT_EQ(alsoSeven->denominator->sign, -1);
  EXPECT_EQ(minusThird->denominator->sign, -1);
}

TEST_F(NumbersTest, AliasedOperands) {
  Ratio a = parse("2.5");
  ratioAdd(a, a);
  EXPECT_EQ(render(a), "5.");
  Ratio third = parse("1");
  ratioDivide(third, parse("3"));
  ratioAdd(third, third);
  EXPECT_EQ(render(third), "0.666666666666666666666666666666667");
  Ratio b = parse("-1.5");
  ratioMultiply(b, b);
  EXPECT_EQ(render(b), "2.25");
  Ratio c = parse("7");
  ratioSubtract(c, c);
  EXPECT_TRUE(ratioIsZero(c));
  Ratio d = parse("-3");
  ratioDivide(d, d);
  EXPECT_EQ(render(d), "1.");
  Ratio e = parse("7.5");
  ratioModulo(e, e);
  EXPECT_TRUE(ratioIsZero(e));
}

// Sums, differences and products of short values are exact: compare with GMP.
TEST_F(NumbersTest, ShortValuesAreExact) {
  std::uint32_t seed = 777;
  if (const char* env = std::getenv("VEMO_TEST_SEED")) seed = std::uint32_t(std::atoi(env));
  std::mt19937 random(seed);
  auto randomValue = [&](mpq_class& exact) {
    std::int32_t n = std::int32_t(random() % 2000000) - 1000000;
    std::int32_t scale = std::int32_t(random() % 4);
    std::string text = std::to_string(n < 0 ? -n : n);
    while (text.size() <= std::size_t(scale)) text.insert(0, "0");
    if (scale > 0) text.insert(text.size() - scale, ".");
    if (n < 0) text.insert(0, "-");
    mpz_class ten = 1;
    for (int i = 0; i < scale; ++i) ten *= 10;
    exact = mpq_class(n, ten);
    exact.canonicalize();
    return parse(text);
  };
  for (int round = 0; round < 500; ++round) {
    mpq_class x, y;
    Ratio a = randomValue(x);
    Ratio b = randomValue(y);
    Ratio sum = ratioCopy(a), difference = ratioCopy(a), product = ratioCopy(a);
    ratioAdd(sum, b);
    ratioSubtract(difference, b);
    ratioMultiply(product, b);
    EXPECT_EQ(mpqOf(sum), x + y) << "seed " << seed << " round " << round;
    EXPECT_EQ(mpqOf(difference), x - y) << "seed " << seed << " round " << round;
    EXPECT_EQ(mpqOf(product), x * y) << "seed " << seed << " round " << round;
    EXPECT_EQ(ratioLess(a, b), x < y);
    EXPECT_EQ(ratioEqual(a, b), x == y);
    EXPECT_TRUE(ratioIsNormal(sum) && ratioIsNormal(difference) && ratioIsNormal(product));
    if (y != 0) {
      Ratio quotient = ratioCopy(a);
      ratioDivide(quotient, b);
      EXPECT_EQ(mpqOf(quotient), x / y) << "seed " << seed << " round " << round;
    }
  }
}
