// Text to number. bigFromText reads a text in the current radix with a state machine into
// a BigNum of radix digits; ratioFromRadixBig converts such a number exactly into a Ratio.
#include "numbers/text_to_number.h"

#include <cstring>

#include "numbers/bignum_arithmetic.h"
#include "numbers/radix_setup.h"
#include "numbers/ratio_arithmetic.h"

namespace {

enum State {
  Start,
  Signed,
  LeadingZeros,
  PointFirst,
  IntegerDigits,
  FractionZeros,
  FractionDigits,
  PointAfterDigits,
  ExponentMarker,
  ExponentSign,
  ExponentDigits,
  ZeroMantissaMarker,
  ZeroMantissaExponentSign,
  ZeroMantissaExponentDigits,
  Stop,
  StateCount
};

enum CharClass { ClassPoint, ClassZero, ClassOther, ClassSign, ClassMarker, ClassCount };

// Next state by current state and character class.
constexpr State kTransitions[StateCount][ClassCount] = {
    /* Start */ {PointFirst, LeadingZeros, IntegerDigits, Signed, Stop},
    /* Signed */ {PointFirst, LeadingZeros, IntegerDigits, Stop, Stop},
    /* LeadingZeros */ {PointFirst, LeadingZeros, IntegerDigits, Stop, ZeroMantissaMarker},
    /* PointFirst */ {Stop, FractionZeros, FractionDigits, Stop, ExponentMarker},
    /* IntegerDigits */ {PointAfterDigits, IntegerDigits, IntegerDigits, Stop, ExponentMarker},
    /* FractionZeros */ {Stop, FractionZeros, FractionDigits, Stop, ZeroMantissaMarker},
    /* FractionDigits */ {Stop, FractionDigits, FractionDigits, Stop, ExponentMarker},
    /* PointAfterDigits */ {Stop, FractionDigits, FractionDigits, Stop, ExponentMarker},
    /* ExponentMarker */ {Stop, ExponentDigits, ExponentDigits, ExponentSign, Stop},
    /* ExponentSign */ {Stop, ExponentDigits, ExponentDigits, Stop, Stop},
    /* ExponentDigits */ {Stop, ExponentDigits, ExponentDigits, Stop, Stop},
    /* ZeroMantissaMarker */
    {Stop, ZeroMantissaExponentDigits, ZeroMantissaExponentDigits, ZeroMantissaExponentSign, Stop},
    /* ZeroMantissaExponentSign */
    {Stop, ZeroMantissaExponentDigits, ZeroMantissaExponentDigits, Stop, Stop},
    /* ZeroMantissaExponentDigits */
    {Stop, ZeroMantissaExponentDigits, ZeroMantissaExponentDigits, Stop, Stop},
    /* Stop */ {Stop, Stop, Stop, Stop, Stop},
};

// The value of a digit character in radix R, or -1 when it is not a digit of R.
int digitValue(char c, std::int32_t R) {
  if (R >= 11 && R <= 36 && c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
  if (c == '\0') return -1;
  const char* found = std::strchr(digitAlphabet, c);
  if (found == nullptr) return -1;
  int value = int(found - digitAlphabet);
  return value < R ? value : -1;
}

// Exponent values are kept far inside 32 bits so that adding them to a position is safe.
constexpr std::int64_t kExponentCeiling = 0x3FFFFFFF;

}  // namespace

BigNum bigFromText(const char* text) {
  const std::int32_t R = numbers.radix;
  std::int32_t n = 0;
  while (text[n] != '\0' && text[n] != '\n') ++n;

  BigNum x = bigAlloc(n);
  x->sign = 1;
  std::int64_t v = 0;
  std::int32_t s = 1;
  std::int32_t exponent = 0;
  std::int32_t stored = 0;
  State state = Start;

  const char* symbol = numbers.decimalSymbol;
  const std::size_t symbolLength = std::strlen(symbol);
  for (std::int32_t i = 0; i < n && state != Stop; ++i) {
    const char c = text[i];
    CharClass cls;
    if (symbolLength > 0 && i + std::int32_t(symbolLength) <= n &&
        std::strncmp(text + i, symbol, symbolLength) == 0) {
      cls = ClassPoint;
      i += std::int32_t(symbolLength) - 1;
    } else if (c == '.' || (symbolLength > 1 && c == symbol[0])) {
      // The renderer and the typing code write only the symbol's first character.
      cls = ClassPoint;
    } else if (c == '0') {
      cls = ClassZero;
    } else if (c == '+' || c == '-') {
      cls = ClassSign;
    } else if (c == '^' || (c == 'e' && R == 10)) {
      cls = ClassMarker;
    } else {
      cls = ClassOther;
    }
    state = kTransitions[state][cls];
    switch (state) {
      case Signed:
        x->sign = c == '-' ? -1 : 1;
        break;
      case IntegerDigits:
      case FractionDigits: {
        int value = digitValue(c, R);
        if (value < 0) {
          state = Stop;
          break;
        }
        x->digits[n - 1 - stored] = std::uint32_t(value);
        ++stored;
        if (state == FractionDigits) --exponent;
        break;
      }
      case FractionZeros:
        --exponent;
        break;
      case ExponentSign:
      case ZeroMantissaExponentSign:
        s = c == '-' ? -1 : 1;
        break;
      case ExponentDigits:
      case ZeroMantissaExponentDigits: {
        int value = digitValue(c, R);
        if (value < 0) {
          state = Stop;
          break;
        }
        v = v * R + value;
        if (v > kExponentCeiling) v = kExponentCeiling;
        break;
      }
      default:
        break;
    }
  }

  if (state == FractionZeros || state == ZeroMantissaExponentDigits) {
    x->digitCount = 1;
    x->digits[0] = 0;
    for (std::int32_t i = 1; i < n; ++i) x->digits[i] = 0;
    x->exponent = 0;
    x->sign = 1;
  } else {
    x->digitCount = n;
    std::int64_t e = std::int64_t(exponent) - (n - stored) + s * v;
    if (e > kExponentCeiling) e = kExponentCeiling;
    if (e < -kExponentCeiling) e = -kExponentCeiling;
    x->exponent = std::int32_t(e);
  }
  if (x->digitCount == 0) return BigNum();
  bigKeepTop(x, numbers.precisionDigits);
  return x;
}

BigNum bigRadixToInternal(const BigNum& x) {
  const std::uint32_t R = std::uint32_t(numbers.radix);
  // Horner's rule in place, several radix digits per step: acc := acc * R^m + chunk.
  std::int32_t bitsPerDigit = 0;
  while ((1u << bitsPerDigit) < R) ++bitsPerDigit;
  const std::int32_t capacity = x->digitCount * bitsPerDigit / 31 + 2;
  BigNum acc = bigAlloc(capacity);
  acc->sign = 1;
  std::int32_t used = 1;
  std::uint32_t* words = acc->digits;

  std::int32_t i = x->digitCount - 1;
  while (i >= 0) {
    std::uint64_t scale = 1, chunk = 0;
    while (i >= 0 && scale * R <= kInternalBase) {
      chunk = chunk * R + x->digits[i];
      scale *= R;
      --i;
    }
    std::uint64_t carry = chunk;
    for (std::int32_t w = 0; w < used; ++w) {
      std::uint64_t t = std::uint64_t(words[w]) * scale + carry;
      words[w] = std::uint32_t(t & kInternalMask);
      carry = t >> 31;
    }
    while (carry != 0) {
      words[used++] = std::uint32_t(carry & kInternalMask);
      carry >>= 31;
    }
  }
  while (used > 1 && words[used - 1] == 0) --used;
  acc->digitCount = used;

  if (x->exponent > 0) {
    BigNum power = bigCopy(bigRadix);
    bigPower(power, x->exponent);
    bigMultiply(acc, power, kInternalBase);
  }
  acc->sign = x->sign;
  return acc;
}

Ratio ratioFromRadixBig(const BigNum& x, std::uint32_t R) {
  BigNum d = bigCopy(x);
  BigNum p = bigFromInt(1, R);
  if (d->exponent < 0) {
    p->exponent = -d->exponent;
    d->exponent = 0;
  }
  Ratio r = ratioAlloc();
  r->numerator = bigRadixToInternal(d);
  r->denominator = bigRadixToInternal(p);
  return r;
}

Ratio ratioFromText(bool negative, const char* mantissaText, bool negativeExponent,
                    const char* exponentText) {
  const bool hasMantissa = mantissaText != nullptr && mantissaText[0] != '\0';
  const bool hasExponent = exponentText != nullptr && exponentText[0] != '\0';
  const std::int32_t R = numbers.radix;
  Ratio r;
  if (hasMantissa) {
    BigNum x = bigFromText(mantissaText);
    if (!x) return Ratio();
    r = ratioFromRadixBig(x, std::uint32_t(R));
  } else {
    r = ratioCopy(hasExponent ? kOne : kZero);
  }
  std::int32_t e = 0;
  if (hasExponent) {
    BigNum y = bigFromText(exponentText);
    if (!y) return Ratio();
    e = bigToInt(y, std::uint32_t(R));
  }
  std::int64_t magnitude = e < 0 ? -std::int64_t(e) : std::int64_t(e);
  if (magnitude > 0x7FFFFFFF) magnitude = 0x7FFFFFFF;
  Ratio q = ratioAlloc();
  q->numerator = bigFromInt(R, kInternalBase);
  bigPower(q->numerator, std::int32_t(magnitude));
  q->denominator = bigFromInt(1, kInternalBase);
  if (negativeExponent)
    ratioDivide(r, q);
  else if (e > 0)
    ratioMultiply(r, q);
  if (negative) ratioNegate(r);
  assert(ratioIsNormal(r));
  return r;
}
