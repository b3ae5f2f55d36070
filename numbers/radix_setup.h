// Radix and precision set-up, and the shared constants it installs.
#pragma once
#include "numbers/bignum.h"

// Installs radix R (2..16 in the engine) and working precision P (>= 1) with the radix
// constants, and either loads the stored table (when the constants' key covers the need
// R * P * g) or rebuilds the exact constants. Returns true when the transcendental constants
// (kPi ... kLn2) must still be made to carry P + g digits: the full set-up is
// setRadixPrecisionAndConstants (transcendental/constants.h), which the engine calls.
bool setRadixAndPrecision(std::int32_t R, std::int32_t P);
// Sets every constant of the stored table from it.
void loadStoredConstants();
// Rebuilds the exact constants (1, 2, 1/2, the epsilons, the word masks, 360, the e^x limit
// and the rest); loads the stored table first when there are no constants yet.
void buildExactConstants();
// The work R * P * g that a set of computed constants covers (the constants' key).
std::int32_t constantsNeed(std::int32_t R, std::int32_t P);
// Bits of precision of `digits` digits of radix R, and the stored table's (46 digits).
double precisionBits(std::int32_t R, std::int32_t digits);
extern const double kStoredTableBits;
// g for a radix: how many digits of R one internal word counts for.
std::int32_t digitsPerWordFor(std::int32_t R);

// Shared constants, read-only for everyone but the set-up.
extern BigNum bigOne, bigTwo, bigRadix;
extern Ratio kRadix, kZero, kOne, kMinusOne, kTwo, kSix, kTen, kHalf, kAsinSplit;
extern Ratio kPi, kTwoPi, kHalfPi, kSqrtE, kE, kLn10, kLn2;
extern Ratio kMask32, kMask16, kMask8;
extern Ratio k360, k400, k180, k200, kExpLimit, kMinusExpLimit;
extern Ratio kEpsilon, kMinusEpsilon;
