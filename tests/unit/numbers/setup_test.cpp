// Radix and precision set-up, the stored constants, and the bitwise operations.
#include <gtest/gtest.h>

#include <cstring>

#include "numbers/stored_constants.h"
#include "unit/numbers/support.h"

TEST_F(NumbersTest, DigitsPerWordAndEpsilon) {
  struct Row { std::int32_t R, g; };
  const Row rows[] = {{2, 30}, {3, 19}, {4, 15}, {5, 13}, {6, 11}, {7, 11}, {8, 10},
                      {9, 9},  {10, 9}, {11, 8}, {14, 8}, {15, 7}, {16, 7}};
  for (const Row& row : rows) EXPECT_EQ(digitsPerWordFor(row.R), row.g) << row.R;

  struct SetupRow { std::int32_t R, P; const char* epsilon; };
  const SetupRow setups[] = {{10, 33, "1/1000000000000000000000000000000000"},
                             {16, 9, "1/68719476736"},
                             {2, 33, "1/8589934592"}};
  for (const SetupRow& row : setups) {
    abortRequested.store(1);
    setRadixAndPrecision(row.R, row.P);
    EXPECT_EQ(abortRequested.load(), 0);
    EXPECT_EQ(numbers.precisionDigits, row.P);
    EXPECT_EQ(mpqOf(kEpsilon), mpq_class(row.epsilon)) << row.R;
    EXPECT_EQ(mpqOf(kMinusEpsilon), -mpq_class(row.epsilon)) << row.R;
    EXPECT_EQ(mpqOf(kMask32), mpq_class("4294967295"));
    EXPECT_EQ(mpqOf(kMask16), 65535);
    EXPECT_EQ(mpqOf(kMask8), 255);
    EXPECT_EQ(mpzOf(bigRadix), row.R);
  }
}

// Each irrational stored constant agrees with a 60-digit reference to 4e-47.
TEST_F(NumbersTest, StoredConstantsAreAccurate) {
  struct Row { const Ratio* constant; const char* reference; };
  const Row rows[] = {
      {&kPi, "3.14159265358979323846264338327950288419716939937510582097494"},
      {&kTwoPi, "6.28318530717958647692528676655900576839433879875021164194989"},
      {&kHalfPi, "1.57079632679489661923132169163975144209858469968755291048747"},
      {&kSqrtE, "1.64872127070012814684865078781416357165377610071014801157508"},
      {&kE, "2.71828182845904523536028747135266249775724709369995957496697"},
      {&kLn10, "2.30258509299404568401799145468436420760110148862877297603333"},
      {&kLn2, "0.693147180559945309417232121458176568075500134360255254120680"},
  };
  loadStoredConstants();
  for (const Row& row : rows) {
    mpf_class reference(row.reference, 256);
    mpq_class value = mpqOf(*row.constant);
    mpf_class approx(value, 256);
    mpf_class relative = abs((approx - reference) / reference);
    EXPECT_LT(relative, mpf_class("4e-47", 256)) << row.reference;
    EXPECT_EQ(wordLength((*row.constant)->numerator), 6);
    EXPECT_EQ(wordLength((*row.constant)->denominator), 6);
  }
}

TEST_F(NumbersTest, ShiftsAndBitwiseOperations) {
  struct Row { void (*op)(Ratio&, const Ratio&); const char* a; const char* b; const char* expected; };
  const Row rows[] = {
      {ratioShiftLeft, "1", "4", "16"},
      {ratioShiftRight, "16", "4", "1"},
      {ratioShiftRight, "5", "1", "5/2"},
      {ratioShiftLeft, "5", "-1", "5/2"},
      {ratioShiftLeft, "7.9", "1", "14"},
      {ratioShiftLeft, "1", "40", "1099511627776"},
      {ratioAnd, "12", "10", "8"},
      {ratioOr, "12", "10", "14"},
      {ratioXor, "12", "10", "6"},
      {ratioOr, "1099511627776", "1", "1099511627777"},
      {ratioAnd, "2147483648", "2147483647", "0"},
      {ratioAnd, "7.5", "3", "3"},
      {ratioXor, "7.5", "0.9", "7"},
      {ratioAnd, "-6", "3", "-2"},
      {ratioAnd, "6", "-3", "2"},
  };
  for (const Row& row : rows) {
    Ratio a = parse(row.a);
    row.op(a, parse(row.b));
    EXPECT_EQ(mpqOf(a), mpq_class(row.expected)) << row.a << " op " << row.b;
  }
  Ratio minusZero = parse("-4");
  ratioAnd(minusZero, parse("3"));
  EXPECT_EQ(render(minusZero), "-0.");
  setRadixAndPrecision(16, 9);
  Ratio word = parse("FFFFFFFF");
  ratioAnd(word, parse("FF"));
  EXPECT_EQ(render(word), "FF.");
}
