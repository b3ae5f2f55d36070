// The compute path of the shared transcendental constants, and the most precise set kept
// for later set-ups.
#include "transcendental/constants.h"

#include <algorithm>
#include <utility>

#include "numbers/numbers.h"
#include "transcendental/series.h"
#include "transcendental/transcendental.h"

namespace {

// The seven constants that have to be computed, as one set.
struct TranscendentalConstants {
  Ratio pi, twoPi, halfPi, sqrtE, e, ln10, ln2;
  double bits = 0;  // the precision they were computed at, in bits
};

// The most precise set any set-up has computed, kept so that a later set-up whose precision
// the stored table does not cover can reinstall it instead of recomputing.
TranscendentalConstants keptConstants;

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

}  // namespace

// Above the stored table's precision the set computed for the highest need is reused, and
// computed afresh if even that falls short; a need above every earlier one is computed too
// (as on the default start-up).
void setRadixPrecisionAndConstants(std::int32_t R, std::int32_t P) {
  if (!setRadixAndPrecision(R, P)) return;
  const std::int32_t g = digitsPerWordFor(R);
  const std::int32_t need = constantsNeed(R, P);
  if (numbers.constantsKey >= need) {
    if (keptConstants.bits >= precisionBits(R, P + g)) {
      installCopies(keptConstants);
      return;
    }
    buildExactConstants();
  }

  TranscendentalConstants fresh;
  {
    PrecisionScope raised(P + g);
    fresh = computeTranscendentalConstants();
  }
  fresh.bits = precisionBits(R, P + g);

  // A stop cut the series short: those values are not the constants.
  if (stopRequested()) return;

  installCopies(fresh);
  if (fresh.bits > keptConstants.bits) keptConstants = std::move(fresh);
  numbers.constantsKey = std::max(numbers.constantsKey, need);
}
