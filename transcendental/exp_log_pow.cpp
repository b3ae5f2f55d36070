// e^x, ln x, log10 x, x^y, and the roots that go through x^y.
#include <cstdint>
#include <utility>

#include "numbers/bignum_arithmetic.h"
#include "numbers/radix_setup.h"
#include "numbers/ratio_arithmetic.h"
#include "transcendental/series.h"
#include "transcendental/transcendental.h"

namespace {

// True when -kEpsilon < r < kEpsilon (both strict).
bool withinTolerance(const Ratio& r) {
  return ratioGreater(r, kMinusEpsilon) && ratioLess(r, kEpsilon);
}

// True when |r| <= 1/2: then r rounded to the working precision still truncates to 0, so
// the integer part is 0 without the rounding through text.
bool atMostHalf(const Ratio& r) {
  Ratio twice = ratioCopy(r);
  twice->numerator->sign = 1;
  twice->denominator->sign = 1;
  ratioAdd(twice, twice);
  return ratioLessEqual(twice, kOne);
}

}  // namespace

// e^x = e^k * e^f with k the integer part of x (by repeated squaring of e) and f in
// (-1, 1) summed as a series; |x| <= 100000.
void ratioExp(Ratio& x) {
  if (ratioGreater(x, kExpLimit) || ratioLess(x, kMinusExpLimit)) raiseError(InvalidArgument);
  if (atMostHalf(x)) {
    // Integer part 0: e^0 = 1 leaves the series sum as it is.
    if (withinTolerance(x)) {
      x = ratioCopy(kOne);
      return;
    }
    expSeries(x);
    return;
  }
  Ratio integer = ratioCopy(x);
  ratioIntegerPart(integer);
  Ratio power = ratioCopy(kE);
  ratioIntPower(power, ratioToInt(integer));
  ratioSubtract(x, integer);
  if (withinTolerance(x)) {
    x = std::move(power);
    return;
  }
  expSeries(x);
  ratioMultiply(x, power);
}

// ln x = 31(m-1) ln 2 + halves/2 + ln(reduced x): whole powers of 2^31 are removed by an
// exponent shift, then x is divided by sqrt(e) until it lies in [1, sqrt(e)], where the
// series converges with ratio at most 0.65. Values below 1 are inverted first.
void ratioLn(Ratio& x) {
  if (ratioLess(x, kEpsilon)) raiseError(InvalidArgument);
  bool inverted = false;
  if (ratioLess(x, kOne)) {
    std::swap(x->numerator, x->denominator);
    inverted = true;
  }
  const std::int32_t m = wordMagnitude(x);
  Ratio correction;
  if (m >= 2) {
    x->denominator->exponent += m - 1;
    correction = ratioFromInt(31 * (m - 1));
    ratioMultiply(correction, kLn2);
    truncateNumerator(x);
  } else {
    correction = ratioCopy(kZero);
  }
  std::int32_t halves = 0;
  while (!stopRequested() && ratioGreater(x, kSqrtE)) {
    ratioDivide(x, kSqrtE);
    ++halves;
  }
  lnSeries(x);
  Ratio halfCount = ratioFromInt(halves);
  ratioDivide(halfCount, kTwo);
  ratioAdd(correction, halfCount);
  ratioAdd(x, correction);
  ratioTrim(x);
  if (inverted) ratioNegate(x);
}

void ratioLog10(Ratio& x) {
  ratioLn(x);
  ratioDivide(x, kLn10);
}

// x^y. An exponent within kEpsilon of an integer n takes exact repeated squaring (after a
// check that |x|^n stays within e^+-100000); any other goes through e^(y ln|x|). A negative
// base is accepted with an integral exponent, or when |1/y| is an odd integer (odd roots).
void ratioPow(Ratio& x, const Ratio& y) {
  std::int32_t s = ratioSign(x);
  x->numerator->sign = 1;
  x->denominator->sign = 1;

  if (ratioIsZero(x)) {
    if (ratioLess(y, kZero)) raiseError(InvalidArgument);
    if (ratioIsZero(y)) {
      x = ratioCopy(kOne);
      x->numerator->sign = 1;
      x->denominator->sign = 1;
      return;
    }
    x->numerator->sign = s;
    return;
  }

  Ratio fraction = ratioCopy(y);
  ratioFraction(fraction);
  if (withinTolerance(fraction)) {
    Ratio integer = ratioCopy(y);
    ratioSubtract(integer, fraction);
    Ratio logPower = ratioCopy(x);
    ratioLn(logPower);
    ratioMultiply(logPower, integer);
    if (ratioGreater(logPower, kExpLimit) || ratioLess(logPower, kMinusExpLimit)) {
      raiseError(InvalidArgument);
    }
    // Exponents beyond a machine integer pass the range check only for a base very near
    // 1; e^(n ln|x|) gives their value (n ln|x| was just formed and checked).
    Ratio largest = ratioFromInt(INT32_MAX);
    Ratio smallest = ratioFromInt(-INT32_MAX);
    const bool fits = ratioLess(integer, largest) && ratioGreater(integer, smallest);
    bool odd;
    if (fits) {
      const std::int32_t n = ratioToInt(integer);
      odd = (n & 1) != 0;
      ratioIntPower(x, n);
    } else {
      Ratio half = ratioCopy(integer);
      ratioDivide(half, kTwo);
      ratioFraction(half);
      odd = !ratioIsZero(half);
      x = std::move(logPower);
      ratioExp(x);
    }
    if (!odd) s = 1;
  } else {
    if (s == -1) {
      if (!(ratioGreater(y, kMinusOne) && ratioLess(y, kOne))) raiseError(InvalidArgument);
      Ratio q = ratioCopy(kOne);
      ratioDivide(q, y);
      q->numerator->sign = 1;
      q->denominator->sign = 1;
      ratioDivide(q, kTwo);
      ratioFraction(q);
      ratioAdd(q, q);
      ratioSubtract(q, kOne);
      if (ratioGreater(q, kEpsilon) || ratioLess(q, kMinusEpsilon)) raiseError(InvalidArgument);
    }
    ratioLn(x);
    ratioMultiply(x, y);
    ratioExp(x);
  }
  x->numerator->sign *= s;
}

// a := a^(1/b).
void ratioRoot(Ratio& a, const Ratio& b) {
  Ratio exponent = ratioCopy(kOne);
  ratioDivide(exponent, b);
  ratioPow(a, exponent);
}
