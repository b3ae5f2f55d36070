// Arithmetic on single BigNums: add, multiply, the two long divisions, remainder, powers,
// magnitude comparisons, conversion to a machine integer and the cut to the top digits.
#include "numbers/bignum_arithmetic.h"

#include <algorithm>
#include <cstring>

#include "numbers/bignum_internal.h"
#include "numbers/digit_loops.h"
#include "numbers/fast_multiply.h"

using digit_loops::digitAt;

namespace {

bool isExactlyOne(const BigNum& x) {
  return x->digitCount == 1 && x->digits[0] == 1 && x->exponent == 0;
}

void dropTopZeros(BigNumBlock* x) {
  while (x->digitCount > 1 && x->digits[x->digitCount - 1] == 0) --x->digitCount;
}

// Quotient digit k (0 <= k < R) with k*divisor <= remainder < (k+1)*divisor, for the
// internal base: estimated from the top words, then corrected. remainder has n + 1 words,
// divisor n words with a non-zero top word; scratch has room for n + 1 words.
std::uint32_t internalQuotientWord(const std::uint32_t* remainder, const std::uint32_t* divisor,
                                   std::int32_t n, std::uint32_t* scratch) {
  using u128 = unsigned __int128;
  u128 top = (u128(remainder[n]) << 31) | remainder[n - 1];
  std::uint64_t div = divisor[n - 1];
  if (n >= 2) {
    top = (top << 31) | remainder[n - 2];
    div = (div << 31) | divisor[n - 2];
  }
  u128 estimate = top / div;
  std::uint32_t k = estimate > kInternalMask ? kInternalMask : std::uint32_t(estimate);
  digit_loops::multiplyBySmall(scratch, divisor, n, k, kInternalBase);
  while (k > 0 && digit_loops::compareEqualLength(scratch, remainder, n + 1) > 0) {
    --k;
    digit_loops::multiplyBySmall(scratch, divisor, n, k, kInternalBase);
  }
  // The estimate can also fall one short when the words below the top ones carry.
  for (;;) {
    if (k == kInternalMask) break;
    digit_loops::multiplyBySmall(scratch, divisor, n, k + 1, kInternalBase);
    if (digit_loops::compareEqualLength(scratch, remainder, n + 1) > 0) break;
    ++k;
  }
  digit_loops::multiplyBySmall(scratch, divisor, n, k, kInternalBase);
  return k;
}

// Long division of |a| by |b| in base R, most significant quotient digit first: the
// remainder starts as a aligned so that its top digit stands at b's top position; each
// step takes the largest multiple of b not above it, then moves it one place up against
// the fixed divisor. Produces at most maxDigits digits and stops early once the remainder
// (with the digits of a still to come) is zero.
BigNum longDivide(const BigNum& a, const BigNum& b, std::uint32_t R, std::int32_t maxDigits,
                  std::int32_t sign) {
  const std::int32_t na = a->digitCount;
  const std::int32_t nb = b->digitCount;
  const std::int32_t e0 = wordLength(a) - wordLength(b) + 1;

  BigNum q = bigAlloc(maxDigits + 1);
  q->sign = sign;
  // Scratch: the remainder window (nb + 1), a multiple of b (nb + 1), and for small radices
  // the table of the R - 1 multiples of b.
  const bool smallRadix = R <= 64;
  const std::int32_t width = nb + 1;
  BigNum scratch = bigAlloc(2 * width + (smallRadix ? std::int32_t(R) * width : 0));
  std::uint32_t* rem = scratch->digits;
  std::uint32_t* multiple = rem + width;
  std::uint32_t* table = multiple + width;  // table + k * width holds k * b (k >= 1)

  for (std::int32_t j = 0; j < std::min(na, nb); ++j) rem[nb - 1 - j] = a->digits[na - 1 - j];
  std::int32_t nextA = na - nb - 1;  // index of a's next digit to bring down (below 0: none)
  std::int32_t lowestNonZeroA = 0;
  while (lowestNonZeroA < na && a->digits[lowestNonZeroA] == 0) ++lowestNonZeroA;

  if (smallRadix) {
    // m_1 = b, m_k = m_(k-1) + b: additions with a conditional carry, no division.
    for (std::int32_t i = 0; i < nb; ++i) table[width + i] = b->digits[i];
    for (std::uint32_t k = 2; k < R; ++k) {
      const std::uint32_t* previous = table + (k - 1) * width;
      std::uint32_t* current = table + k * width;
      std::uint32_t carry = 0;
      for (std::int32_t i = 0; i < width; ++i) {
        std::uint32_t t = previous[i] + (i < nb ? b->digits[i] : 0u) + carry;
        carry = t >= R ? 1u : 0u;
        current[i] = t - (carry ? R : 0u);
      }
    }
  }

  // Quotient digits are written downwards from the top slot and moved down at the end.
  std::int32_t produced = 0;
  const bool pollStop = std::int64_t(maxDigits) * width > (1 << 20);
  while (produced < maxDigits) {
    if (pollStop && (produced & 63) == 0 && stopRequested()) break;
    bool remainderZero = true;
    for (std::int32_t i = 0; i < width && remainderZero; ++i) remainderZero = rem[i] == 0;
    if (remainderZero && nextA < lowestNonZeroA) break;

    std::uint32_t k = 0;
    if (smallRadix) {
      std::uint32_t lo = 0, hi = R - 1;  // largest k with k*b <= rem
      while (lo < hi) {
        std::uint32_t mid = (lo + hi + 1) / 2;
        if (digit_loops::compareEqualLength(table + mid * width, rem, width) <= 0)
          lo = mid;
        else
          hi = mid - 1;
      }
      k = lo;
      if (k > 0) digit_loops::subtractInPlace(rem, table + k * width, width, R);
    } else {
      k = internalQuotientWord(rem, b->digits, nb, multiple);
      if (k > 0) digit_loops::subtractInPlace(rem, multiple, width, R);
    }
    q->digits[maxDigits - 1 - produced] = k;
    ++produced;
    std::memmove(rem + 1, rem, sizeof(std::uint32_t) * std::size_t(nb));
    rem[0] = nextA >= 0 ? a->digits[nextA] : 0u;
    --nextA;
  }

  if (produced == 0) {
    q->digitCount = 1;
    q->digits[0] = 0;
    q->exponent = 0;
    return q;
  }
  std::memmove(q->digits, q->digits + (maxDigits - produced),
               sizeof(std::uint32_t) * std::size_t(produced));
  std::memset(q->digits + produced, 0,
              sizeof(std::uint32_t) * std::size_t(maxDigits + 1 - produced));
  q->digitCount = produced;
  q->exponent = e0 - produced;
  dropTopZeros(q.get());
  return q;
}

}  // namespace

