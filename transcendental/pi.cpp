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

// Above this many digits pi is summed by the Chudnovsky series with binary splitting, whose
// cost grows like the products of the fast multiplication; below it the arcsine series is
// quick and gives the values the calculator has always used.
constexpr std::int32_t kSplittingDigits = 2000;

Ratio integer(std::int32_t v) { return ratioFromInt(v); }

// Integers as Ratios over 1: their sums and products are exact (nothing is trimmed).
Ratio product(const Ratio& a, const Ratio& b) {
  Ratio r = ratioCopy(a);
  ratioMultiply(r, b);
  return r;
}

// P, Q and T of the terms a..b-1 (a >= 1) of the Chudnovsky series, split in halves.
struct Split {
  Ratio p, q, t;
};

Split splitTerms(std::int32_t a, std::int32_t b) {
  Split s;
  if (b - a == 1) {
    s.p = product(product(integer(6 * a - 5), integer(2 * a - 1)), integer(6 * a - 1));
    // a^3 * 640320^3 / 24, as a^3 * 26680 * 640320 * 640320.
    s.q = product(product(product(integer(a), integer(a)), integer(a)), integer(26680));
    s.q = product(product(s.q, integer(640320)), integer(640320));
    Ratio linear = product(integer(545140134), integer(a));
    ratioAdd(linear, integer(13591409));
    s.t = product(s.p, linear);
    if (a % 2 == 1) ratioNegate(s.t);
    return s;
  }
  if (stopRequested()) return Split{integer(1), integer(1), integer(0)};
  const std::int32_t m = a + (b - a) / 2;
  Split left = splitTerms(a, m);
  Split right = splitTerms(m, b);
  s.p = product(left.p, right.p);
  s.q = product(left.q, right.q);
  s.t = product(right.q, left.t);
  ratioAdd(s.t, product(left.p, right.t));
  return s;
}

// sqrt(10005) to the working precision by Newton's steps x := (x + 10005/x) / 2 from a
// double's 15 digits; each step doubles the digits that are right.
Ratio rootOf10005() {
  Ratio n = integer(10005);
  Ratio x = integer(100025);  // 100.025, close to sqrt(10005) = 100.02499...
  ratioDivide(x, integer(1000));
  const double wanted = numbers.precisionDigits * std::log2(double(numbers.radix));
  for (double bits = 10; bits < 2 * wanted + 64 && !stopRequested(); bits *= 2) {
    Ratio quotient = ratioCopy(n);
    ratioDivide(quotient, x);
    ratioAdd(x, quotient);
    ratioDivide(x, kTwo);
  }
  return x;
}

// pi = 426880 sqrt(10005) Q / (13591409 Q + T), with about 14.18 digits a term.
Ratio chudnovskyPi() {
  const double digits = numbers.precisionDigits * std::log10(double(numbers.radix));
  const std::int32_t terms = static_cast<std::int32_t>(digits / 14.18) + 2;
  Split s = splitTerms(1, terms);  // the first term is the 13591409 Q below
  Ratio pi = rootOf10005();
  ratioMultiply(pi, integer(426880));
  ratioMultiply(pi, s.q);
  Ratio denominator = product(s.q, integer(13591409));
  ratioAdd(denominator, s.t);
  ratioDivide(pi, denominator);
  return pi;
}

}  // namespace

// pi = 6 arcsin(1/2) (or the Chudnovsky series for many digits), summed one word beyond the
// digits asked for; the kept value is cut
// back to the digits asked for, so that products with it stay short.
Ratio piToDigits(std::int32_t digits) {
  if (widePi.bits < bitsOf(digits)) {
    const std::int32_t wide = digits + numbers.digitsPerWord;
    PrecisionScope raised(wide);
    Ratio pi;
    if (wide > kSplittingDigits) {
      pi = chudnovskyPi();
    } else {
      pi = ratioCopy(kHalf);
      asinSeries(pi);
      ratioMultiply(pi, kSix);
    }
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
