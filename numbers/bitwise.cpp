// Shifts and word-wise And/Or/Xor on Ratio values. The operands are truncated to integers
// first; negative values are a sign on a magnitude, so the magnitudes are combined and the
// first operand's sign is kept.
#include "numbers/bitwise.h"

#include <algorithm>

#include "numbers/bignum_arithmetic.h"
#include "numbers/digit_loops.h"
#include "numbers/radix_setup.h"
#include "numbers/ratio_arithmetic.h"

namespace {

void shiftBy(Ratio& a, const Ratio& b, bool left) {
  NormalOnExit check(a);
  ratioIntegerPart(a);
  const std::int32_t n = ratioToInt(b);
  Ratio p = ratioCopy(kTwo);
  ratioIntPower(p, n);
  if (left)
    ratioMultiply(a, p);
  else
    ratioDivide(a, p);
}

// Brings an integer value to denominator 1 (the quotient of an integer value is exact).
void toWholeNumber(Ratio& a) {
  bigDivideInternal(a->numerator, a->denominator);
  a->denominator = bigFromInt(1, kInternalBase);
}

void combine(Ratio& a, const Ratio& b, int op) {
  NormalOnExit check(a);
  ratioIntegerPart(a);
  Ratio t = ratioCopy(b);
  ratioIntegerPart(t);
  toWholeNumber(a);
  toWholeNumber(t);
  bitwiseCombine(a->numerator, t->numerator, op);
}

}  // namespace

void ratioShiftLeft(Ratio& a, const Ratio& b) { shiftBy(a, b, true); }
void ratioShiftRight(Ratio& a, const Ratio& b) { shiftBy(a, b, false); }
void ratioAnd(Ratio& a, const Ratio& b) { combine(a, b, BitwiseAnd); }
void ratioOr(Ratio& a, const Ratio& b) { combine(a, b, BitwiseOr); }
void ratioXor(Ratio& a, const Ratio& b) { combine(a, b, BitwiseXor); }

void bitwiseCombine(BigNum& x, const BigNum& y, int op) {
  const std::int32_t lo = std::min(x->exponent, y->exponent);
  const std::int32_t n = std::max(wordLength(x), wordLength(y)) - lo;
  BigNum r = bigAlloc(n);
  r->exponent = lo;
  r->digitCount = n;
  for (std::int32_t i = 0; i < n; ++i) {
    const std::int64_t pos = std::int64_t(lo) + i;
    const std::uint32_t a = digit_loops::digitAt(x->digits, x->digitCount, x->exponent, pos);
    const std::uint32_t b = digit_loops::digitAt(y->digits, y->digitCount, y->exponent, pos);
    r->digits[i] = op == BitwiseAnd ? (a & b) : op == BitwiseOr ? (a | b) : (a ^ b);
  }
  r->sign = x->sign;
  while (r->digitCount > 1 && r->digits[r->digitCount - 1] == 0) --r->digitCount;
  x = std::move(r);
}