bool bigIsZeroForAdd(const BigNumBlock& x) {
  return x.digitCount <= 1 && (x.digitCount == 0 || x.digits[0] == 0);
}

void bigAddSigned(BigNum& a, const BigNumBlock& b, std::int32_t bSign, std::uint32_t R) {
  if (bigIsZeroForAdd(b)) return;
  if (bigIsZeroForAdd(*a)) {
    BigNum c = bigAlloc(b.digitCount);
    c->sign = bSign;
    c->digitCount = b.digitCount;
    c->exponent = b.exponent;
    std::memcpy(c->digits, b.digits, sizeof(std::uint32_t) * std::size_t(b.digitCount));
    a = std::move(c);
    return;
  }
  const BigNumBlock& x = *a;
  const std::int32_t lo = std::min(x.exponent, b.exponent);
  const std::int32_t hi = std::max(x.digitCount + x.exponent, b.digitCount + b.exponent);
  const std::int32_t n = hi - lo;
  BigNum r = bigAlloc(n + 1);
  r->exponent = lo;
  r->digitCount = n;
  std::uint32_t* out = r->digits;
  const bool internal = R == kInternalBase;
  // Stores the low digit of the running sum c and leaves the carry in c.
  auto keepDigit = [internal, R](std::uint64_t& c) {
    std::uint32_t digit = internal ? std::uint32_t(c & kInternalMask) : std::uint32_t(c % R);
    c = internal ? c >> 31 : c / R;
    return digit;
  };

  if (x.sign == bSign) {
    std::uint64_t c = 0;
    for (std::int32_t i = 0; i < n; ++i) {
      std::int64_t pos = std::int64_t(lo) + i;
      c += std::uint64_t(digitAt(x.digits, x.digitCount, x.exponent, pos)) +
           digitAt(b.digits, b.digitCount, b.exponent, pos);
      out[i] = keepDigit(c);
    }
    if (c != 0) {
      out[n] = std::uint32_t(c);
      r->digitCount = n + 1;
    }
    r->sign = x.sign;
  } else {
    // Complement the negative operand and add; a final carry means the positive one won.
    const bool xNegative = x.sign < 0;
    std::uint64_t c = 1;
    for (std::int32_t i = 0; i < n; ++i) {
      std::int64_t pos = std::int64_t(lo) + i;
      std::uint64_t dx = digitAt(x.digits, x.digitCount, x.exponent, pos);
      std::uint64_t db = digitAt(b.digits, b.digitCount, b.exponent, pos);
      if (xNegative)
        dx = R - 1 - dx;
      else
        db = R - 1 - db;
      c += dx + db;
      out[i] = keepDigit(c);
    }
    if (c != 0) {
      r->sign = 1;
    } else {
      r->sign = -1;
      std::uint64_t carry = 1;
      for (std::int32_t i = 0; i < n; ++i) {
        std::uint64_t t = carry + R - 1 - out[i];
        out[i] = std::uint32_t(t % R);
        carry = t / R;
      }
    }
  }
  dropTopZeros(r.get());
  a = std::move(r);
}

