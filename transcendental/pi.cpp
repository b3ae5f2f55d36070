// pi and 2pi to any number of digits, for the reductions of large angles in radians. The
// most precise value computed so far is kept, so a run of large arguments pays once.
#include <cmath>
#include <cstdint>

#include "numbers/radix_setup.h"
#include "numbers/ratio_arithmetic.h"
#include "transcendental/series.h"
#include "transcendental/transcendental.h"

namespace {

// The widest pi computed so far and its precision in bits (radix-independent).
struct WidePi {
  Ratio value;
  double bits = 0;
};
WidePi widePi;

double bitsOf(std::int32_t digits) { return digits * std::log2(double(numbers.radix)); }

}  // namespace

// pi = 6 arcsin(1/2), summed one word beyond the digits asked for; the kept value is cut
// back to the digits asked for, so that products with it stay short.
Ratio piToDigits(std::int32_t digits) {
  if (widePi.bits < bitsOf(digits)) {
    const std::int32_t wide = digits + numbers.digitsPerWord;
    PrecisionScope raised(wide);
    Ratio pi = ratioCopy(kHalf);
    asinSeries(pi);
    ratioMultiply(pi, kSix);
    if (stopRequested()) return pi;  // a partial sum is never kept
    widePi.value = std::move(pi);
    widePi.bits = bitsOf(wide);
  }
  PrecisionScope asked(digits);
  Ratio pi = ratioCopy(widePi.value);
  ratioTrim(pi);
  return pi;
}

Ratio twoPiToDigits(std::int32_t digits) {
  Ratio twoPi = piToDigits(digits);
  ratioAdd(twoPi, twoPi);
  return twoPi;
}
