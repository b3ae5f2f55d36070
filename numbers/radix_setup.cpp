// Radix and precision set-up: installs the working precision, the radix constants and the
// exact shared constants, and the stored table of the transcendental ones (which
// transcendental/constants.cpp computes when more digits are needed).
#include "numbers/radix_setup.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

#include "numbers/bignum_arithmetic.h"
#include "numbers/ratio_arithmetic.h"
#include "numbers/stored_constants.h"

BigNum bigOne, bigTwo, bigRadix;
Ratio kRadix, kZero, kOne, kMinusOne, kTwo, kSix, kTen, kHalf, kAsinSplit;
Ratio kPi, kTwoPi, kHalfPi, kSqrtE, kE, kLn10, kLn2;
Ratio kMask32, kMask16, kMask8;
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

const double kStoredTableBits = 46 * std::log2(10.0);

double precisionBits(std::int32_t R, std::int32_t digits) { return digits * std::log2(double(R)); }

std::int32_t constantsNeed(std::int32_t R, std::int32_t P) {
  const std::int64_t wideNeed = std::int64_t(R) * P * digitsPerWordFor(R);
  return std::int32_t(std::min<std::int64_t>(wideNeed, INT32_MAX));
}

namespace {
Ratio ratioOver(std::int32_t numerator, std::int32_t denominator) {
  Ratio r = ratioAlloc();
  r->numerator = bigFromInt(numerator, kInternalBase);
  r->denominator = bigFromInt(denominator, kInternalBase);
  return r;
}
}  // namespace

void buildExactConstants() {
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

  Ratio mask32 = ratioCopy(kTwo);
  bigPowerTrimmed(mask32->numerator, 32, kInternalBase);
  ratioSubtract(mask32, kOne);
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
}

// A set-up whose need the constants already cover loads the stored table; a need above
// every earlier one rebuilds the exact constants. Either way the seven transcendental
// constants may fall short of P + g digits: the transcendental set-up completes them.
bool setRadixAndPrecision(std::int32_t R, std::int32_t P) {
  numbers.precisionDigits = P;
  numbers.radix = R;
  abortRequested.store(0);
  const std::int32_t g = digitsPerWordFor(R);
  numbers.digitsPerWord = g;
  bigRadix = bigFromInt(R, kInternalBase);
  kRadix = ratioFromInt(R);

  if (numbers.constantsKey >= constantsNeed(R, P)) {
    loadStoredConstants();
    buildEpsilons();
    return precisionBits(R, P + g) > kStoredTableBits;
  }
  buildExactConstants();
  return true;
}