void bigAdd(BigNum& a, const BigNum& b, std::uint32_t R) { bigAddSigned(a, *b, b->sign, R); }

namespace {
// Whether a long product stops after the row just added. The flag is read only once a
// non-zero row is in, so that a stopped product of non-zero operands is never zero (a
// denominator left by a stop stays a valid one): every 64 rows, every row once rows are long.
inline bool stopAfterRow(bool pollStop, std::uint32_t& rows, std::int32_t rowLength) {
  if (!pollStop) return false;
  const std::uint32_t mask = rowLength >= (1 << 16) ? 0u : 63u;
  return (rows++ & mask) == 0 && stopRequested();
}

// Schoolbook rows in a display radix; the common radices get a constant divisor, which the
// compiler turns into a multiplication (Radix 0: the radix is only known at run time).
template <std::uint32_t Radix>
void multiplyRows(const BigNumBlock& x, const BigNumBlock& y, std::uint32_t* out, bool pollStop,
                  std::uint32_t runtimeRadix = 0) {
  const std::uint64_t R = Radix != 0 ? Radix : runtimeRadix;
  std::uint32_t rows = 0;
  for (std::int32_t i = 0; i < x.digitCount; ++i) {
    std::uint64_t ai = x.digits[i];
    if (ai == 0) continue;
    std::uint64_t carry = 0;
    for (std::int32_t j = 0; j < y.digitCount; ++j) {
      std::uint64_t t = ai * y.digits[j] + out[i + j] + carry;
      out[i + j] = std::uint32_t(t % R);
      carry = t / R;
    }
    out[i + y.digitCount] = std::uint32_t(carry);
    if (stopAfterRow(pollStop, rows, y.digitCount)) break;
  }
}
}  // namespace

