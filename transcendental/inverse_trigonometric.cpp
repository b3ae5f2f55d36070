// Arcsine, arccosine and arctangent, in radians and in the engine's angle unit. The series
// are used only where they converge fast: |argument| <= 0.85 directly, larger arguments
// through a complement (arcsine) or reciprocal (arctangent) identity.
#include <cstdint>

#include "numbers/radix_setup.h"
#include "numbers/ratio_arithmetic.h"
#include "transcendental/series.h"
#include "transcendental/transcendental.h"

namespace {

// Gives a non-negative x the sign s, held in the numerator.
void putSign(Ratio& x, std::int32_t s) {
  x->numerator->sign = s;
  x->denominator->sign = 1;
}

}  // namespace

void radiansToUnit(Ratio& x, AngleUnit unit) {
  if (unit == Degrees) {
    ratioDivide(x, kTwoPi);
    ratioMultiply(x, k360);
  } else if (unit == Gradients) {
    ratioDivide(x, kTwoPi);
    ratioMultiply(x, k400);
  }
}

// True when 1 < |x| <= 1 + kEpsilon: the tolerance band above 1, which counts as +-1.
bool justAboveOne(const Ratio& magnitude) {
  Ratio offset = ratioCopy(magnitude);
  ratioSubtract(offset, kOne);
  return ratioGreater(offset, kZero) && ratioLessEqual(offset, kEpsilon);
}

// |x| = 1 (or within kEpsilon above it) gives +-pi/2; above 0.85
// arcsin x = pi/2 - arcsin sqrt(1 - x^2), whose series argument stays below 0.527.
void asinRadians(Ratio& x) {
  const std::int32_t s = ratioTakeSign(x);
  if (ratioEqual(x, kOne) || justAboveOne(x)) {
    x = ratioCopy(kHalfPi);
  } else if (ratioGreater(x, kAsinSplit)) {
    if (ratioGreater(x, kOne)) raiseError(InvalidArgument);
    // 1 - x^2 as (1 - x)(1 + x): the difference is formed exactly before anything is
    // trimmed, so an x just below 1 keeps the digits of 1 - x.
    Ratio below = ratioCopy(kOne);
    ratioSubtract(below, x);
    ratioAdd(x, kOne);
    ratioMultiply(x, below);
    ratioSquareRoot(x);
    asinSeries(x);
    ratioNegate(x);
    ratioAdd(x, kHalfPi);
  } else {
    asinSeries(x);
  }
  putSign(x, s);
}

// Exactly +-1 (or within kEpsilon above) give the constants 0 and pi. For |x| >= 1/2
// arccos |x| = 2 arcsin sqrt((1 - |x|)/2), free of the cancellation of pi/2 - arcsin x near
// 1, and arccos -|x| = pi - arccos |x|; below 1/2, pi/2 - arcsin x.
void acosRadians(Ratio& x) {
  const std::int32_t s = ratioTakeSign(x);
  if (ratioEqual(x, kOne) || justAboveOne(x)) {
    x = ratioCopy(s == -1 ? kPi : kZero);
    return;
  }
  if (ratioGreater(x, kOne)) raiseError(InvalidArgument);
  if (ratioGreaterEqual(x, kHalf)) {
    Ratio w = ratioCopy(kOne);
    ratioSubtract(w, x);
    ratioDivide(w, kTwo);
    ratioSquareRoot(w);
    asinSeries(w);
    ratioAdd(w, w);
    if (s < 0) {
      ratioNegate(w);
      ratioAdd(w, kPi);
    }
    x = std::move(w);
    return;
  }
  x->numerator->sign = s;
  asinRadians(x);
  ratioNegate(x);
  ratioAdd(x, kHalfPi);
}

// Up to 0.85 the series; up to 2 arcsin(x / sqrt(1 + x^2)); beyond, pi/2 - arctan(1/x).
// arctan is odd: the reciprocal branch works on |x| and gives the sign back at the end, so
// a large negative x, whose arctan(1/x) trimming can absorb into pi/2, still comes out
// negative.
void atanRadians(Ratio& x) {
  const std::int32_t s = ratioTakeSign(x);
  if (ratioLessEqual(x, kAsinSplit)) {
    putSign(x, s);
    atanSeries(x);
  } else if (ratioLessEqual(x, kTwo)) {
    putSign(x, s);
    Ratio w = ratioCopy(x);
    ratioMultiply(w, x);
    ratioAdd(w, kOne);
    ratioSquareRoot(w);
    ratioDivide(x, w);
    asinRadians(x);
    putSign(x, s);
  } else {
    Ratio reciprocal = ratioCopy(kOne);
    ratioDivide(reciprocal, x);
    atanSeries(reciprocal);
    x = ratioCopy(kHalfPi);
    ratioSubtract(x, reciprocal);
    if (s < 0) ratioNegate(x);
  }
}

void ratioAsin(Ratio& x, AngleUnit unit) {
  asinRadians(x);
  radiansToUnit(x, unit);
}

void ratioAcos(Ratio& x, AngleUnit unit) {
  acosRadians(x);
  radiansToUnit(x, unit);
}

void ratioAtan(Ratio& x, AngleUnit unit) {
  atanRadians(x);
  radiansToUnit(x, unit);
}
