// e^x, ln x, log10 x, x^y, and the roots that go through x^y.
#include <algorithm>
#include <cmath>
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
  ratioAbs(twice);
  ratioAdd(twice, twice);
  return ratioLessEqual(twice, kOne);
}

// log2 |b| of a non-zero BigNum, roughly (from its top two words).
double log2Magnitude(const BigNum& b) {
  const std::int32_t n = b->digitCount;
  double top = b->digits[n - 1];
  std::int32_t below = n - 1;
  if (n >= 2) {
    top = top * 2147483648.0 + b->digits[n - 2];
    below = n - 2;
  }
  return std::log2(top) + 31.0 * (below + b->exponent);
}

// log2 |r| of a non-zero Ratio, roughly.
double log2Magnitude(const Ratio& r) {
  return log2Magnitude(r->numerator) - log2Magnitude(r->denominator);
}

// Digits beyond the working precision that make a result right when it is e^t with
// |t| = 2^log2T: the absolute error of t becomes the relative error of the result, and it
// grows with |t|. None below one radix unit, so ordinary arguments keep their digits.
std::int32_t digitsForExponentOfSize(double log2T) {
  const double digits = log2T / std::log2(double(numbers.radix));
  return digits < 1 ? 0 : static_cast<std::int32_t>(std::ceil(digits)) + 1;
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
  const std::int32_t k = ratioToInt(integer);
  PrecisionScope guarded(numbers.precisionDigits +
                         digitsForExponentOfSize(std::log2(std::fabs(double(k)))));
  Ratio power = ratioCopy(kE);
  ratioIntPower(power, k);
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
// series converges with ratio at most 0.65. Values below 1 are inverted first. Every
// positive value is accepted, however small.
void ratioLn(Ratio& x) {
  if (ratioIsZero(x) || ratioSign(x) < 0) raiseError(InvalidArgument);
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
  ratioAbs(x);

  if (ratioIsZero(x)) {
    if (ratioLess(y, kZero)) raiseError(InvalidArgument);
    if (ratioIsZero(y)) {
      x = ratioCopy(kOne);
      ratioAbs(x);
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
      // Each squaring is trimmed; the relative errors add up over the log2 n squarings and
      // grow n-fold, so the power is taken with as many more digits as n has.
      PrecisionScope guarded(numbers.precisionDigits +
                             digitsForExponentOfSize(std::log2(std::fabs(double(n)))));
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
      ratioAbs(q);
      ratioDivide(q, kTwo);
      ratioFraction(q);
      ratioAdd(q, q);
      ratioSubtract(q, kOne);
      if (ratioGreater(q, kEpsilon) || ratioLess(q, kMinusEpsilon)) raiseError(InvalidArgument);
    }
    // |y ln x| estimated from the sizes of the parts; the logarithm and the product get
    // the guard digits that the exponential of a large exponent needs.
    const double lnX = std::fabs(log2Magnitude(x)) * std::log(2.0);
    const double log2T = log2Magnitude(y) + std::log2(std::max(lnX, 1e-300));
    PrecisionScope guarded(numbers.precisionDigits + digitsForExponentOfSize(log2T));
    ratioLn(x);
    ratioMultiply(x, y);
    ratioExp(x);
  }
  x->numerator->sign *= s;
}

void ratioSquareRoot(Ratio& x) { ratioRoot(x, kTwo); }

void lnOnePlus(Ratio& x) {
  Ratio onePlus = ratioAlloc();
  onePlus->numerator = bigCopy(x->numerator);
  bigAdd(onePlus->numerator, x->denominator, kInternalBase);
  onePlus->denominator = bigCopy(x->denominator);
  ratioLn(onePlus);
  x = std::move(onePlus);
}

// a := a^(1/b).
void ratioRoot(Ratio& a, const Ratio& b) {
  Ratio exponent = ratioCopy(kOne);
  ratioDivide(exponent, b);
  ratioPow(a, exponent);
}
