// Sine, cosine and tangent in degrees, radians or gradients. The angle is reduced to
// r + k quarter turns with |r| at most an eighth of a turn, and the series is summed on r
// only (sine or cosine of r by the symmetries of the quadrant k):
// - in degrees and gradients the angle is a rational number and the reduction is exact;
//   r is converted to radians only afterwards, so an exact zero or pole stays exact;
// - in radians the quarter turn pi/2 carries as many digits as the argument has before
//   its point, plus the working precision and guard digits; when r comes out so small
//   that those digits would not settle it, the reduction is repeated with more.
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "numbers/bignum_arithmetic.h"
#include "numbers/radix_setup.h"
#include "numbers/ratio_arithmetic.h"
#include "transcendental/series.h"
#include "transcendental/transcendental.h"

namespace {

// Digits beyond the working precision that the reduced angle keeps.
constexpr std::int32_t kGuardDigits = 4;

// An angle as r + k quarter turns, r in radians (|r| <= pi/4), k in 0..3.
struct ReducedAngle {
  Ratio r;
  std::int32_t quadrant = 0;
};

// n mod 4 in 0..3 for an integer-valued n.
std::int32_t quadrantOf(const Ratio& n) {
  Ratio m = ratioCopy(n);
  Ratio four = ratioFromInt(4);
  ratioModulo(m, four);
  for (std::int32_t k = 1; k <= 3; ++k) {
    if (ratioEqual(m, ratioFromInt(k))) return k;
    if (ratioEqual(m, ratioFromInt(k - 4))) return k;
  }
  return 0;
}

// The integer nearest to x (halves away from zero), exactly.
Ratio nearestInteger(const Ratio& x) {
  Ratio n = exactTruncate(x);
  Ratio rest = ratioCopy(x);
  ratioSubtract(rest, n);
  ratioAdd(rest, rest);
  rest->numerator->sign *= rest->denominator->sign;
  rest->denominator->sign = 1;
  if (ratioGreaterEqual(rest, kOne)) ratioAdd(n, kOne);
  ratioNegate(rest);
  if (ratioGreaterEqual(rest, kOne)) ratioSubtract(n, kOne);
  return n;
}

// Degrees or gradients: x modulo the turn exactly, then the nearest quarter turn taken
// off exactly, and only the remainder (at most an eighth of a turn) converted.
ReducedAngle reduceExactly(const Ratio& x, const Ratio& half) {
  Ratio quarter = ratioCopy(half);
  ratioDivide(quarter, kTwo);
  Ratio turn = ratioCopy(half);
  ratioAdd(turn, half);
  ReducedAngle reduced;
  reduced.r = ratioCopy(x);
  ratioModulo(reduced.r, turn);
  Ratio quarters = ratioCopy(reduced.r);
  ratioDivide(quarters, quarter);
  Ratio n = nearestInteger(quarters);
  reduced.quadrant = quadrantOf(n);
  ratioMultiply(n, quarter);
  ratioSubtract(reduced.r, n);
  if (!ratioIsZero(reduced.r)) {
    PrecisionScope guarded(numbers.precisionDigits + kGuardDigits);
    ratioMultiply(reduced.r, kPi);
    ratioDivide(reduced.r, half);
  }
  return reduced;
}

// Radix digits that a number of internal words spans, rounded up (a word holds 31 bits,
// 9.33 decimal digits: more than the whole digits g it counts for elsewhere).
std::int32_t digitsOfWords(std::int32_t words) {
  return static_cast<std::int32_t>(std::ceil(words * 31.0 / std::log2(double(numbers.radix))));
}

// Digits of the radix that r lies below 1 (at least), from word sizes alone.
std::int32_t digitsBelowOne(const Ratio& r) {
  return std::max<std::int32_t>(0, digitsOfWords(1 - wordMagnitude(r)));
}

// Radians: x - n pi/2 with n the nearest integer to x/(pi/2), pi/2 carried to the digits of
// n plus W. The remainder is then right to about R^-W absolutely; W grows until that is
// the working precision plus guard digits relative to the remainder.
ReducedAngle reduceRadians(const Ratio& x) {
  const std::int32_t P = numbers.precisionDigits;
  const std::int32_t g = numbers.digitsPerWord;
  const std::int32_t integerDigits = digitsOfWords(std::max<std::int32_t>(0, wordMagnitude(x))) + g;
  std::int32_t W = P + kGuardDigits;
  ReducedAngle reduced;
  for (;;) {
    PrecisionScope wide(W + integerDigits);
    Ratio halfPi = piToDigits(W + integerDigits + g);
    ratioDivide(halfPi, kTwo);
    Ratio quarters = ratioCopy(x);
    ratioDivide(quarters, halfPi);
    Ratio n = nearestInteger(quarters);
    reduced.quadrant = quadrantOf(n);
    const bool nonZeroMultiple = !ratioIsZero(n);
    ratioMultiply(n, halfPi);
    reduced.r = ratioCopy(x);
    ratioSubtract(reduced.r, n);
    // An argument that is a non-zero multiple of pi/2 to all the working digits (the pi key,
    // 2 pi, pi/2 ...) is taken as that multiple: sin pi is 0 and tan pi/2 a pole, as the
    // user means them, not the residue of the constant's last digits.
    Ratio size = ratioCopy(reduced.r);
    ratioAbs(size);
    if (nonZeroMultiple && ratioLess(size, kEpsilon)) {
      reduced.r = ratioCopy(kZero);
      break;
    }
    const std::int32_t lost = digitsBelowOne(reduced.r);
    if (ratioIsZero(reduced.r) || lost + P + kGuardDigits <= W || stopRequested()) break;
    W = P + kGuardDigits + lost + g;
  }
  return reduced;
}

ReducedAngle reduceToOctant(const Ratio& x, AngleUnit unit) {
  switch (unit) {
    case Degrees:
      return reduceExactly(x, k180);
    case Gradients:
      return reduceExactly(x, k200);
    case Radians:
      break;
  }
  return reduceRadians(x);
}

// sin r or cos r of a reduced angle, |r| <= pi/4, with guard digits; exact for r = 0.
Ratio sineOf(const Ratio& r) {
  if (ratioIsZero(r)) return ratioCopy(kZero);
  PrecisionScope guarded(numbers.precisionDigits + 2);
  Ratio s = ratioCopy(r);
  sinSeries(s);
  return s;
}

Ratio cosineOf(const Ratio& r) {
  if (ratioIsZero(r)) return ratioCopy(kOne);
  PrecisionScope guarded(numbers.precisionDigits + 2);
  Ratio c = ratioCopy(r);
  cosSeries(c);
  return c;
}

}  // namespace

