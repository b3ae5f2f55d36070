// The one series loop shared by every kernel, the kernel table, and truncateNumerator.
#include "transcendental/series.h"

#include <algorithm>
#include <cstring>

#include "numbers/bignum_arithmetic.h"
#include "numbers/radix_setup.h"
#include "numbers/ratio_arithmetic.h"

namespace {

// What turns one term into the next before the integer factors.
enum MultiplierKind { MultiplierX, MultiplierXSquared, MultiplierMinusXSquared, MultiplierMinusY };
// The first term, which is also the starting sum.
enum FirstTerm { FirstOne, FirstX, FirstY };
// Integer steps applied to the term after each multiplication: numerator times the
// counter, denominator times the counter, counter plus one.
enum IntegerStep : unsigned char { NumTimesN, DenTimesN, NPlusOne };

struct SeriesRow {
  MultiplierKind multiplier;
  FirstTerm first;
  std::int32_t counterStart;
  std::int32_t stepCount;
  IntegerStep steps[6];
  bool truncateMultiplier;  // the logarithm keeps its multiplier's numerator short
};

// The kernel table: each row gives the term ratio in its comment (n = counter at the start
// of an iteration).
constexpr SeriesRow kExpRow = {MultiplierX, FirstOne, 0, 2, {NPlusOne, DenTimesN}, false};
// x/(n+1)
constexpr SeriesRow kLnRow = {MultiplierMinusY, FirstY, 1, 3, {NumTimesN, NPlusOne, DenTimesN},
                              true};  // -y*n/(n+1)
constexpr SeriesRow kSinhRow = {MultiplierXSquared, FirstX, 1, 4,
                                {NPlusOne, DenTimesN, NPlusOne, DenTimesN}, false};
// x^2/((n+1)(n+2))
constexpr SeriesRow kCoshRow = {MultiplierXSquared, FirstOne, 0, 4,
                                {NPlusOne, DenTimesN, NPlusOne, DenTimesN}, false};
constexpr SeriesRow kSinRow = {MultiplierMinusXSquared, FirstX, 1, 4,
                               {NPlusOne, DenTimesN, NPlusOne, DenTimesN}, false};
// -x^2/((n+1)(n+2))
constexpr SeriesRow kCosRow = {MultiplierMinusXSquared, FirstOne, 0, 4,
                               {NPlusOne, DenTimesN, NPlusOne, DenTimesN}, false};
constexpr SeriesRow kAsinRow = {MultiplierXSquared, FirstX, 1, 6,
                                {NumTimesN, NumTimesN, NPlusOne, DenTimesN, NPlusOne, DenTimesN},
                                false};  // x^2*n^2/((n+1)(n+2))
constexpr SeriesRow kAsinhRow = {MultiplierMinusXSquared, FirstX, 1, 6,
                                 {NumTimesN, NumTimesN, NPlusOne, DenTimesN, NPlusOne, DenTimesN},
                                 false};  // -x^2*n^2/((n+1)(n+2))
constexpr SeriesRow kAtanRow = {MultiplierMinusXSquared, FirstX, 1, 4,
                                {NumTimesN, NPlusOne, NPlusOne, DenTimesN}, false};
// -x^2*n/(n+2)

// n := n + 1; in place while the lowest word has room, so the common case never allocates.
void incrementCounter(BigNum& n) {
  if (n->exponent == 0 && n->digits[0] < kInternalMask) {
    ++n->digits[0];
  } else {
    bigAdd(n, bigOne, kInternalBase);
  }
}

// y = x - 1, formed exactly from x's own parts: (numerator - denominator) / denominator.
Ratio minusOne(const Ratio& x) {
  Ratio y = ratioAlloc();
  BigNum negatedDenominator = bigCopy(x->denominator);
  negatedDenominator->sign = -negatedDenominator->sign;
  y->numerator = bigCopy(x->numerator);
  bigAdd(y->numerator, negatedDenominator, kInternalBase);
  y->denominator = bigCopy(x->denominator);
  return y;
}

// Sums the series of one table row on x and replaces x by the sum. Every term is trimmed
// by its multiplication and every partial sum by its addition, so the numbers stay near
// the working precision. The loop ends once the last term added lies below
// R^-precisionDigits (a test on word lengths only), on a zero term, or on a stop request.
void sumSeries(Ratio& x, const SeriesRow& row) {
  Ratio multiplier;
  Ratio term;
  switch (row.multiplier) {
    case MultiplierX:
      multiplier = ratioCopy(x);
      break;
    case MultiplierXSquared:
    case MultiplierMinusXSquared:
      multiplier = ratioCopy(x);
      ratioMultiply(multiplier, x);
      if (row.multiplier == MultiplierMinusXSquared) ratioNegate(multiplier);
      break;
    case MultiplierMinusY:
      term = minusOne(x);
      multiplier = ratioCopy(term);
      ratioNegate(multiplier);
      break;
  }
  if (row.first == FirstOne) term = ratioCopy(kOne);
  if (row.first == FirstX) term = ratioCopy(x);
  Ratio sum = ratioCopy(term);
  BigNum n = bigFromInt(row.counterStart, kInternalBase);

  for (;;) {
    ratioMultiply(term, multiplier);
    for (std::int32_t i = 0; i < row.stepCount; ++i) {
      switch (row.steps[i]) {
        case NumTimesN:
          bigMultiply(term->numerator, n, kInternalBase);
          break;
        case DenTimesN:
          bigMultiply(term->denominator, n, kInternalBase);
          break;
        case NPlusOne:
          incrementCounter(n);
          break;
      }
    }
    ratioAdd(sum, term);
    if (row.truncateMultiplier) truncateNumerator(multiplier);

    if (bigIsZero(term->numerator)) break;
    const std::int32_t wordsBelow =
        wordLength(term->denominator) - wordLength(term->numerator) - 1;
    if (wordsBelow * numbers.digitsPerWord > numbers.precisionDigits) break;
    if (stopRequested()) break;
  }
  ratioTrim(sum);
  x = std::move(sum);
}

// After the sine or cosine series: a sum that trimming pushed beyond +-1 becomes exactly
// +-1. Small sums are kept as they are: the callers reduce the angle so that they are right.
void settleSineOrCosine(Ratio& x) { clampToMagnitude(x, kOne); }

}  // namespace

