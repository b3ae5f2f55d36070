// Number to text: numerator and denominator are converted into the display radix, divided
// there to a digit budget, rounded to precisionDigits significant digits and written in
// fixed or scientific notation.
#include "numbers/number_to_text.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "numbers/bignum_arithmetic.h"
#include "numbers/radix_setup.h"

namespace {

// q := q * 2^31 + word in radix R, in place; returns the new digit count. The common
// radices get a constant divisor (Radix 0: the radix is only known at run time).
template <std::uint32_t Radix>
std::int32_t shiftInWord(std::uint32_t* q, std::int32_t used, std::uint32_t word,
                         std::uint32_t runtimeRadix = 0) {
  const std::uint64_t R = Radix != 0 ? Radix : runtimeRadix;
  std::uint64_t carry = word;
  for (std::int32_t i = 0; i < used; ++i) {
    std::uint64_t t = (std::uint64_t(q[i]) << 31) + carry;
    q[i] = std::uint32_t(t % R);
    carry = t / R;
  }
  while (carry != 0) {
    q[used++] = std::uint32_t(carry % R);
    carry /= R;
  }
  return used;
}

std::int32_t shiftInWordAnyRadix(std::uint32_t* q, std::int32_t used, std::uint32_t word,
                                 std::uint32_t R) {
  switch (R) {
    case 2: return shiftInWord<2>(q, used, word);
    case 8: return shiftInWord<8>(q, used, word);
    case 10: return shiftInWord<10>(q, used, word);
    case 16: return shiftInWord<16>(q, used, word);
    default: return shiftInWord<0>(q, used, word, R);
  }
}

}  // namespace

std::int32_t exponentDigitCount(std::int32_t E) {
  std::int64_t b = std::llabs(std::int64_t(E) - 1);
  const std::int64_t R = numbers.radix;
  std::int32_t count = 0;
  while (b != 0) {
    b /= R;
    ++count;
  }
  return count;
}

BigNum bigInternalToRadix(const BigNum& x, std::uint32_t R) {
  const std::int32_t P = numbers.precisionDigits;
  const std::int32_t c = std::min(P + 1, x->digitCount);
  const std::int32_t k = wordLength(x) - c;

  // s := B^k in radix R, each square cut to the working precision.
  BigNum s = bigFromInt(1, R);
  if (k > 0) {
    BigNum base = bigAlloc(33);
    base->sign = 1;
    std::uint64_t v = kInternalBase;
    std::int32_t n = 0;
    while (v != 0) {
      base->digits[n++] = std::uint32_t(v % R);
      v /= R;
    }
    base->digitCount = n;
    bigPowerTrimmed(base, k, R);
    s = std::move(base);
  }

  // The top c words, most significant first: q := q * 2^31 + word (exactly what doubling
  // and adding each bit gives).
  std::int32_t bitsPerDigit = 1;
  while ((1u << bitsPerDigit) < R) ++bitsPerDigit;
  const std::int32_t capacity = (c * 31) / (bitsPerDigit > 1 ? bitsPerDigit - 1 : 1) + 2;
  BigNum q = bigAlloc(capacity);
  q->sign = 1;
  std::int32_t used = 1;
  for (std::int32_t i = 0; i < c; ++i) {
    if (stopRequested()) break;
    used = shiftInWordAnyRadix(q->digits, used, x->digits[x->digitCount - 1 - i], R);
  }
  while (used > 1 && q->digits[used - 1] == 0) --used;
  q->digitCount = used;
  bigMultiply(q, s, R);
  q->sign = x->sign;
  return q;
}

HeapText ratioToText(Ratio& r, std::uint32_t R, int format) {
  BigNumBlock* numerator = r->numerator.get();
  BigNumBlock* denominator = r->denominator.get();
  std::int32_t m = std::min(numerator->exponent, denominator->exponent);
  if (m < 0) m = 0;
  numerator->exponent -= m;
  denominator->exponent -= m;
  BigNum n = bigInternalToRadix(r->numerator, R);
  BigNum d = bigInternalToRadix(r->denominator, R);
  bigDivide(n, d, R);
  return formatRadixBig(n, format);
}

HeapText formatRadixBig(BigNum& v, int format) {
  const std::int32_t P = numbers.precisionDigits;
  const std::int32_t R = numbers.radix;
  const char pt = numbers.decimalSymbol[0] != '\0' ? numbers.decimalSymbol[0] : '.';

  bool scientific = false;
  std::int32_t ndig = 0, E = 0;
  for (;;) {
    bigKeepTop(v, P + 2);
    ndig = std::min(v->digitCount, P);
    E = wordLength(v);
    const std::int32_t x = exponentDigitCount(E);

    // Half a unit of the last written digit, placed one below the P-th significant digit.
    BigNum h;
    if (!bigIsZero(v) && v->digitCount >= P) {
      BigNum radixNumber = bigFromInt(R, std::uint32_t(R));
      BigNum two = bigFromInt(2, std::uint32_t(R));
      bigDivide(radixNumber, two, std::uint32_t(R));
      h = std::move(radixNumber);
      h->sign = v->sign;
    }
    std::int32_t roundingPosition = E - 1 - P;  // where h's top digit stands
    if (format == FormatScientific) {
      scientific = true;
    } else {
      scientific = ndig - E > P + 2 || E > P + 3;
      if (scientific) {
        roundingPosition += x - 1;
        if (ndig + x - 1 > P) {
          ndig = P - x + 1;
          // A huge exponent may leave no room at all: keep one mantissa digit and round
          // just below it.
          if (ndig < 1) {
            ndig = 1;
            roundingPosition = E - 2;
          }
        }
      }
    }

    if (h) {
      h->exponent = roundingPosition - (h->digitCount - 1);
      bigAdd(v, h, std::uint32_t(R));
      const bool changed = bigKeepTop(v, wordLength(v) - wordLength(h));
      if (changed) continue;
    } else {
      bigKeepTop(v, P);
    }
    break;
  }

  // Longest text: sign, "0" and point, P + 3 digits or zeros, exponent marker and sign, and
  // the exponent's digits (up to 32 in radix 2).
  const std::int32_t x = std::max(exponentDigitCount(E), 1);
  HeapText text = heapTextAlloc(std::size_t(std::max(P, ndig)) + std::size_t(x) + 16);
  char* out = text.get();
  std::int32_t p = scientific ? 1 : E;
  if (v->sign == -1) *out++ = '-';
  if (!scientific && p <= 0) {
    *out++ = '0';
    *out++ = pt;
    for (std::int32_t i = 0; i < -p; ++i) *out++ = '0';
    p = 0;
  }
  for (std::int32_t i = 0; i < ndig; ++i) {
    std::int32_t index = v->digitCount - 1 - i;
    *out++ = digitAlphabet[index >= 0 ? v->digits[index] : 0];
    --p;
    if (p == 0) *out++ = pt;
  }
  while (p > 0) {
    *out++ = '0';
    --p;
    if (p == 0) *out++ = pt;
  }
  if (scientific) {
    *out++ = R == 10 ? 'e' : '^';
    std::int64_t shown = std::int64_t(E) - 1;
    *out++ = shown >= 0 ? '+' : '-';
    std::uint64_t magnitude = std::uint64_t(shown >= 0 ? shown : -shown);
    char digits[72];
    std::int32_t count = 0;
    do {
      digits[count++] = digitAlphabet[magnitude % std::uint64_t(R)];
      magnitude /= std::uint64_t(R);
    } while (magnitude != 0);
    while (count > 0) *out++ = digits[--count];
  }
  *out = '\0';
  return text;
}
