// Number to text: renders a Ratio in a display radix, rounded to precisionDigits
// significant digits, in fixed or scientific notation.
#pragma once
#include "numbers/bignum.h"
#include "numbers/heap_text.h"

enum NumberFormat { FormatAutomatic = 0, FormatScientific = 1 };

// The text of r's value; r keeps its value but its exponents may be reduced.
HeapText ratioToText(Ratio& r, std::uint32_t R, int format);
// A base-B BigNum converted into radix R from its top P + 1 words.
BigNum bigInternalToRadix(const BigNum& x, std::uint32_t R);
// The text of a BigNum held in the current radix; v is rounded in place.
HeapText formatRadixBig(BigNum& v, int format);
// Number of radix digits of |E - 1|; 0 when E is 1.
std::int32_t exponentDigitCount(std::int32_t E);
