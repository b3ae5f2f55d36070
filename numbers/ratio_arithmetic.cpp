// Ratio arithmetic: the trimming rule, the four operations, modulo, fraction and integer
// part, integer powers, and the comparisons. Read operands are never modified; every
// result is built in new storage before it replaces the in-out operand, so an operand may
// be passed twice (a + a doubles, a * a squares).
#include "numbers/ratio_arithmetic.h"

#include <cstring>
#include <utility>

#include "numbers/bignum_arithmetic.h"
#include "numbers/bignum_internal.h"
#include "numbers/number_to_text.h"
#include "numbers/radix_setup.h"
#include "numbers/text_to_number.h"

namespace {

// Divides x by B^k, truncating toward zero (x has at least k + 1 words above position 0).
void cutWords(BigNumBlock* x, std::int32_t k) {
  if (k > x->exponent) bigDropLowWords(*x, k - x->exponent);  // the stored digits below k
  x->exponent -= k;
}

void moveDenominatorSign(RatioBlock& r) {
  r.numerator->sign *= r.denominator->sign;
  r.denominator->sign = 1;
}

// a := a + bSign * b, where bSign is +1 or -1 and applies to b's value.
void ratioAddSigned(Ratio& a, const Ratio& b, std::int32_t bSign) {
  const std::int32_t bNumeratorSign = b->numerator->sign * b->denominator->sign * bSign;
  if (bigEqualMagnitude(a->denominator, b->denominator)) {
    moveDenominatorSign(*a);
    bigAddSigned(a->numerator, *b->numerator, bNumeratorSign, kInternalBase);
    return;
  }
  // n/d + m/e = (n*e + d*m) / (d*e); b's sign is carried by m.
  BigNum denominator = bigProduct(*a->denominator, *b->denominator, kInternalBase);
  BigNum left = bigProduct(*a->numerator, *b->denominator, kInternalBase);
  BigNum right = bigProduct(*a->denominator, *b->numerator, kInternalBase);
  right->sign = a->denominator->sign * b->numerator->sign * bSign;
  bigAddSigned(left, *right, right->sign, kInternalBase);
  a->numerator = std::move(left);
  a->denominator = std::move(denominator);
  ratioTrim(a);
  moveDenominatorSign(*a);
}

// Step shared by modulo and fraction: a negative exponent moves to the other part.
void moveNegativeExponents(RatioBlock& r) {
  if (r.numerator->exponent < 0) {
    r.denominator->exponent -= r.numerator->exponent;
    r.numerator->exponent = 0;
  }
  if (r.denominator->exponent < 0) {
    r.numerator->exponent -= r.denominator->exponent;
    r.denominator->exponent = 0;
  }
}

void ratioIntPowerWide(Ratio& a, std::int64_t n) {
  if (n < 0) {
    ratioIntPowerWide(a, -n);
    std::swap(a->numerator, a->denominator);
    return;
  }
  Ratio acc = ratioFromInt(1);
  while (n > 0) {
    if (n & 1) {
      acc->numerator = bigProduct(*acc->numerator, *a->numerator, kInternalBase);
      acc->denominator = bigProduct(*acc->denominator, *a->denominator, kInternalBase);
    }
    n >>= 1;
    // The last square would be discarded; skipping it changes nothing in the result.
    if (n > 0) ratioMultiply(a, a);
    ratioTrim(acc);
    ratioTrim(a);
    // Exact powers of huge integers can run for minutes; a stop leaves a partial power.
    if (stopRequested()) break;
  }
  a = std::move(acc);
}

// The sign of a - b, or 0 when they are equal, from their trimmed difference.
int compareRatios(const Ratio& a, const Ratio& b) {
  Ratio d = ratioCopy(a);
  ratioAddSigned(d, b, -1);
  if (bigIsZero(d->numerator)) return 0;
  return ratioSign(d);
}

}  // namespace

void ratioTrim(Ratio& a) {
  NormalOnExit check(a);
  const std::int32_t P = numbers.precisionDigits;
  const std::int32_t g = numbers.digitsPerWord;
  BigNumBlock* n = a->numerator.get();
  BigNumBlock* d = a->denominator.get();
  const std::int32_t L = std::min(n->digitCount + n->exponent, d->digitCount + d->exponent);
  const std::int64_t E = std::int64_t(L - 1) * g - P;
  if (g > 0 && E > g) {
    const std::int32_t k = std::int32_t(E / g);
    cutWords(n, k);
    cutWords(d, k);
  }
  const std::int32_t m = std::min(n->exponent, d->exponent);
  n->exponent -= m;
  d->exponent -= m;
}

