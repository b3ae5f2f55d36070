// The worked examples of every function at the default precision: exact zeros and ones,
// displayed values, tolerance bands and every domain error with its code.
#include <string>

#include "test_support.h"

namespace {

// expect: "=0" exactly zero, "=1" exactly one, "!" + error name, or the display text.
struct Example {
  const char* function;
  AngleUnit unit;
  const char* x;
  const char* y;
  const char* expect;
};

const Example kExamples[] = {
    // Exponential and logarithms.
    {"exp", Radians, "0", nullptr, "=1"},
    {"exp", Radians, "1", nullptr, "2.71828182845904523536028747135266"},
    {"exp", Radians, "100000.5", nullptr, "!InvalidArgument"},
    {"exp", Radians, "-100001", nullptr, "!InvalidArgument"},
    {"exp", Radians, "1e-40", nullptr, "=1"},
    {"ln", Radians, "1", nullptr, "=0"},
    {"ln", Radians, "0", nullptr, "!InvalidArgument"},
    {"ln", Radians, "-1", nullptr, "!InvalidArgument"},
    {"ln", Radians, "1e-40", nullptr, "-92.1034037197618273607196581873746"},
    {"ln", Radians, "0.5", nullptr, "-0.693147180559945309417232121458177"},
    {"log10", Radians, "1000", nullptr, "3."},
    {"log10", Radians, "0", nullptr, "!InvalidArgument"},
    // Powers and roots.
    {"pow", Radians, "10", "43430", "!InvalidArgument"},
    {"pow", Radians, "0", "0", "=1"},
    {"pow", Radians, "0", "5", "=0"},
    {"pow", Radians, "0", "-1", "!InvalidArgument"},
    {"pow", Radians, "-2", "3", "-8."},
    {"pow", Radians, "-2", "2", "4."},
    {"pow", Radians, "-8", "1/3", "-2."},
    {"pow", Radians, "-8", "-1/3", "-0.5"},
    {"pow", Radians, "-4", "1/2", "!InvalidArgument"},
    {"pow", Radians, "-8", "2/3", "!InvalidArgument"},
    {"pow", Radians, "-2", "1.5", "!InvalidArgument"},
    {"pow", Radians, "2", "2.0000000000000000000000000000000000000001", "4."},
    {"pow", Radians, "2", "1.9999999999999999999999999999999999999999", "4."},
    {"pow", Radians, "1e-40", "2", "1.e-80"},
    {"pow", Radians, "5", "0", "=1"},
    {"root", Radians, "-27", "3", "-3."},
    {"root", Radians, "16", "4", "2."},
    {"root", Radians, "-16", "4", "!InvalidArgument"},
    {"root", Radians, "-32", "5", "-2."},
    {"root", Radians, "5", "0", "!Overflow"},
    // Sine, cosine, tangent.
    {"sin", Degrees, "180", nullptr, "=0"},
    {"sin", Degrees, "360", nullptr, "=0"},
    {"sin", Degrees, "-720", nullptr, "=0"},
    {"sin", Degrees, "90", nullptr, "1."},
    {"sin", Degrees, "-30", nullptr, "-0.5"},
    {"sin", Degrees, "0", nullptr, "=0"},
    {"sin", Gradients, "200", nullptr, "=0"},
    {"cos", Degrees, "90", nullptr, "=0"},
    {"cos", Degrees, "0", nullptr, "=1"},
    {"cos", Degrees, "300", nullptr, "0.5"},
    {"cos", Gradients, "100", nullptr, "=0"},
    {"cos", Radians, "0", nullptr, "=1"},
    {"tan", Degrees, "90", nullptr, "!InvalidArgument"},
    {"tan", Degrees, "270", nullptr, "!InvalidArgument"},
    {"tan", Degrees, "-90", nullptr, "!InvalidArgument"},
    {"tan", Gradients, "100", nullptr, "!InvalidArgument"},
    {"tan", Gradients, "300", nullptr, "!InvalidArgument"},
    {"tan", Degrees, "45", nullptr, "1."},
    {"tan", Degrees, "0", nullptr, "=0"},
    {"tan", Degrees, "180", nullptr, "=0"},
    // Inverse trigonometric functions.
    {"asin", Degrees, "1", nullptr, "90."},
    {"asin", Degrees, "-1", nullptr, "-90."},
    {"asin", Degrees, "0", nullptr, "=0"},
    {"asin", Degrees, "1.0000000000000000000000000000000000000001", nullptr, "90."},
    {"asin", Degrees, "1.0001", nullptr, "!InvalidArgument"},
    {"asin", Degrees, "-1.0001", nullptr, "!InvalidArgument"},
    {"asin", Gradients, "1", nullptr, "100."},
    {"asin", Radians, "1", nullptr, "1.57079632679489661923132169163975"},
    {"asin", Degrees, "0.5", nullptr, "30."},
    {"acos", Degrees, "1", nullptr, "=0"},
    {"acos", Degrees, "-1", nullptr, "180."},
    {"acos", Gradients, "-1", nullptr, "200."},
    {"acos", Degrees, "1.0000000000000000000000000000000000000001", nullptr, "=0"},
    {"acos", Degrees, "1.0001", nullptr, "!InvalidArgument"},
    {"acos", Degrees, "0.5", nullptr, "60."},
    {"atan", Degrees, "1", nullptr, "45."},
    {"atan", Degrees, "-1", nullptr, "-45."},
    {"atan", Degrees, "1e100", nullptr, "90."},
    {"atan", Degrees, "-1e100", nullptr, "-90."},
    {"atan", Radians, "0", nullptr, "=0"},
    // Hyperbolic functions and their inverses.
    {"sinh", Radians, "0", nullptr, "=0"},
    {"cosh", Radians, "0", nullptr, "=1"},
    {"tanh", Radians, "0", nullptr, "=0"},
    {"asinh", Radians, "0", nullptr, "=0"},
    {"acosh", Radians, "1", nullptr, "=0"},
    {"atanh", Radians, "0", nullptr, "=0"},
    {"sinh", Radians, "100000.5", nullptr, "!InvalidArgument"},
    {"cosh", Radians, "-100000.5", nullptr, "!InvalidArgument"},
    {"tanh", Radians, "100", nullptr, "1."},
    {"tanh", Radians, "-2", nullptr, "-0.964027580075816883946413724100923"},
    {"tanh", Radians, "2", nullptr, "0.964027580075816883946413724100923"},
    {"acosh", Radians, "0.9999", nullptr, "!InvalidArgument"},
    {"atanh", Radians, "0.5", nullptr, "0.549306144334054845697622618461263"},
    {"atanh", Radians, "1", nullptr, "!Overflow"},
    {"atanh", Radians, "-1", nullptr, "!InvalidArgument"},
    {"atanh", Radians, "2", nullptr, "!InvalidArgument"},
    {"asinh", Radians, "-1e17", nullptr, "-39.8370937614587219377230868510924"},
    // Factorial.
    {"factorial", Radians, "0", nullptr, "=1"},
    {"factorial", Radians, "1", nullptr, "=1"},
    {"factorial", Radians, "5", nullptr, "120."},
    {"factorial", Radians, "20", nullptr, "2432902008176640000."},
    {"factorial", Radians, "-1", nullptr, "!InvalidArgument"},
    {"factorial", Radians, "-3", nullptr, "!InvalidArgument"},
    {"factorial", Radians, "-3.0000000000000000000000000000000000000001", nullptr, "-5.e+39"},
    {"factorial", Radians, "3.0000000000000000000000000000000000000001", nullptr, "6."},
    {"factorial", Radians, "0.5", nullptr, "0.886226925452758013649083741670573"},
    {"factorial", Radians, "-0.5", nullptr, "1.77245385090551602729816748334115"},
    {"factorial", Radians, "-1.5", nullptr, "-3.54490770181103205459633496668229"},
    {"factorial", Radians, "2.5", nullptr, "3.32335097044784255118406403126465"},
};

const char* errorName(ErrorCode code) {
  switch (code) {
    case DivideByZero: return "DivideByZero";
    case InvalidArgument: return "InvalidArgument";
    case Undefined: return "Undefined";
    case Overflow: return "Overflow";
    case Underflow: return "Underflow";
    case Aborted: return "Aborted";
    case OutOfMemory: return "OutOfMemory";
  }
  return "?";
}

std::string describe(const Example& e) {
  std::string s = std::string(e.function) + "(" + e.x;
  if (e.y != nullptr) s += ", " + std::string(e.y);
  return s + ") " + unitName(e.unit);
}

}  // namespace