BigNum bigProduct(const BigNumBlock& x, const BigNumBlock& y, std::uint32_t R) {
  if (y.digitCount == 1 && y.digits[0] == 1 && y.exponent == 0) {
    BigNum c = bigAlloc(x.digitCount);
    c->digitCount = x.digitCount;
    c->exponent = x.exponent;
    c->sign = x.sign * y.sign;
    std::memcpy(c->digits, x.digits, sizeof(std::uint32_t) * std::size_t(x.digitCount));
    return c;
  }
  if (x.digitCount == 1 && x.digits[0] == 1 && x.exponent == 0) return bigProduct(y, x, R);
  const std::int32_t nx = x.digitCount, ny = y.digitCount;
  // A value beyond kMaxValueWords could not be shown: the result is too large.
  if (R == kInternalBase && std::int64_t(nx) + ny > kMaxValueWords) raiseError(Overflow);
  // A product too long for a digit count is more memory than any heap gives.
  if (std::int64_t(nx) + ny > kMaxDigitCount) raiseError(OutOfMemory);
  BigNum r = bigAlloc(nx + ny);
  std::int32_t count = nx + ny - 1;
  if (nx > 0 && ny > 0 && x.digits[nx - 1] != 0 && y.digits[ny - 1] != 0) ++count;
  r->digitCount = std::max(count, 1);
  r->sign = x.sign * y.sign;
  r->exponent = x.exponent + y.exponent;
  std::uint32_t* out = r->digits;
  // Products of huge operands can run for minutes: a stop ends them with a partial sum,
  // which the caller discards.
  const bool pollStop = std::int64_t(nx) * ny > (1 << 20);
  if (R == kInternalBase && std::min(nx, ny) >= kKaratsubaThreshold) {
    if (!fastProduct(out, x.digits, nx, y.digits, ny, pollStop)) {
      // Stopped: any non-zero value will do (see stopAfterRow); x's digits are one. The
      // words above them are never read.
      std::memcpy(out, x.digits, sizeof(std::uint32_t) * std::size_t(nx));
      r->digitCount = nx;
    }
  } else if (R == kInternalBase) {
    std::uint32_t rows = 0;
    for (std::int32_t i = 0; i < nx; ++i) {
      std::uint64_t ai = x.digits[i];
      if (ai == 0) continue;
      std::uint64_t carry = 0;
      for (std::int32_t j = 0; j < ny; ++j) {
        std::uint64_t t = ai * y.digits[j] + out[i + j] + carry;
        out[i + j] = std::uint32_t(t & kInternalMask);
        carry = t >> 31;
      }
      out[i + ny] = std::uint32_t(carry);
      if (stopAfterRow(pollStop, rows, ny)) break;
    }
  } else {
    switch (R) {
      case 2: multiplyRows<2>(x, y, out, pollStop); break;
      case 8: multiplyRows<8>(x, y, out, pollStop); break;
      case 10: multiplyRows<10>(x, y, out, pollStop); break;
      case 16: multiplyRows<16>(x, y, out, pollStop); break;
      default: multiplyRows<0>(x, y, out, pollStop, R); break;
    }
  }
  dropTopZeros(r.get());
  return r;
}

void bigMultiply(BigNum& a, const BigNum& b, std::uint32_t R) {
  if (isExactlyOne(b)) {
    a->sign *= b->sign;
    return;
  }
  a = bigProduct(*a, *b, R);
}

void bigDivide(BigNum& a, const BigNum& b, std::uint32_t R) {
  if (isExactlyOne(b)) {
    a->sign *= b->sign;
    return;
  }
  std::int32_t n = std::max({numbers.precisionDigits + 2, a->digitCount, b->digitCount});
  a = longDivide(a, b, R, n, a->sign * b->sign);
}

void bigDivideInternal(BigNum& a, const BigNum& b) {
  if (isExactlyOne(b)) {
    a->sign *= b->sign;
    return;
  }
  std::int32_t n = std::max(
      {numbers.precisionDigits + numbers.digitsPerWord, a->digitCount, b->digitCount});
  a = longDivide(a, b, kInternalBase, n, a->sign * b->sign);
}

void bigRemainder(BigNum& a, const BigNum& b) {
  if (bigLessMagnitude(a, b)) return;
  // Long division in base B keeping only the remainder; positions run from the lower of
  // the two exponents, so both are whole numbers of that unit.
  const std::int32_t lo = std::min(a->exponent, b->exponent);
  const std::int32_t na = wordLength(a) - lo;
  std::int32_t nb = wordLength(b) - lo;
  while (nb > 1 && digitAt(b->digits, b->digitCount, b->exponent, lo + nb - 1) == 0) --nb;
  const std::int32_t width = nb + 1;
  BigNum scratch = bigAlloc(na + 2 * width + nb);
  std::uint32_t* num = scratch->digits;  // a's magnitude from position lo
  std::uint32_t* rem = num + na;
  std::uint32_t* multiple = rem + width;
  std::uint32_t* div = multiple + width;
  for (std::int32_t i = 0; i < na; ++i) num[i] = digitAt(a->digits, a->digitCount, a->exponent, lo + i);
  for (std::int32_t i = 0; i < nb; ++i) div[i] = digitAt(b->digits, b->digitCount, b->exponent, lo + i);

  // Bring a's words down one at a time; the remainder window always holds fewer than nb + 1
  // significant words.
  for (std::int32_t i = na - 1; i >= 0; --i) {
    if ((i & 63) == 0 && stopRequested()) {
      // Stopped: the value is left partly reduced (words below i not yet brought down).
      BigNum partial = bigAlloc(width + i + 1);
      partial->sign = a->sign;
      partial->exponent = lo;
      for (std::int32_t j = 0; j <= i; ++j) partial->digits[j] = num[j];
      for (std::int32_t j = 0; j < width; ++j) partial->digits[i + 1 + j] = rem[j];
      partial->digitCount = width + i + 1;
      dropTopZeros(partial.get());
      a = std::move(partial);
      return;
    }
    std::memmove(rem + 1, rem, sizeof(std::uint32_t) * std::size_t(nb));
    rem[0] = num[i];
    std::uint32_t k = 0;
    if (nb == 1) {
      std::uint64_t top = (std::uint64_t(rem[1]) << 31) | rem[0];
      k = std::uint32_t(top / div[0]);
      std::uint64_t left = top - std::uint64_t(k) * div[0];
      rem[0] = std::uint32_t(left);
      rem[1] = 0;
      continue;
    }
    k = internalQuotientWord(rem, div, nb, multiple);
    if (k > 0) digit_loops::subtractInPlace(rem, multiple, width, kInternalBase);
  }
  BigNum r = bigAlloc(width);
  r->exponent = lo;
  r->digitCount = width;
  std::memcpy(r->digits, rem, sizeof(std::uint32_t) * std::size_t(width));
  dropTopZeros(r.get());
  r->sign = bigIsZero(r) ? 1 : a->sign;
  a = std::move(r);
}

