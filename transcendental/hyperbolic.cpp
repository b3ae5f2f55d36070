// sinh, cosh, tanh and their inverses: series near zero, exponential and logarithm
// identities elsewhere. The odd functions work on |x| and give the sign back, so both
// signs of an argument cost and behave alike.
#include <cmath>
#include <cstdint>

#include "numbers/bignum_arithmetic.h"
#include "numbers/radix_setup.h"
#include "numbers/ratio_arithmetic.h"
#include "transcendental/series.h"
#include "transcendental/transcendental.h"

namespace {

// x := (e^x + sign * e^-x) / 2.
void halfExpSum(Ratio& x, std::int32_t sign) {
  Ratio negative = ratioCopy(x);
  ratioExp(x);
  ratioNegate(negative);
  ratioExp(negative);
  if (sign < 0) ratioNegate(negative);
  ratioAdd(x, negative);
  ratioDivide(x, kTwo);
}

}  // namespace

// |x| >= 1: (e^|x| - e^-|x|)/2, where e^-|x| is at most 0.37 of e^|x| (no cancellation);
// below 1 the series. |x| beyond the exponential's limit fails at once for either sign.
void ratioSinh(Ratio& x) {
  const std::int32_t s = ratioTakeSign(x);
  if (ratioGreaterEqual(x, kOne)) {
    halfExpSum(x, -1);
  } else {
    sinhSeries(x);
  }
  if (s < 0) ratioNegate(x);
}

// cosh |x|, never below 1.
void ratioCosh(Ratio& x) {
  ratioTakeSign(x);
  if (ratioGreaterEqual(x, kOne)) {
    halfExpSum(x, 1);
  } else {
    coshSeries(x);
  }
  if (ratioLess(x, kOne)) x = ratioCopy(kOne);
}

// sinh x / cosh x as a cross product of the parts (cosh x >= 1, so nothing divides by 0).
// Once 1 - tanh |x| = 2/(e^2|x| + 1) lies below the last digit by a margin, the result is
// +-1: tanh is bounded, so no argument is too large for it.
void ratioTanh(Ratio& x) {
  const std::int32_t s = ratioTakeSign(x);
  const double saturation =
      (numbers.precisionDigits + 4) * std::log(double(numbers.radix)) / 2 + 1;
  Ratio limit = ratioFromInt(static_cast<std::int32_t>(saturation) + 1);
  if (ratioGreater(x, limit)) {
    x = ratioCopy(kOne);
  } else {
    Ratio cosh = ratioCopy(x);
    ratioSinh(x);
    ratioCosh(cosh);
    bigMultiply(x->numerator, cosh->denominator, kInternalBase);
    bigMultiply(x->denominator, cosh->numerator, kInternalBase);
  }
  if (s < 0) ratioNegate(x);
}

// arsinh is odd: it is computed on |x| and given x's sign back, so the logarithm formula
// never forms the cancelling sum x + sqrt(x^2 + 1) of a negative x.
void ratioAsinh(Ratio& x) {
  const std::int32_t s = ratioTakeSign(x);
  if (ratioGreater(x, kAsinSplit)) {
    Ratio w = ratioCopy(x);
    ratioMultiply(w, x);
    ratioAdd(w, kOne);
    ratioSquareRoot(w);
    ratioAdd(x, w);
    ratioLn(x);
  } else {
    asinhSeries(x);
  }
  if (s < 0) ratioNegate(x);
}

// ln(x + sqrt(x^2 - 1)), x >= 1, as ln(1 + t) with t = (x - 1) + sqrt((x - 1)(x + 1)):
// x - 1 and the product are exact before anything is trimmed, and 1 + t is formed exactly,
// so an x just above 1 keeps all the digits of its small result.
void ratioAcosh(Ratio& x) {
  if (ratioLess(x, kOne)) raiseError(InvalidArgument);
  Ratio t = ratioCopy(x);
  ratioSubtract(t, kOne);
  Ratio w = ratioCopy(t);
  Ratio above = ratioCopy(x);
  ratioAdd(above, kOne);
  ratioMultiply(w, above);
  ratioSquareRoot(w);
  ratioAdd(t, w);
  lnOnePlus(t);
  x = std::move(t);
}

// artanh x = ln(1 + t)/2 with t = 2x/(1 - x), 1 + t formed exactly (free of cancellation
// for small x). x = 1 divides by zero (Overflow); x = -1 and |x| > 1 make 1 + t zero or
// negative, which the logarithm refuses.
void ratioAtanh(Ratio& x) {
  Ratio below = ratioCopy(kOne);
  ratioSubtract(below, x);
  ratioAdd(x, x);
  ratioDivide(x, below);
  lnOnePlus(x);
  ratioDivide(x, kTwo);
}
