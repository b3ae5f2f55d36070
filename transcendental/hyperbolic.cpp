// sinh, cosh, tanh and their inverses: series near zero, exponential and logarithm
// identities elsewhere.
#include <cstdint>

#include "numbers/bignum_arithmetic.h"
#include "numbers/radix_setup.h"
#include "numbers/ratio_arithmetic.h"
#include "transcendental/series.h"
#include "transcendental/transcendental.h"

namespace {

void squareRoot(Ratio& x) { ratioRoot(x, kTwo); }

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

// x >= 1: (e^x - e^-x)/2. Every x below 1, however negative, is summed by the series, whose
// terms then all share the sign of x (no cancellation, but the cost grows with |x|).
void ratioSinh(Ratio& x) {
  if (ratioGreaterEqual(x, kOne)) {
    halfExpSum(x, -1);
  } else {
    sinhSeries(x);
  }
}

// cosh |x|, never below 1.
void ratioCosh(Ratio& x) {
  x->numerator->sign = 1;
  x->denominator->sign = 1;
  if (ratioGreaterEqual(x, kOne)) {
    halfExpSum(x, 1);
  } else {
    coshSeries(x);
  }
  if (ratioLess(x, kOne)) x = ratioCopy(kOne);
}

// sinh x / cosh x as a cross product of the parts (cosh x >= 1, so nothing divides by 0).
void ratioTanh(Ratio& x) {
  Ratio cosh = ratioCopy(x);
  ratioSinh(x);
  ratioCosh(cosh);
  bigMultiply(x->numerator, cosh->denominator, kInternalBase);
  bigMultiply(x->denominator, cosh->numerator, kInternalBase);
}

// arsinh is odd: it is computed on |x| and given x's sign back, so the logarithm formula
// never forms the cancelling sum x + sqrt(x^2 + 1) of a negative x.
void ratioAsinh(Ratio& x) {
  const std::int32_t s = ratioSign(x);
  x->numerator->sign = 1;
  x->denominator->sign = 1;
  if (ratioGreater(x, kAsinSplit)) {
    Ratio w = ratioCopy(x);
    ratioMultiply(w, x);
    ratioAdd(w, kOne);
    squareRoot(w);
    ratioAdd(x, w);
    ratioLn(x);
  } else {
    asinhSeries(x);
  }
  if (s < 0) ratioNegate(x);
}

// ln(x + sqrt(x^2 - 1)), x >= 1.
void ratioAcosh(Ratio& x) {
  if (ratioLess(x, kOne)) raiseError(InvalidArgument);
  // x^2 - 1 as (x - 1)(x + 1): exact before the trim, so an x just above 1 keeps the digits
  // of x - 1.
  Ratio w = ratioCopy(x);
  ratioSubtract(w, kOne);
  Ratio above = ratioCopy(x);
  ratioAdd(above, kOne);
  ratioMultiply(w, above);
  squareRoot(w);
  ratioAdd(x, w);
  ratioLn(x);
}

// ln((1 + x)/(1 - x)) / 2: x = 1 divides by zero (Overflow), |x| >= 1 otherwise fails in
// the logarithm.
void ratioAtanh(Ratio& x) {
  Ratio below = ratioCopy(x);
  ratioSubtract(below, kOne);
  ratioAdd(x, kOne);
  ratioDivide(x, below);
  ratioNegate(x);
  ratioLn(x);
  ratioDivide(x, kTwo);
}
