// Integer and bitwise operations on Ratio values. Operands are first truncated with
// ratioIntegerPart; magnitudes are combined, the first operand's sign is kept.
#pragma once
#include "numbers/bignum.h"

void ratioShiftLeft(Ratio& a, const Ratio& b);   // trunc(a) * 2^n, n = ratioToInt(b)
void ratioShiftRight(Ratio& a, const Ratio& b);  // trunc(a) / 2^n (not truncated after)
void ratioAnd(Ratio& a, const Ratio& b);
void ratioOr(Ratio& a, const Ratio& b);
void ratioXor(Ratio& a, const Ratio& b);

enum BitwiseOp { BitwiseAnd = 0, BitwiseOr = 1, BitwiseXor = 2 };
// Word-wise operation on the magnitudes of two base-B BigNums; x keeps its sign.
void bitwiseCombine(BigNum& x, const BigNum& y, int op);
