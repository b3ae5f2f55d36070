// Internal helpers shared by the number package's files (not for other folders).
#pragma once
#include "numbers/bignum.h"

// The longest digit count a BigNum may have: a result beyond it raises OutOfMemory.
constexpr std::int32_t kMaxDigitCount = 0x7FFFFFF0;

// a := a + b with b's sign taken as bSign (so callers never touch a read operand).
void bigAddSigned(BigNum& a, const BigNumBlock& b, std::int32_t bSign, std::uint32_t R);
// The zero test bigAdd uses: at most one digit, and that digit 0.
bool bigIsZeroForAdd(const BigNumBlock& x);
// A new BigNum holding x * y in base R (the operands are only read).
BigNum bigProduct(const BigNumBlock& x, const BigNumBlock& y, std::uint32_t R);
