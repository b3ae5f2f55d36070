// Text to number and number to text.
#include <gtest/gtest.h>

#include <cstring>

#include "unit/numbers/support.h"

namespace {
struct ParseRow {
  std::int32_t radix;
  const char* symbol;
  const char* text;
  mpq_class expected;
  std::int32_t sign;  // sign of the numerator read
};

mpq_class q(const char* text) {
  mpq_class v(text);
  v.canonicalize();
  return v;
}
}  // namespace

TEST_F(NumbersTest, ParsesTheInputSyntax) {
  const ParseRow rows[] = {
      {10, ".", "12.5", q("25/2"), 1},
      {10, ".", "-0.0012", q("-12/10000"), -1},
      {10, ".", "1.5e+3", q("1500"), 1},
      {10, ".", "1.e5", q("100000"), 1},
      {10, ".", "007", q("7"), 1},
      {10, ".", "0", q("0"), 1},
      {10, ".", "0.000", q("0"), 1},
      {10, ".", "0e5", q("0"), 1},
      {10, ".", "-", q("0"), -1},
      {10, ".", "1.2.3", q("12/10"), 1},
      {10, ".", "12x5", q("12"), 1},
      {10, ".", "2^3", q("2000"), 1},
      {10, ",", ",5", q("1/2"), 1},
      {10, ",", ".5", q("1/2"), 1},
      {10, ",", "3,25e-1", q("325/1000"), 1},
      {16, ".", "ff", q("255"), 1},
      {16, ".", "FF", q("255"), 1},
      {16, ".", "1A.8^-2", q("424/4096"), 1},
      {8, ".", "17e5", q("15"), 1},
      {2, ".", "101.1", q("11/2"), 1},
  };
  for (const ParseRow& row : rows) {
    setRadixAndPrecision(row.radix, row.radix == 10 ? 33 : 9);
    std::strcpy(numbers.decimalSymbol, row.symbol);
    BigNum digits = bigFromText(row.text);
    ASSERT_TRUE(digits) << row.text;
    Ratio value = ratioFromRadixBig(digits, std::uint32_t(row.radix));
    EXPECT_EQ(mpqOf(value), row.expected) << "radix " << row.radix << " text " << row.text;
    EXPECT_EQ(value->numerator->sign, row.sign) << row.text;
    EXPECT_TRUE(ratioIsNormal(value)) << row.text;
  }
  std::strcpy(numbers.decimalSymbol, ".");
  EXPECT_FALSE(bigFromText(""));
}

TEST_F(NumbersTest, LongDecimalSymbolAlsoAcceptsItsFirstCharacter) {
  std::strcpy(numbers.decimalSymbol, ",.:");
  EXPECT_EQ(mpqOf(parse("1,.:5")), q("3/2"));
  EXPECT_EQ(mpqOf(parse("1,5e+2")), q("150"));  // as rendered: first character only
  std::strcpy(numbers.decimalSymbol, ".");
}

TEST_F(NumbersTest, ParsedMantissaKeepsPrecisionDigits) {
  // 33 significant digits survive; trailing zeros are stripped into the exponent.
  BigNum x = bigFromText("123456789012345678901234567890123");
  EXPECT_EQ(x->digitCount, 33);
  BigNum y = bigFromText("1200");
  EXPECT_EQ(y->digitCount, 2);
  EXPECT_EQ(y->exponent, 2);
}

TEST_F(NumbersTest, TextWithExponentPieces) {
  Ratio tenToFive = ratioFromText(false, "", false, "5");
  EXPECT_EQ(mpqOf(tenToFive), 100000);
  Ratio r = ratioFromText(true, "1.5", true, "2");
  EXPECT_EQ(mpzOf(r->numerator), -15);
  EXPECT_EQ(mpzOf(r->denominator), 1000);
  Ratio zero = ratioFromText(false, nullptr, false, nullptr);
  EXPECT_TRUE(ratioIsZero(zero));
}

TEST_F(NumbersTest, FormatsDecimalValues) {
  struct Row { const char* a; const char* divisor; int format; const char* expected; };
  const Row rows[] = {
      {"12", "1", 0, "12."},
      {"120", "1", 0, "120."},
      {"0.05", "1", 0, "0.05"},
      {"0", "1", 0, "0."},
      {"-12.5", "1", 0, "-12.5"},
      {"1", "3", 0, "0.333333333333333333333333333333333"},
      {"2", "3", 0, "0.666666666666666666666666666666667"},
      {"-2", "3", 0, "-0.666666666666666666666666666666667"},
      {"1e35", "1", 0, "100000000000000000000000000000000000."},
      {"1e36", "1", 0, "1.e+36"},
      {"1e-35", "1", 0, "0.00000000000000000000000000000000001"},
      {"1e-36", "1", 0, "1.e-36"},
      {"1e40", "3", 0, "3.3333333333333333333333333333333e+39"},
      {"1", "1", 1, "1.e+0"},
      {"12.5", "1", 1, "1.25e+1"},
      {"123.5", "1", 1, "1.235e+2"},
      {"0.9999999999999999999999999999999999999", "1", 0, "1."},
      {"-0.9999999999999999999999999999999999999", "1", 0, "-1."},
      {"9.9999999999999999999999999999999999e99", "1", 0, "1.e+100"},
  };
  for (const Row& row : rows) {
    Ratio a = parse(row.a);
    ratioDivide(a, parse(row.divisor));
    EXPECT_EQ(render(a, row.format), row.expected) << row.a << " / " << row.divisor;
  }
}

TEST_F(NumbersTest, FormatsOtherRadices) {
  setRadixAndPrecision(16, 9);
  EXPECT_EQ(render(parse("FF")), "FF.");
  Ratio big = parse("10");
  ratioIntPower(big, 40);  // 16^40
  EXPECT_EQ(render(big), "1.^+28");
  setRadixAndPrecision(2, 33);
  EXPECT_EQ(render(parse("-101")), "-101.");
}

// A Byte word in radix 2 has P = 9: an exponent with more digits than the mantissa has
// room for still leaves one rounded mantissa digit, and the text fits its buffer.
TEST_F(NumbersTest, HugeExponentInATinyPrecisionKeepsOneDigit) {
  setRadixAndPrecision(2, 9);
  Ratio big = parse("11");
  ratioIntPower(big, 70000);
  std::string text = render(big);
  ASSERT_GE(text.size(), 4u);
  EXPECT_EQ(text.substr(0, 3), "1.^");
  EXPECT_EQ(text[3], '+');
  Ratio third = parse("1");
  ratioDivide(third, big);
  std::string small = render(third);
  EXPECT_EQ(small.substr(0, 4), "1.^-");
}

TEST_F(NumbersTest, RoundTripThroughTextIsStable) {
  // ratioIntegerPart reads back what the renderer wrote: large and small values round-trip.
  const char* texts[] = {"1.2345678901234567890123456789012e+80", "-7.5e-50", "31415.9265"};
  for (const char* text : texts) {
    Ratio a = parse(text);
    std::string once = render(a);
    Ratio b = parse(once);
    EXPECT_EQ(render(b), once) << text;
  }
}