// x - m trunc(x/m), exactly.
void reduceModulo(Ratio& x, const Ratio& m) { ratioModulo(x, m); }

void reduceModuloTwoPi(Ratio& x) {
  const std::int32_t extra =
      digitsOfWords(std::max<std::int32_t>(0, wordMagnitude(x)));
  PrecisionScope raised(numbers.precisionDigits + extra);
  Ratio twoPi = twoPiToDigits(numbers.precisionDigits + numbers.digitsPerWord);
  Ratio turns = ratioCopy(x);
  ratioDivide(turns, twoPi);
  Ratio n = exactTruncate(turns);
  ratioMultiply(n, twoPi);
  ratioSubtract(x, n);
}

void reduceAngle(Ratio& x, AngleUnit unit) {
  switch (unit) {
    case Degrees:
      reduceModulo(x, k360);
      break;
    case Radians:
      reduceModuloTwoPi(x);
      break;
    case Gradients:
      reduceModulo(x, k400);
      break;
  }
}

// sin(r + k pi/2) = sin r, cos r, -sin r, -cos r for k = 0..3.
void ratioSin(Ratio& x, AngleUnit unit) {
  ReducedAngle a = reduceToOctant(x, unit);
  x = (a.quadrant & 1) ? cosineOf(a.r) : sineOf(a.r);
  if (a.quadrant >= 2) ratioNegate(x);
  if (ratioIsZero(x)) ratioAbs(x);  // a zero shows as "0.", never "-0."
}

// cos(r + k pi/2) = cos r, -sin r, -cos r, sin r for k = 0..3.
void ratioCos(Ratio& x, AngleUnit unit) {
  ReducedAngle a = reduceToOctant(x, unit);
  x = (a.quadrant & 1) ? sineOf(a.r) : cosineOf(a.r);
  if (a.quadrant == 1 || a.quadrant == 2) ratioNegate(x);
  if (ratioIsZero(x)) ratioAbs(x);
}

// tan(r + k pi/2) = tan r for even k, -cos r / sin r for odd k; the pole (odd k, r exactly
// 0) is refused. The quotient of two negative parts keeps its sign in the numerator.
void ratioTan(Ratio& x, AngleUnit unit) {
  ReducedAngle a = reduceToOctant(x, unit);
  Ratio s = sineOf(a.r);
  Ratio c = cosineOf(a.r);
  if (a.quadrant & 1) {
    if (ratioIsZero(s)) raiseError(InvalidArgument);
    ratioNegate(c);
    x = std::move(c);
    ratioDivide(x, s);
  } else {
    x = std::move(s);
    ratioDivide(x, c);
  }
  ratioSignToNumerator(x);
  if (ratioIsZero(x)) ratioAbs(x);
}

// tan x = sin x / cos x for x in radians; fails where the cosine is exactly zero.
void tanRadians(Ratio& x) {
  Ratio cosine = ratioCopy(x);
  sinSeries(x);
  cosSeries(cosine);
  if (ratioIsZero(cosine)) raiseError(InvalidArgument);
  ratioDivide(x, cosine);
}
