// Radix and precision set-up: installs the working precision and the radix constants, and
// provides the shared constants (from the stored table, or computed at a raised precision).
#include "numbers/radix_setup.h"

#include <cstring>

#include "numbers/ratio_arithmetic.h"
#include "numbers/stored_constants.h"

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

void setRadixAndPrecision(std::int32_t R, std::int32_t P) {
  numbers.precisionDigits = P;
  numbers.radix = R;
  abortRequested.store(0);
  numbers.digitsPerWord = digitsPerWordFor(R);
  bigRadix = bigFromInt(R, kInternalBase);
  kRadix = ratioFromInt(R);
  loadStoredConstants();
  buildEpsilons();
}
