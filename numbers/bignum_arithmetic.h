// Arithmetic on single BigNums in sign-and-magnitude form, in a base given by the caller
// (or in the internal base B = 2^31 where the name says so). All may raise OutOfMemory.
#pragma once
#include <cstring>

#include "numbers/bignum.h"

void bigAdd(BigNum& a, const BigNum& b, std::uint32_t R);       // a := a + b
void bigMultiply(BigNum& a, const BigNum& b, std::uint32_t R);  // a := a * b
// a := a / b truncated after max(P + 2, digit counts) digits; for display radices.
void bigDivide(BigNum& a, const BigNum& b, std::uint32_t R);
// a := a / b in base B truncated after max(P + g, digit counts) words.
void bigDivideInternal(BigNum& a, const BigNum& b);
// a := a mod b in base B (|a| mod |b|, sign of a); stops early on abortRequested.
void bigRemainder(BigNum& a, const BigNum& b);
void bigPower(BigNum& x, std::int32_t n);  // x := x^n in base B, exact; 1 for n <= 0
// x := x^n in base R; each square is cut to P + g digits (truncated), the accumulator never.
void bigPowerTrimmed(BigNum& x, std::int32_t n, std::uint32_t R);

bool bigIsZero(const BigNum& x);
bool bigEqualMagnitude(const BigNum& a, const BigNum& b);
bool bigLessMagnitude(const BigNum& a, const BigNum& b);
// The integer part as a signed 32-bit value, with wrap-around.
std::int32_t bigToInt(const BigNum& x, std::uint32_t R);
// Strips the zero digits at the bottom of the top n digits (and everything below them);
// returns whether x changed.
bool bigKeepTop(BigNum& x, std::int32_t n);
// Drops the k lowest stored digits (0 <= k <= digitCount), the exponent rising by k: the
// value is truncated toward zero at that position. The one cut used by trimming, the
// series and bigKeepTop.
inline void bigDropLowWords(BigNumBlock& x, std::int32_t k) {
  std::memmove(x.digits, x.digits + k, sizeof(std::uint32_t) * std::size_t(x.digitCount - k));
  x.digitCount -= k;
  x.exponent += k;
}
