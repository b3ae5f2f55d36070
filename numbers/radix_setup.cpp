// Radix and precision set-up: installs the working precision and the radix constants, and
// provides the shared constants (from the stored table, or computed at a raised precision).
#include "numbers/radix_setup.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

#include "numbers/bignum_arithmetic.h"
#include "numbers/ratio_arithmetic.h"
#include "numbers/stored_constants.h"
#include "transcendental/series.h"
#include "transcendental/transcendental.h"

BigNum bigOne, bigTwo, bigRadix;
Ratio kRadix, kZero, kOne, kMinusOne, kTwo, kSix, kTen, kHalf, kAsinSplit;
Ratio kPi, kTwoPi, kHalfPi, kSqrtE, kE, kLn10, kLn2;
Ratio kMask64, kMask32, kMask16, kMask8;
Ratio k360, k400, k180, k200, kExpLimit, kMinusExpLimit;
Ratio kEpsilon, kMinusEpsilon;

namespace {

BigNum bigFromImage(const StoredImage& image) {
  BigNum x = bigAlloc(image.digitCount);
  x->sign = image.sign;
  x->digitCount = image.digitCount;
  x->exponent = image.exponent;
  std::memcpy(x->digits, image.digits, sizeof(std::uint32_t) * std::size_t(image.digitCount));
  return x;
}

// kEpsilon := R^-P and kMinusEpsilon := -R^-P for the current precision.
void buildEpsilons() {
  Ratio epsilon = ratioCopy(kRadix);
  ratioIntPower(epsilon, -numbers.precisionDigits);
  Ratio minusEpsilon = ratioCopy(epsilon);
  minusEpsilon->numerator->sign = -1;
  kEpsilon = std::move(epsilon);
  kMinusEpsilon = std::move(minusEpsilon);
}

}  // namespace

std::int32_t digitsPerWordFor(std::int32_t R) {
  const std::uint32_t limit = kInternalBase / std::uint32_t(R);
  std::uint32_t c = 1;
  std::int32_t g = 0;
  while (c < limit) {
    c *= std::uint32_t(R);
    ++g;
  }
  return g == 0 ? 1 : g;
}

void loadStoredConstants() {
  for (int i = 0; i < storedBigNumCount; ++i)
    *storedBigNums[i].target = bigFromImage(storedBigNums[i].image);
  for (int i = 0; i < storedRatioCount; ++i) {
    Ratio r = ratioAlloc();
    r->numerator = bigFromImage(storedRatios[i].numerator);
    r->denominator = bigFromImage(storedRatios[i].denominator);
    *storedRatios[i].target = std::move(r);
  }
}

