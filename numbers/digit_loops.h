// Raw digit-array loops under the BigNum operations: no signs, no allocation.
// Digits are least significant first, each below the base R (2 <= R <= 2^31).
#pragma once
#include <cstdint>

namespace digit_loops {

// Digit of x at absolute position pos (0 where x stores none).
inline std::uint32_t digitAt(const std::uint32_t* digits, std::int32_t count,
                             std::int32_t exponent, std::int64_t pos) {
  std::int64_t i = pos - exponent;
  return (i >= 0 && i < count) ? digits[i] : 0u;
}

// r[0..n) := x (n digits) shifted into a zeroed target; callers size the target.
// Compares a[0..n) with b[0..n) as integers: -1, 0 or +1.
inline int compareEqualLength(const std::uint32_t* a, const std::uint32_t* b, std::int32_t n) {
  for (std::int32_t i = n - 1; i >= 0; --i) {
    if (a[i] != b[i]) return a[i] < b[i] ? -1 : 1;
  }
  return 0;
}

// a[0..n) -= b[0..n) in base R; requires a >= b.
inline void subtractInPlace(std::uint32_t* a, const std::uint32_t* b, std::int32_t n,
                            std::uint32_t R) {
  std::uint32_t borrow = 0;
  for (std::int32_t i = 0; i < n; ++i) {
    std::uint64_t subtrahend = std::uint64_t(b[i]) + borrow;
    if (a[i] >= subtrahend) {
      a[i] = std::uint32_t(a[i] - subtrahend);
      borrow = 0;
    } else {
      a[i] = std::uint32_t(std::uint64_t(a[i]) + R - subtrahend);
      borrow = 1;
    }
  }
}

// out[0..n] := b[0..n) * k in base R (n + 1 digits).
inline void multiplyBySmall(std::uint32_t* out, const std::uint32_t* b, std::int32_t n,
                            std::uint32_t k, std::uint32_t R) {
  std::uint64_t carry = 0;
  if (R == 0x80000000u) {
    for (std::int32_t i = 0; i < n; ++i) {
      std::uint64_t t = std::uint64_t(b[i]) * k + carry;
      out[i] = std::uint32_t(t & 0x7FFFFFFFu);
      carry = t >> 31;
    }
  } else {
    for (std::int32_t i = 0; i < n; ++i) {
      std::uint64_t t = std::uint64_t(b[i]) * k + carry;
      out[i] = std::uint32_t(t % R);
      carry = t / R;
    }
  }
  out[n] = std::uint32_t(carry);
}

}  // namespace digit_loops
