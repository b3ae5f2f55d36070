// Radix and precision set-up, and the shared constants it installs.
#pragma once
#include "numbers/bignum.h"

// Installs radix R (2..16 in the engine) and working precision P (>= 1), rebuilds the radix
// constants and either computes the shared constants or loads the stored table.
void setRadixAndPrecision(std::int32_t R, std::int32_t P);
// Sets every constant of the stored table from it.
void loadStoredConstants();
// g for a radix: how many digits of R one internal word counts for.
std::int32_t digitsPerWordFor(std::int32_t R);

// Shared constants, read-only for everyone but the set-up.
extern BigNum bigOne, bigTwo, bigRadix;
extern Ratio kRadix, kZero, kOne, kMinusOne, kTwo, kSix, kTen, kHalf, kAsinSplit;
extern Ratio kPi, kTwoPi, kHalfPi, kSqrtE, kE, kLn10, kLn2;
extern Ratio kMask64, kMask32, kMask16, kMask8;
extern Ratio k360, k400, k180, k200, kExpLimit, kMinusExpLimit;
extern Ratio kEpsilon, kMinusEpsilon;