namespace {

// The stored table's irrational constants agree with the true values to 46 decimal digits.
const double kStoredTableBits = 46 * std::log2(10.0);

// The seven constants that have to be computed, as one set.
struct TranscendentalConstants {
  Ratio pi, twoPi, halfPi, sqrtE, e, ln10, ln2;
  double bits = 0;  // the precision they were computed at, in bits
};

// The most precise set any set-up has computed, kept so that a later set-up whose precision
// the stored table does not cover can reinstall it instead of recomputing.
TranscendentalConstants keptConstants;

double precisionBits(std::int32_t R, std::int32_t digits) { return digits * std::log2(double(R)); }

Ratio ratioOver(std::int32_t numerator, std::int32_t denominator) {
  Ratio r = ratioAlloc();
  r->numerator = bigFromInt(numerator, kInternalBase);
  r->denominator = bigFromInt(denominator, kInternalBase);
  return r;
}

void installCopies(const TranscendentalConstants& set) {
  kPi = ratioCopy(set.pi);
  kTwoPi = ratioCopy(set.twoPi);
  kHalfPi = ratioCopy(set.halfPi);
  kSqrtE = ratioCopy(set.sqrtE);
  kE = ratioCopy(set.e);
  kLn10 = ratioCopy(set.ln10);
  kLn2 = ratioCopy(set.ln2);
}

// Computes pi = 6 arcsin(1/2), 2pi, pi/2, e^(1/2), e, ln 10 and ln 2 at the precision in
// force. The logarithm reads kSqrtE, so the fresh e^(1/2) stands in for it while ln 10 and
// ln 2 are summed; the previous one is back in place whatever happens.
TranscendentalConstants computeTranscendentalConstants() {
  TranscendentalConstants set;
  set.pi = ratioCopy(kHalf);
  asinRadians(set.pi);
  ratioMultiply(set.pi, kSix);
  set.twoPi = ratioCopy(set.pi);
  ratioAdd(set.twoPi, set.pi);
  set.halfPi = ratioCopy(set.pi);
  ratioDivide(set.halfPi, kTwo);
  set.sqrtE = ratioCopy(kHalf);
  expSeries(set.sqrtE);
  set.e = ratioCopy(kOne);
  expSeries(set.e);

  struct SqrtEStandIn {
    Ratio& fresh;
    explicit SqrtEStandIn(Ratio& r) : fresh(r) { std::swap(kSqrtE, fresh); }
    ~SqrtEStandIn() { std::swap(kSqrtE, fresh); }
  };
  {
    SqrtEStandIn standIn(set.sqrtE);
    set.ln10 = ratioCopy(kTen);
    ratioLn(set.ln10);
    set.ln2 = ratioCopy(kTwo);
    ratioLn(set.ln2);
  }
  return set;
}

// The compute path. The exact constants are rebuilt first; the seven transcendental ones
// are computed at P + g digits into a set of their own and installed (with the key) only
// when the computation completed: a stop or OutOfMemory leaves the previous set in use.
void computeConstants(std::int32_t R, std::int32_t P, std::int32_t g, std::int32_t need) {
  // With no constants at all yet, the stored table is the set to fall back on.
  if (!kPi) loadStoredConstants();

  bigOne = bigFromInt(1, kInternalBase);
  bigTwo = bigFromInt(2, kInternalBase);
  buildEpsilons();
  kAsinSplit = ratioOver(85, 100);
  kSix = ratioFromInt(6);
  kTwo = ratioFromInt(2);
  kZero = ratioFromInt(0);
  kOne = ratioFromInt(1);
  kMinusOne = ratioFromInt(-1);
  Ratio half = ratioAlloc();
  half->numerator = bigCopy(bigOne);
  half->denominator = bigCopy(bigTwo);
  kHalf = std::move(half);
  kTen = ratioFromInt(10);

  TranscendentalConstants fresh;
  {
    PrecisionScope raised(P + g);
    fresh = computeTranscendentalConstants();
  }
  fresh.bits = precisionBits(R, P + g);

  Ratio mask64 = ratioCopy(kTwo);
  bigPowerTrimmed(mask64->numerator, 64, kInternalBase);
  ratioSubtract(mask64, kOne);
  Ratio mask32 = ratioCopy(kTwo);
  bigPowerTrimmed(mask32->numerator, 32, kInternalBase);
  ratioSubtract(mask32, kOne);
  kMask64 = std::move(mask64);
  kMask32 = std::move(mask32);
  kMask16 = ratioFromInt(65535);
  kMask8 = ratioFromInt(255);
  k400 = ratioFromInt(400);
  k360 = ratioFromInt(360);
  k200 = ratioFromInt(200);
  k180 = ratioFromInt(180);
  kExpLimit = ratioFromInt(100000);
  Ratio minusLimit = ratioCopy(kExpLimit);
  ratioNegate(minusLimit);
  kMinusExpLimit = std::move(minusLimit);

  // A stop cut the series short: those values are not the constants.
  if (stopRequested()) return;

  installCopies(fresh);
  if (fresh.bits > keptConstants.bits) keptConstants = std::move(fresh);
  numbers.constantsKey = std::max(numbers.constantsKey, need);
}

}  // namespace

// The stored table serves every set-up whose P + g digits it covers, unless the need is
// above every earlier one (then the constants are computed, as on the default start-up).
// Above the stored table's precision the set computed for the highest need is reused, and
// computed afresh if even that falls short, so the constants always carry P + g digits.
void setRadixAndPrecision(std::int32_t R, std::int32_t P) {
  numbers.precisionDigits = P;
  numbers.radix = R;
  abortRequested.store(0);
  const std::int32_t g = digitsPerWordFor(R);
  numbers.digitsPerWord = g;
  bigRadix = bigFromInt(R, kInternalBase);
  kRadix = ratioFromInt(R);

  const std::int64_t wideNeed = std::int64_t(R) * P * g;
  const std::int32_t need = std::int32_t(std::min<std::int64_t>(wideNeed, INT32_MAX));
  if (numbers.constantsKey >= need) {
    loadStoredConstants();
    buildEpsilons();
    const double required = precisionBits(R, P + g);
    if (required <= kStoredTableBits) return;
    if (keptConstants.bits >= required) {
      installCopies(keptConstants);
      return;
    }
  }
  computeConstants(R, P, g, need);
}