void ratioAdd(Ratio& a, const Ratio& b) {
  NormalOnExit check(a);
  ratioAddSigned(a, b, 1);
}

void ratioSubtract(Ratio& a, const Ratio& b) {
  NormalOnExit check(a);
  ratioAddSigned(a, b, -1);
}

void ratioMultiply(Ratio& a, const Ratio& b) {
  NormalOnExit check(a);
  if (bigIsZero(a->numerator)) {
    a->denominator = bigCopy(bigOne);
    return;
  }
  BigNum numerator = bigProduct(*a->numerator, *b->numerator, kInternalBase);
  BigNum denominator = bigProduct(*a->denominator, *b->denominator, kInternalBase);
  a->numerator = std::move(numerator);
  a->denominator = std::move(denominator);
  ratioTrim(a);
}

void ratioDivide(Ratio& a, const Ratio& b) {
  NormalOnExit check(a);
  if (bigIsZero(a->numerator)) {
    if (bigIsZero(b->numerator)) raiseError(Undefined);
    a->denominator = bigCopy(bigOne);
    return;
  }
  BigNum numerator = bigProduct(*a->numerator, *b->denominator, kInternalBase);
  BigNum denominator = bigProduct(*a->denominator, *b->numerator, kInternalBase);
  // Raised before a is touched: no value ever holds a zero denominator.
  if (bigIsZero(denominator)) raiseError(numerator->sign > 0 ? Overflow : Underflow);
  a->numerator = std::move(numerator);
  a->denominator = std::move(denominator);
  ratioTrim(a);
}

void ratioModulo(Ratio& a, const Ratio& b) {
  NormalOnExit check(a);
  if (bigIsZero(b->numerator)) raiseError(Undefined);
  // a = n/d, b = m/e: (n*e mod m*d) / (d*e).
  BigNum numerator = bigProduct(*a->numerator, *b->denominator, kInternalBase);
  BigNum divisor = bigProduct(*b->numerator, *a->denominator, kInternalBase);
  bigRemainder(numerator, divisor);
  BigNum denominator = bigProduct(*a->denominator, *b->denominator, kInternalBase);
  a->numerator = std::move(numerator);
  a->denominator = std::move(denominator);
  moveNegativeExponents(*a);
}

void ratioFraction(Ratio& a) {
  NormalOnExit check(a);
  bigRemainder(a->numerator, a->denominator);
  moveNegativeExponents(*a);
}

void ratioIntegerPart(Ratio& a) {
  NormalOnExit check(a);
  if (bigIsZero(a->numerator) || bigEqualMagnitude(a->denominator, bigOne)) return;
  // Round to the working precision through the display text, then truncate.
  HeapText text = ratioToText(a, std::uint32_t(numbers.radix), FormatAutomatic);
  BigNum digits = bigFromText(text.get());
  Ratio rounded = ratioFromRadixBig(digits, std::uint32_t(numbers.radix));
  Ratio fraction = ratioCopy(rounded);
  ratioModulo(fraction, kOne);
  ratioSubtract(rounded, fraction);
  a = std::move(rounded);
}

std::int32_t ratioToInt(const Ratio& a) {
  Ratio t = ratioCopy(a);
  ratioIntegerPart(t);
  bigDivideInternal(t->numerator, t->denominator);
  return bigToInt(t->numerator, kInternalBase);
}

void ratioIntPower(Ratio& a, std::int32_t n) {
  NormalOnExit check(a);
  ratioIntPowerWide(a, n);
}

bool ratioIsZero(const Ratio& a) { return bigIsZero(a->numerator); }

bool ratioEqual(const Ratio& a, const Ratio& b) { return compareRatios(a, b) == 0; }
bool ratioNotEqual(const Ratio& a, const Ratio& b) { return compareRatios(a, b) != 0; }
bool ratioLess(const Ratio& a, const Ratio& b) { return compareRatios(a, b) < 0; }
bool ratioLessEqual(const Ratio& a, const Ratio& b) { return compareRatios(a, b) <= 0; }
bool ratioGreater(const Ratio& a, const Ratio& b) { return compareRatios(a, b) > 0; }
bool ratioGreaterEqual(const Ratio& a, const Ratio& b) { return compareRatios(a, b) >= 0; }
