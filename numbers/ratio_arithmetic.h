// Arithmetic and comparisons on Ratio values. Nothing is reduced to lowest terms;
// ratioTrim keeps numerators and denominators near the working precision.
// All may raise OutOfMemory.
#pragma once
#include "numbers/bignum.h"

void ratioTrim(Ratio& a);
void ratioAdd(Ratio& a, const Ratio& b);       // trims for unlike denominators only
void ratioSubtract(Ratio& a, const Ratio& b);  // as ratioAdd
void ratioMultiply(Ratio& a, const Ratio& b);  // trims
void ratioDivide(Ratio& a, const Ratio& b);    // trims; Undefined, Overflow, Underflow
void ratioModulo(Ratio& a, const Ratio& b);    // a - b*trunc(a/b), sign of a; Undefined
void ratioFraction(Ratio& a);                  // a - trunc(a), sign of a
void ratioIntegerPart(Ratio& a);  // trunc of a rounded to precisionDigits significant digits
std::int32_t ratioToInt(const Ratio& a);      // integer part modulo 2^32, as signed
void ratioIntPower(Ratio& a, std::int32_t n);  // trims; a^0 = 1

bool ratioIsZero(const Ratio& a);
bool ratioEqual(const Ratio& a, const Ratio& b);
bool ratioNotEqual(const Ratio& a, const Ratio& b);
bool ratioLess(const Ratio& a, const Ratio& b);
bool ratioLessEqual(const Ratio& a, const Ratio& b);
bool ratioGreater(const Ratio& a, const Ratio& b);
bool ratioGreaterEqual(const Ratio& a, const Ratio& b);
