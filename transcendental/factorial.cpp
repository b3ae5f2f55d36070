// x! = Gamma(x + 1): exact for integer arguments however long (the prime swing, with
// balanced products); otherwise the integral part of the work is a running product, and
// Gamma(z) for z in (0, 1) is the lower incomplete gamma function summed to a limit chosen
// from the precision.
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

using Wide = unsigned __int128;
using Multiplier = std::uint64_t;
constexpr Multiplier kMultiplierLimit = Multiplier{1} << 62;

// Products of many small factors with operands of equal size, so that the long products
// use the fast multiplication: factors below 2^31 are packed into one machine multiplier
// below 2^62, multipliers are multiplied into a leaf of about kLeafWords words, and leaves
// are combined like a binary counter (level k holds the product of 2^k leaves).
constexpr std::int32_t kLeafWords = 24;
constexpr int kLevels = 40;

struct BalancedProduct {
  BigNum levels[kLevels];
  BigNum leaf;
  Multiplier pending = 1;
};

// leaf := leaf * m in place (its block has room for kLeafWords + 4 words).
void multiplyLeaf(BigNumBlock& leaf, Multiplier m) {
  Wide carry = 0;
  std::int32_t count = leaf.digitCount;
  for (std::int32_t i = 0; i < count; ++i) {
    const Wide t = static_cast<Wide>(leaf.digits[i]) * m + carry;
    leaf.digits[i] = static_cast<std::uint32_t>(t) & kInternalMask;
    carry = t >> 31;
  }
  while (carry != 0) {
    leaf.digits[count++] = static_cast<std::uint32_t>(carry) & kInternalMask;
    carry >>= 31;
  }
  leaf.digitCount = count;
}

void pushLeaf(BalancedProduct& product) {
  BigNum carried = std::move(product.leaf);
  int k = 0;
  while (k + 1 < kLevels && product.levels[k]) {
    bigMultiply(carried, product.levels[k], kInternalBase);
    product.levels[k].reset();
    ++k;
  }
  if (product.levels[k]) bigMultiply(carried, product.levels[k], kInternalBase);
  product.levels[k] = std::move(carried);
}

void flushMultiplier(BalancedProduct& product) {
  if (product.pending == 1) return;
  if (!product.leaf) product.leaf = bigFromInt(1, kInternalBase);  // room for 33 words
  multiplyLeaf(*product.leaf, product.pending);
  product.pending = 1;
  if (product.leaf->digitCount >= kLeafWords) pushLeaf(product);
}

// factor < 2^31.
void multiplyBy(BalancedProduct& product, Multiplier factor) {
  if (product.pending >= kMultiplierLimit / factor) flushMultiplier(product);
  product.pending *= factor;
}

// The whole product, the smaller partial products first.
BigNum finish(BalancedProduct& product) {
  flushMultiplier(product);
  if (product.leaf) pushLeaf(product);
  BigNum result = bigFromInt(1, kInternalBase);
  for (BigNum& level : product.levels) {
    if (level) bigMultiply(result, level, kInternalBase);
  }
  return result;
}

// Bit i of the sieve is set when 2i + 1 is composite (odd numbers up to n).
BigNum oddSieve(std::int32_t n) {
  const std::int64_t count = (std::int64_t(n) + 1) / 2;
  BigNum sieve = bigAlloc(std::int32_t(count / 32 + 1));
  std::uint32_t* bits = sieve->digits;
  for (std::int64_t p = 3; p * p <= n; p += 2) {
    if (bits[p / 64] >> ((p / 2) % 32) & 1u) continue;
    if (stopRequested()) break;
    for (std::int64_t q = p * p; q <= n; q += 2 * p) bits[q / 64] |= 1u << ((q / 2) % 32);
  }
  return sieve;
}

bool isOddPrime(const BigNum& sieve, std::int64_t p) {
  return (sieve->digits[p / 64] >> ((p / 2) % 32) & 1u) == 0;
}

// The odd part of swing(n) = n! / (floor(n/2)!)^2: the product over odd primes p <= n of
// p^e, where e counts the odd quotients floor(n / p^i), i >= 1; each p^e <= n.
BigNum oddSwing(std::int32_t n, const BigNum& sieve) {
  BalancedProduct product;
  for (std::int64_t p = 3; p <= n; p += 2) {
    if (!isOddPrime(sieve, p)) continue;
    if ((p & 0xFFFF) == 1 && stopRequested()) break;
    Multiplier power = 1;
    if (p * p <= n) {
      for (std::int64_t q = n / p; q > 0; q /= p) {
        if (q & 1) power *= static_cast<Multiplier>(p);
      }
    } else if ((n / p) & 1) {
      power = static_cast<Multiplier>(p);
    }
    if (power > 1) multiplyBy(product, power);
  }
  return finish(product);
}

// The odd part of n!: odd(n!) = odd(floor(n/2)!)^2 oddSwing(n), down to factorials small
// enough for a direct product.
BigNum oddFactorial(std::int32_t n, const BigNum& sieve) {
  if (n < 64) {
    BalancedProduct product;
    for (std::int32_t k = 3; k <= n; ++k) {
      std::int32_t odd = k;  // k = 2^j odd
      while ((odd & 1) == 0) odd >>= 1;
      if (odd > 1) multiplyBy(product, static_cast<Multiplier>(odd));
    }
    return finish(product);
  }
  BigNum half = oddFactorial(n / 2, sieve);
  if (stopRequested()) return half;
  bigMultiply(half, half, kInternalBase);
  BigNum s = oddSwing(n, sieve);
  bigMultiply(half, s, kInternalBase);
  return half;
}

// x * 2^bits, as a new value.
BigNum shiftedLeft(const BigNum& x, std::int64_t bits) {
  const std::int32_t words = static_cast<std::int32_t>(bits / 31);
  BigNum r = bigAlloc(x->digitCount + words + 2);
  r->sign = 1;
  r->digitCount = x->digitCount + words;
  for (std::int32_t i = 0; i < x->digitCount; ++i) r->digits[words + i] = x->digits[i];
  multiplyLeaf(*r, Multiplier{1} << (bits % 31));
  return r;
}

// n! for 0 <= n < 2^31, exactly, over 1, by the prime swing: squares of the smaller
// factorial's odd part and products of odd prime powers, all done by the fast
// multiplication, then the power of two. A stop request ends it early with a partial
// product; a product longer than any value may be is too large (Overflow).
Ratio exactFactorial(std::int32_t n) {
  const double bits = std::lgamma(static_cast<double>(n) + 1.0) / std::log(2.0);
  if (bits / 31.0 + 4 > kMaxValueWords) raiseError(Overflow);
  const BigNum sieve = oddSieve(n);
  // n! = odd(n!) 2^(n - number of ones in n's binary digits).
  std::int64_t twos = n;
  for (std::uint32_t v = static_cast<std::uint32_t>(n); v != 0; v &= v - 1) --twos;
  BigNum product = shiftedLeft(oddFactorial(n, sieve), twos);
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
    ratioAbs(pair);
  }
  ratioMultiply(sum, limitToZ);
  z = std::move(sum);
}