TEST_F(TranscendentalTest, WorkedExamples) {
  for (const Example& e : kExamples) {
    Ratio x = number(e.x);
    Ratio y = e.y != nullptr ? number(e.y) : Ratio();
    const std::string expect = e.expect;
    std::string got;
    try {
      applyFunction(e.function, e.unit, x, e.y != nullptr ? &y : nullptr);
      if (expect == "=0") {
        got = ratioIsZero(x) ? "=0" : show(x);
      } else if (expect == "=1") {
        got = ratioEqual(x, kOne) && bigEqualMagnitude(x->numerator, x->denominator) ? "=1"
                                                                                     : show(x);
      } else {
        got = show(x);
      }
    } catch (const ArithmeticError& error) {
      got = std::string("!") + errorName(error.code());
    }
    EXPECT_EQ(got, expect) << describe(e);
    EXPECT_EQ(numbers.precisionDigits, 33) << "precision not restored after " << describe(e);
  }
}

// The reduction of whole turns is exact, so the sine of 390 degrees is that of 30.
TEST_F(TranscendentalTest, WholeTurnsReduceExactly) {
  struct {
    AngleUnit unit;
    const char* many;
    const char* once;
  } turns[] = {{Degrees, "390", "30"},
               {Degrees, "-390", "-30"},
               {Degrees, "750.25", "30.25"},
               {Degrees, "360000000000000000000030", "30"},
               {Gradients, "-1250", "-50"},
               {Gradients, "400000000000000000000000000000000000000001.5", "1.5"}};
  for (const auto& row : turns) {
    Ratio reduced = number(row.many);
    reduceAngle(reduced, row.unit);
    EXPECT_TRUE(ratioEqual(reduced, number(row.once)))
        << row.many << " " << unitName(row.unit) << " reduces to " << show(reduced);
    EXPECT_EQ(numbers.precisionDigits, 33);
    Ratio many = number(row.many);
    Ratio once = number(row.once);
    ratioSin(many, row.unit);
    ratioSin(once, row.unit);
    EXPECT_EQ(show(many), show(once)) << "sin " << row.many << " " << unitName(row.unit);
  }
}