void expSeries(Ratio& x) { sumSeries(x, kExpRow); }
void lnSeries(Ratio& x) { sumSeries(x, kLnRow); }
void sinhSeries(Ratio& x) { sumSeries(x, kSinhRow); }
void coshSeries(Ratio& x) { sumSeries(x, kCoshRow); }
void asinSeries(Ratio& x) { sumSeries(x, kAsinRow); }
void asinhSeries(Ratio& x) { sumSeries(x, kAsinhRow); }
void atanSeries(Ratio& x) { sumSeries(x, kAtanRow); }

void sinSeries(Ratio& x) {
  sumSeries(x, kSinRow);
  settleSineOrCosine(x);
}

void cosSeries(Ratio& x) {
  sumSeries(x, kCosRow);
  settleSineOrCosine(x);
}

// Keeps floor(P/g) + 2 words of the numerator (truncating toward zero) when at least two
// would go, then cancels the exponent the two parts have in common.
void truncateNumerator(Ratio& r) {
  BigNumBlock* num = r->numerator.get();
  BigNumBlock* den = r->denominator.get();
  const std::int32_t k =
      num->digitCount - numbers.precisionDigits / numbers.digitsPerWord - 2;
  if (k > 1) bigDropLowWords(*num, k);
  const std::int32_t common = std::min(num->exponent, den->exponent);
  num->exponent -= common;
  den->exponent -= common;
}

Ratio exactTruncate(const Ratio& x) {
  BigNum remainder = bigCopy(x->numerator);
  bigRemainder(remainder, x->denominator);
  remainder->sign = -remainder->sign;
  Ratio n = ratioAlloc();
  n->numerator = bigCopy(x->numerator);
  bigAdd(n->numerator, remainder, kInternalBase);
  n->denominator = bigCopy(x->denominator);
  return n;
}

void clampToMagnitude(Ratio& x, const Ratio& c) {
  if (ratioGreater(x, c)) {
    x = ratioCopy(c);
    return;
  }
  // x < -c is tested as -x > c, so that c is never touched.
  ratioNegate(x);
  const bool below = ratioGreater(x, c);
  ratioNegate(x);
  if (below) {
    x = ratioCopy(c);
    ratioNegate(x);
  }
}
