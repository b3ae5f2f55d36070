// Text to number: reads text in the current radix (numbers.radix) with the user's decimal
// symbol into a BigNum of radix digits, then converts it exactly into a Ratio in base B.
#pragma once
#include "numbers/bignum.h"

// +/- mantissa * R^(+/- exponent); either text may be null or empty. Returns none (null)
// when a present, non-empty text reads as nothing.
Ratio ratioFromText(bool negative, const char* mantissaText, bool negativeExponent,
                    const char* exponentText);
// The number written in text, as radix digits; none for an empty text.
BigNum bigFromText(const char* text);
// The exact value of x held in radix R.
Ratio ratioFromRadixBig(const BigNum& x, std::uint32_t R);
// x (radix digits, exponent >= 0) converted to base B using bigRadix.
BigNum bigRadixToInternal(const BigNum& x);