// An exponent within the tolerance of an integer takes repeated squaring alone.
TEST_F(TranscendentalTest, NearlyIntegralExponentsUseTheIntegerPower) {
  Ratio nearly = number("5.0000000000000000000000000000000000000001");
  ratioExp(nearly);
  Ratio exact = ratioCopy(kE);
  ratioIntPower(exact, 5);
  EXPECT_TRUE(ratioEqual(nearly, exact)) << show(nearly) << " vs " << show(exact);

}

// 10^43429 stays within e^100000 and is computed; 10^43430 fails (in the table above).
TEST_F(TranscendentalTest, LargestPowerOfTenIsComputed) {
  Ratio big = number("10");
  ratioPow(big, number("43429"));
  EXPECT_EQ(show(big), "1.e+43429");
}

// e^100000 and e^-100000 lie on the inclusive limits and are computed.
TEST_F(TranscendentalTest, ExponentialLimitsAreInclusive) {
  for (const char* text : {"100000", "-100000"}) {
    Ratio x = number(text);
    EXPECT_NO_THROW(ratioExp(x)) << text;
  }
}

// Integer factorials are exact products however long.
TEST_F(TranscendentalTest, IntegerFactorialsAreExact) {
  for (unsigned long n : {20ul, 50ul, 1000ul}) {
    Ratio x = ratioFromInt(static_cast<std::int32_t>(n));
    ratioFactorial(x);
    mpq_t got;
    mpq_init(got);
    ratioToMpq(got, x);
    mpz_t want;
    mpz_init(want);
    mpz_fac_ui(want, n);
    EXPECT_EQ(mpz_cmp_ui(mpq_denref(got), 1), 0) << n << "! is not an integer";
    EXPECT_EQ(mpz_cmp(mpq_numref(got), want), 0) << n << "! is not exact";
    mpz_clear(want);
    mpq_clear(got);
  }
}

// The factorial key works in every radix: exact integers, and Gamma with ln R from ln 2.
TEST_F(TranscendentalTest, FactorialInOtherRadices) {
  for (const std::int32_t radix : {16, 8, 2}) {
    const std::int32_t P = radix == 16 ? 9 : radix == 8 ? 11 : 33;
    numbers.radix = radix;
    setRadixPrecisionAndConstants(radix, P);
    Ratio x = ratioFromInt(20);
    ratioFactorial(x);
    EXPECT_GE(correctDigits(x, "2432902008176640000"), 99) << "20! in radix " << radix;
    Ratio half = ratioCopy(kHalf);
    ratioFactorial(half);
    const double digits = correctDigits(half, "0.88622692545275801364908374167057259139877472806119");
    EXPECT_GE(digits, P * std::log10(double(radix))) << "0.5! in radix " << radix;
    EXPECT_EQ(numbers.precisionDigits, P);
  }
  numbers.radix = 10;
}
