// Subquadratic products of digit arrays in the internal base 2^31 (inside the package only):
// schoolbook below kKaratsubaThreshold words, Karatsuba above it, and a number-theoretic
// transform modulo 2^64 - 2^32 + 1 from kTransformThreshold words. Squares (x times the same
// array) take their own, cheaper path at every level.
#pragma once
#include <cstdint>

constexpr std::int32_t kKaratsubaThreshold = 40;
constexpr std::int32_t kTransformThreshold = 1500;

// out[0..nx + ny) := x[0..nx) * y[0..ny), for nx, ny >= 1, out zero on entry. An operand
// with fewer than kKaratsubaThreshold non-zero words (a power of two) is multiplied row by
// row over those words. With pollStop a stop request ends the product early: the result is
// then false and out holds no value. May raise OutOfMemory (its buffers are released on
// every path).
bool fastProduct(std::uint32_t* out, const std::uint32_t* x, std::int32_t nx,
                 const std::uint32_t* y, std::int32_t ny, bool pollStop);
