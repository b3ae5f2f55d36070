// x! = Gamma(x + 1): the integral part of the work is a running product (exact for integer
// arguments however long); Gamma(z) for z in (0, 1) is the lower incomplete gamma function
// summed to a limit chosen from the precision.
#include <cmath>
#include <cstdint>
#include <utility>

#include "numbers/bignum_arithmetic.h"
#include "numbers/radix_setup.h"
#include "numbers/ratio_arithmetic.h"
#include "transcendental/series.h"
#include "transcendental/transcendental.h"

namespace {

// A value too small to matter at the working precision (decided on word sizes alone).
bool negligible(const Ratio& r) {
  return wordMagnitude(r) * numbers.digitsPerWord <= -numbers.precisionDigits;
}

#ifdef __SIZEOF_INT128__
using Wide = unsigned __int128;
using Multiplier = std::uint64_t;
constexpr Multiplier kMultiplierLimit = Multiplier{1} << 62;
#else
using Wide = std::uint64_t;
using Multiplier = std::uint32_t;
constexpr Multiplier kMultiplierLimit = Multiplier{1} << 31;
#endif

// n! for 0 <= n < 2^31, exactly, over 1. The factors are packed into one machine multiplier
// as long as it stays below kMultiplierLimit, and the product is multiplied by it in place,
// one pass over its words per multiplier; the block is sized for the whole product up
// front. A stop request ends it early with a partial product; a product longer than any
// value may be is too large (Overflow).
Ratio exactFactorial(std::int32_t n) {
  const double bits = std::lgamma(static_cast<double>(n) + 1.0) / std::log(2.0);
  if (bits / 31.0 + 4 > kMaxValueWords) raiseError(Overflow);
  const std::int32_t capacity = static_cast<std::int32_t>(bits / 31.0) + 4;
  BigNum product = bigAlloc(capacity);
  product->sign = 1;
  product->digitCount = 1;
  product->exponent = 0;
  product->digits[0] = 1;

  std::uint32_t* digits = product->digits;
  std::int32_t k = n;
  while (k > 1 && !stopRequested()) {
    Multiplier m = static_cast<Multiplier>(k--);
    while (k > 1 && m < kMultiplierLimit / static_cast<Multiplier>(k)) m *= static_cast<Multiplier>(k--);
    Wide carry = 0;
    std::int32_t count = product->digitCount;
    for (std::int32_t i = 0; i < count; ++i) {
      const Wide t = static_cast<Wide>(digits[i]) * m + carry;
      digits[i] = static_cast<std::uint32_t>(t) & kInternalMask;
      carry = t >> 31;
    }
    while (carry != 0) {
      digits[count++] = static_cast<std::uint32_t>(carry) & kInternalMask;
      carry >>= 31;
    }
    product->digitCount = count;
  }
  Ratio result = ratioAlloc();
  result->numerator = std::move(product);
  result->denominator = bigCopy(bigOne);
  return result;
}

// |t| > threshold for a non-negative t: decided by word sizes when they differ by two or
// more (B^(m-1) < |r| < B^(m+1)), by the exact comparison otherwise.
bool aboveThreshold(const Ratio& t, const Ratio& threshold) {
  const std::int32_t difference = wordMagnitude(t) - wordMagnitude(threshold);
  if (difference >= 2) return true;
  if (difference <= -2) return false;
  return ratioGreater(t, threshold);
}

}  // namespace

// Steps x down by 1 into (-1, 0], multiplying a running product, and finishes with Gamma
// of the remaining fraction. A negative x = n + f (n its integer part, f in (-1, 0)) gives
// Gamma(f + 1) / ((f - k + 1) ... (f - 1) f) with k = -n; the factors are formed from the
// exact f, so a tiny f keeps its digits. Only exact negative integers fail.
void ratioFactorial(Ratio& x) {
  Ratio fraction = ratioCopy(x);
  ratioFraction(fraction);
  if (ratioIsZero(fraction) && ratioSign(x) == -1) raiseError(InvalidArgument);

  // A non-negative integer within machine range: the exact product, done word-wise.
  if (ratioIsZero(fraction)) {
    Ratio largest = ratioFromInt(INT32_MAX);
    if (ratioLess(x, largest)) {
      x = exactFactorial(ratioToInt(x));
      return;
    }
  }

  Ratio product = ratioCopy(kOne);
  if (ratioSign(x) == -1) {
    Ratio steps = exactTruncate(x);
    ratioNegate(steps);
    Ratio m = ratioCopy(kZero);
    while (ratioLess(m, steps) && !stopRequested()) {
      Ratio factor = ratioCopy(fraction);
      ratioSubtract(factor, m);
      ratioDivide(product, factor);
      ratioAdd(m, kOne);
    }
    x = std::move(fraction);
    if (negligible(x)) {
      // Gamma(1 + f) = 1 - 0.577.. f: 1 to the working precision.
      x = std::move(product);
      return;
    }
    ratioAdd(x, kOne);
    gammaBySeries(x);
    ratioMultiply(x, product);
    return;
  }
  while (ratioGreater(x, kZero) && !stopRequested() && !negligible(x)) {
    ratioMultiply(product, x);
    ratioSubtract(x, kOne);
  }
  if (negligible(x)) {
    x = ratioCopy(kZero);
    ratioIntegerPart(product);
  }
  if (!ratioNotEqual(x, kZero)) {
    x = std::move(product);
    return;
  }
  ratioAdd(x, kOne);
  gammaBySeries(x);
  ratioMultiply(x, product);
}

