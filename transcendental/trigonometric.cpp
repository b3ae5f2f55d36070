// Sine, cosine and tangent in degrees, radians or gradients: the angle is reduced modulo a
// full turn (exactly, at a raised precision), folded into (-360, 180] degrees or
// (-400, 200] gradients, converted to radians and summed as a series.
#include <cstdint>

#include "numbers/radix_setup.h"
#include "numbers/ratio_arithmetic.h"
#include "transcendental/series.h"
#include "transcendental/transcendental.h"

namespace {

// How each function folds an angle above the half turn.
enum Fold {
  FoldSubtractTurn,      // sine: x - full turn
  FoldReflectTurn,       // cosine: full turn - x
  FoldSubtractHalfTurn,  // tangent: x - half turn
};

// Extra precision for reducing x: one word of the radix per word of x's magnitude, so the
// integer number of turns comes out exact.
std::int32_t reductionDigits(const Ratio& x) {
  const std::int32_t extra = wordMagnitude(x) * numbers.digitsPerWord;
  return extra > 0 ? extra : 0;
}

// x := x - m*trunc(x/m) at the current precision.
void subtractWholeTurns(Ratio& x, const Ratio& m) {
  Ratio turns = ratioCopy(x);
  ratioDivide(turns, m);
  ratioIntegerPart(turns);
  ratioMultiply(turns, m);
  ratioNegate(turns);
  ratioAdd(x, turns);
}

// Folds a reduced angle in degrees or gradients and converts it to radians; radians and
// unknown codes pass unchanged.
void foldToRadians(Ratio& x, AngleUnit unit, Fold fold) {
  const Ratio* half;
  const Ratio* full;
  if (unit == Degrees) {
    half = &k180;
    full = &k360;
  } else if (unit == Gradients) {
    half = &k200;
    full = &k400;
  } else {
    return;
  }
  if (ratioGreater(x, *half)) {
    switch (fold) {
      case FoldSubtractTurn:
        ratioSubtract(x, *full);
        break;
      case FoldReflectTurn:
        ratioSubtract(x, *full);
        ratioNegate(x);
        break;
      case FoldSubtractHalfTurn:
        ratioSubtract(x, *half);
        break;
    }
  }
  ratioDivide(x, *half);
  ratioMultiply(x, kPi);
}

}  // namespace

void reduceModulo(Ratio& x, const Ratio& m) {
  PrecisionScope raised(numbers.precisionDigits + reductionDigits(x));
  subtractWholeTurns(x, m);
}

// For an argument spanning more words than one, 2pi = 12 arcsin(1/2) is recomputed at the
// raised precision, so the remainder keeps the working precision however many turns go.
void reduceModuloTwoPi(Ratio& x) {
  const std::int32_t extra = reductionDigits(x);
  PrecisionScope raised(numbers.precisionDigits + extra);
  Ratio twoPi;
  if (extra == 0) {
    twoPi = ratioCopy(kTwoPi);
  } else {
    twoPi = ratioCopy(kHalf);
    asinSeries(twoPi);
    ratioMultiply(twoPi, kSix);
    ratioMultiply(twoPi, kTwo);
  }
  subtractWholeTurns(x, twoPi);
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

void ratioSin(Ratio& x, AngleUnit unit) {
  reduceAngle(x, unit);
  foldToRadians(x, unit, FoldSubtractTurn);
  sinSeries(x);
}

void ratioCos(Ratio& x, AngleUnit unit) {
  reduceAngle(x, unit);
  foldToRadians(x, unit, FoldReflectTurn);
  cosSeries(x);
}

void ratioTan(Ratio& x, AngleUnit unit) {
  reduceAngle(x, unit);
  foldToRadians(x, unit, FoldSubtractHalfTurn);
  tanRadians(x);
}

// tan x = sin x / cos x; fails where the cosine series lands within kEpsilon of 0.
void tanRadians(Ratio& x) {
  Ratio cosine = ratioCopy(x);
  sinSeries(x);
  cosSeries(cosine);
  if (ratioIsZero(cosine)) raiseError(InvalidArgument);
  ratioDivide(x, cosine);
}