void bigPower(BigNum& x, std::int32_t n) {
  BigNum acc = bigFromInt(1, kInternalBase);
  while (n > 0) {
    if (n & 1) bigMultiply(acc, x, kInternalBase);
    n >>= 1;
    if (n > 0) bigMultiply(x, x, kInternalBase);
    if (stopRequested()) break;
  }
  x = std::move(acc);
}

void bigPowerTrimmed(BigNum& x, std::int32_t n, std::uint32_t R) {
  BigNum acc = bigFromInt(1, R);
  while (n > 0) {
    if (n & 1) bigMultiply(acc, x, R);
    n >>= 1;
    // The square after the last bit would be discarded, and its exponent (twice the
    // power's) need not fit 32 bits.
    if (n == 0) break;
    bigMultiply(x, x, R);
    std::int32_t k = x->digitCount - numbers.precisionDigits - numbers.digitsPerWord;
    if (k > 1) {
      std::memmove(x->digits, x->digits + k, sizeof(std::uint32_t) * std::size_t(x->digitCount - k));
      x->digitCount -= k;
      x->exponent += k;
    }
    if (stopRequested()) break;
  }
  x = std::move(acc);
}

bool bigIsZero(const BigNum& x) {
  for (std::int32_t i = 0; i < x->digitCount; ++i)
    if (x->digits[i] != 0) return false;
  return true;
}

namespace {
// -1, 0, +1 comparing |a| and |b| by the positional rule.
int compareMagnitude(const BigNumBlock& a, const BigNumBlock& b) {
  std::int32_t la = a.digitCount + a.exponent, lb = b.digitCount + b.exponent;
  if (la != lb) return la < lb ? -1 : 1;
  std::int32_t lowest = std::min(a.exponent, b.exponent);
  for (std::int64_t pos = std::int64_t(la) - 1; pos >= lowest; --pos) {
    std::uint32_t da = digitAt(a.digits, a.digitCount, a.exponent, pos);
    std::uint32_t db = digitAt(b.digits, b.digitCount, b.exponent, pos);
    if (da != db) return da < db ? -1 : 1;
  }
  return 0;
}
}  // namespace

bool bigEqualMagnitude(const BigNum& a, const BigNum& b) { return compareMagnitude(*a, *b) == 0; }

bool bigLessMagnitude(const BigNum& a, const BigNum& b) { return compareMagnitude(*a, *b) < 0; }

std::int32_t bigToInt(const BigNum& x, std::uint32_t R) {
  std::uint32_t v = 0;
  for (std::int32_t i = x->digitCount - 1; i >= 0 && x->exponent + i >= 0; --i)
    v = v * R + x->digits[i];
  for (std::int32_t e = x->exponent; e > 0 && v != 0; --e) v *= R;
  return std::int32_t(v * std::uint32_t(x->sign));
}

bool bigKeepTop(BigNum& x, std::int32_t n) {
  std::int32_t count = x->digitCount;
  std::int32_t window = count > n ? n : count;
  if (window < 0) window = 0;
  std::int32_t bottom = count - window;
  std::int32_t zeros = 0;
  while (zeros < window && x->digits[bottom + zeros] == 0) ++zeros;
  if (zeros == 0) return false;
  bigDropLowWords(*x, count - (window - zeros));
  return true;
}