// ln R: from the shared constants for radix 10 and the powers of 2, else computed.
static Ratio radixLogarithm() {
  const std::int32_t R = ratioToInt(kRadix);
  if (R == 10) return ratioCopy(kLn10);
  std::int32_t bits = 0;
  while ((std::int32_t{1} << bits) < R) ++bits;
  if ((std::int32_t{1} << bits) == R) {
    Ratio ln = ratioFromInt(bits);
    ratioMultiply(ln, kLn2);
    return ln;
  }
  Ratio ln = ratioCopy(kRadix);
  ratioLn(ln);
  return ln;
}

// Gamma(z) = A^z * sum over m of (-1)^m A^m / (m! (z + m)) plus a tail below e^-A, with A a
// little above P ln R so the tail is below the last digit. The series alternates with
// terms up to about e^A A^z, so it is summed N guard digits deeper, two terms per pass.
// ln A is computed once, one word above the working precision: it gives N (as
// (z + 3/2) ln A + A - ln R) and A^z (as e^(z ln A)); A^z only scales the sum, so it needs
// no guard digits of its own. A = A0 + z ln A0 + 1 with A0 = P ln R + 2.
void gammaBySeries(Ratio& z) {
  const std::int32_t entryPrecision = numbers.precisionDigits;

  Ratio lnRadix = radixLogarithm();
  Ratio limit0 = ratioFromInt(entryPrecision);
  ratioMultiply(limit0, lnRadix);
  ratioAdd(limit0, kTwo);

  Ratio lnLimit0 = ratioCopy(limit0);
  {
    PrecisionScope guardWord(entryPrecision + numbers.digitsPerWord);
    ratioLn(lnLimit0);
  }
  Ratio limit = ratioCopy(lnLimit0);
  ratioMultiply(limit, z);
  ratioAdd(limit, limit0);
  ratioAdd(limit, kOne);

  Ratio lnLimit = ratioCopy(limit);
  Ratio limitToZ;
  {
    PrecisionScope guardWord(entryPrecision + numbers.digitsPerWord);
    // ln A = ln A0 + ln(A / A0); A / A0 is close to 1, where the series is short.
    ratioDivide(lnLimit, limit0);
    ratioLn(lnLimit);
    ratioAdd(lnLimit, lnLimit0);
    limitToZ = ratioCopy(lnLimit);
    ratioMultiply(limitToZ, z);
    ratioExp(limitToZ);
  }

  // Guard digits N = ln(A^(z + 3/2) e^A) - ln R, in natural-logarithm units.
  Ratio size = ratioFromInt(3);
  ratioDivide(size, kTwo);
  ratioAdd(size, z);
  ratioMultiply(size, lnLimit);
  ratioAdd(size, limit);
  ratioSubtract(size, lnRadix);
  const std::int32_t guard = ratioToInt(size);

  PrecisionScope raised(entryPrecision + guard);
  Ratio limitSquared = ratioCopy(limit);
  ratioMultiply(limitSquared, limit);

  // S = 1/z - A/(z + 1): the terms m = 0 and 1.
  Ratio sum = ratioCopy(z);
  std::swap(sum->numerator, sum->denominator);
  Ratio second = ratioCopy(z);
  ratioAdd(second, kOne);
  std::swap(second->numerator, second->denominator);
  ratioMultiply(second, limit);
  ratioSubtract(sum, second);

  // Threshold R^-(P0 + 1).
  Ratio threshold = ratioCopy(kRadix);
  ratioIntPower(threshold, -entryPrecision);
  ratioDivide(threshold, kRadix);

  Ratio quotient = ratioCopy(kOne);  // (2k)! / A^(2k)
  BigNum n = bigFromInt(0, kInternalBase);
  Ratio pair = ratioCopy(kTwo);
  while (!ratioIsZero(pair) && aboveThreshold(pair, threshold) && !stopRequested()) {
    ratioAdd(z, kTwo);
    bigAdd(n, bigOne, kInternalBase);
    bigMultiply(quotient->numerator, n, kInternalBase);
    bigAdd(n, bigOne, kInternalBase);
    bigMultiply(quotient->numerator, n, kInternalBase);
    ratioDivide(quotient, limitSquared);

    // w = A / ((n + 1)(z + 1)); pair = (1/z - w) / D.
    Ratio u = ratioAlloc();
    u->numerator = bigCopy(n);
    u->denominator = bigCopy(bigOne);
    ratioAdd(u, kOne);
    Ratio zPlusOne = ratioCopy(z);
    ratioAdd(zPlusOne, kOne);
    ratioMultiply(u, zPlusOne);
    Ratio w = ratioCopy(limit);
    ratioDivide(w, u);
    pair = ratioCopy(z);
    std::swap(pair->numerator, pair->denominator);
    ratioSubtract(pair, w);
    ratioDivide(pair, quotient);
    ratioAdd(sum, pair);
    pair->numerator->sign = 1;
    pair->denominator->sign = 1;
  }
  ratioMultiply(sum, limitToZ);
  z = std::move(sum);
}
