// The scientific functions on Ratio values, summed as power series to the working precision.
// Each takes a Ratio register by reference and replaces its value by the result.
// Domain errors raise InvalidArgument (or the Ratio division's errors where stated);
// every long loop ends early when abortRequested is set.
#pragma once
#include "numbers/bignum.h"
#include "transcendental/constants.h"

enum AngleUnit { Degrees = 0, Radians = 1, Gradients = 2 };

// Exponential, logarithms, powers.
void ratioExp(Ratio& x);
void ratioLn(Ratio& x);
void ratioLog10(Ratio& x);
void ratioPow(Ratio& x, const Ratio& y);
void ratioRoot(Ratio& a, const Ratio& b);  // a^(1/b) through ratioPow; Overflow for b = 0

// Trigonometric functions in the given unit, and their inverses (results in the unit).
void ratioSin(Ratio& x, AngleUnit unit);
void ratioCos(Ratio& x, AngleUnit unit);
void ratioTan(Ratio& x, AngleUnit unit);
void ratioAsin(Ratio& x, AngleUnit unit);
void ratioAcos(Ratio& x, AngleUnit unit);
void ratioAtan(Ratio& x, AngleUnit unit);

// Hyperbolic functions and their inverses.
void ratioSinh(Ratio& x);
void ratioCosh(Ratio& x);
void ratioTanh(Ratio& x);
void ratioAsinh(Ratio& x);
void ratioAcosh(Ratio& x);
void ratioAtanh(Ratio& x);

// x! = Gamma(x + 1); exact for non-negative integers, InvalidArgument for negative ones.
void ratioFactorial(Ratio& x);

// ---------------------------------------------------------------------------------------
// Building blocks shared inside transcendental/ and with the constant set-up of numbers/.

// Angles in radians.
void asinRadians(Ratio& x);  // InvalidArgument when |x| - 1 > kEpsilon
void acosRadians(Ratio& x);  // as asinRadians
void atanRadians(Ratio& x);
void tanRadians(Ratio& x);  // InvalidArgument where the cosine is exactly zero
// Converts an angle in radians to the unit (other codes: unchanged).
void radiansToUnit(Ratio& x, AngleUnit unit);

// x := x modulo the unit's full turn, keeping the sign of x.
void reduceAngle(Ratio& x, AngleUnit unit);
// x := x - m*trunc(x/m), exactly.
void reduceModulo(Ratio& x, const Ratio& m);
// x := x - 2pi*trunc(x/2pi), 2pi carried to the digits of x plus the working precision.
void reduceModuloTwoPi(Ratio& x);

// pi and 2pi to at least the given number of digits of the current radix (kept for reuse).
Ratio piToDigits(std::int32_t digits);
Ratio twoPiToDigits(std::int32_t digits);

// x := ln(1 + x), with 1 + x formed exactly, so a small x keeps all its digits.
void lnOnePlus(Ratio& x);
// x := sqrt(x), x >= 0; InvalidArgument for negative x.
void ratioSquareRoot(Ratio& x);

// z := Gamma(z) for 0 < z < 1, to the working precision.
void gammaBySeries(Ratio& z);
