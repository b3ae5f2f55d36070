// The power-series kernels every transcendental function ends in, and the small helpers
// they share. Internal to transcendental/ (and the constant set-up of numbers/): the
// callers reduce the argument into the kernel's range first; no kernel checks it.
//
// Each kernel replaces x by the series sum, summed until a term falls below the working
// precision (measured in internal words, see sumSeries in series.cpp), and ends early
// when a stop is requested.
#pragma once
#include "numbers/bignum.h"

void expSeries(Ratio& x);    // e^x, |x| < 1
void lnSeries(Ratio& x);     // ln x, x in [1, sqrt(e)]
void sinSeries(Ratio& x);    // sin x (radians), clamped to [-1, 1]
void cosSeries(Ratio& x);    // cos x (radians), clamped to [-1, 1]
void sinhSeries(Ratio& x);   // sinh x
void coshSeries(Ratio& x);   // cosh x
void asinSeries(Ratio& x);   // arcsin x, |x| <= 0.85
void asinhSeries(Ratio& x);  // arsinh x, |x| <= 0.85
void atanSeries(Ratio& x);   // arctan x, |x| <= 0.85

// Drops low words of r's numerator beyond the working precision (its denominator keeps
// all its words) and cancels the common exponent of the two parts.
void truncateNumerator(Ratio& r);
// x := the nearer of -c and c when |x| exceeds c (c >= 0); c is only read.
void clampToMagnitude(Ratio& x, const Ratio& c);
// The integer part of x, truncated toward zero, exactly: (n - n mod d) / d for x = n/d.
Ratio exactTruncate(const Ratio& x);
