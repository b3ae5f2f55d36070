// BigNum and Ratio: the value types of the whole calculator, their allocation, copying,
// the error codes the number package raises, and the package state.
//
// A BigNum is one heap block: sign, digitCount, exponent, then the digits, least significant
// first, in a base that each operation is told (the internal base 2^31 for values).
// Its value is sign * sum(digits[i] * base^(exponent + i)).
// A Ratio owns a numerator and a denominator BigNum in the internal base; it is never
// reduced to lowest terms, and the sign of its value is the product of the two signs.
//
// Ownership: BigNum and Ratio are owning handles (released through the package heap).
// Operations take their first operand as in-out (Ratio& / BigNum&): the result is built in
// new storage and replaces the caller's value; further operands are read only.
#pragma once
#include <atomic>
#include <cassert>
#include <cstdint>
#include <exception>
#include <memory>

// ---------------------------------------------------------------------------------------
// Errors

enum ErrorCode : std::uint32_t {
  DivideByZero = 0,
  InvalidArgument = 1,
  Undefined = 2,
  Overflow = 3,
  Underflow = 4,
  Aborted = 5,
  OutOfMemory = 7,
};

constexpr std::uint32_t kErrorBase = 0x80000000u;

// The exception every arithmetic error travels in: payload = 0x80000000 + code.
struct ArithmeticError {
  std::uint32_t payload;
  ErrorCode code() const { return static_cast<ErrorCode>(payload - kErrorBase); }
};

[[noreturn]] void raiseError(ErrorCode code);

// ---------------------------------------------------------------------------------------
// Types

constexpr std::uint32_t kInternalBase = 0x80000000u;  // B = 2^31
constexpr std::uint32_t kInternalMask = 0x7FFFFFFFu;
// The longest value, in words of base B: 69e6 words are fewer than 2^31 - 2^23 bits, so the
// position of every digit of a value in any radix (2 the widest) fits 32 bits, with room
// for the working precision. A result beyond it raises Overflow.
constexpr std::int32_t kMaxValueWords = 69000000;

struct BigNumBlock {
  std::int32_t sign;        // +1 or -1; zero may carry either
  std::int32_t digitCount;  // number of stored digits
  std::int32_t exponent;    // power of the base carried by digits[0]
  std::uint32_t digits[1];  // digitCount digits (the block is allocated to its real size)
};

struct BigNumRelease {
  void operator()(BigNumBlock* block) const noexcept;
};
using BigNum = std::unique_ptr<BigNumBlock, BigNumRelease>;

struct RatioBlock {
  BigNum numerator;
  BigNum denominator;
};

struct RatioRelease {
  void operator()(RatioBlock* block) const noexcept;
};
using Ratio = std::unique_ptr<RatioBlock, RatioRelease>;

// ---------------------------------------------------------------------------------------
// Size measures

// The position just above the top digit.
inline std::int32_t wordLength(const BigNum& b) { return b->digitCount + b->exponent; }
// Rough size of a value in internal words.
inline std::int32_t wordMagnitude(const Ratio& r) {
  return wordLength(r->numerator) - wordLength(r->denominator);
}

// ---------------------------------------------------------------------------------------
// Allocation and copies (all may raise OutOfMemory)

BigNum bigAlloc(std::int32_t n);  // room for n digits, every field 0
BigNum bigCopy(const BigNum& x);
BigNum bigFromInt(std::int32_t v, std::uint32_t base);  // room for 33 digits

Ratio ratioAlloc();  // both parts none
void ratioFree(Ratio& r);
Ratio ratioCopy(const Ratio& r);
Ratio ratioFromInt(std::int32_t v);

// Negation flips the numerator's sign; it has no arithmetic of its own.
inline void ratioNegate(Ratio& r) { r->numerator->sign = -r->numerator->sign; }
// |r|: both parts made positive.
inline void ratioAbs(Ratio& r) {
  r->numerator->sign = 1;
  r->denominator->sign = 1;
}
// Makes r non-negative and returns the sign its value had.
inline std::int32_t ratioTakeSign(Ratio& r) {
  const std::int32_t sign = r->numerator->sign * r->denominator->sign;
  ratioAbs(r);
  return sign;
}
// Moves the denominator's sign into the numerator (the value is unchanged). Results keep
// their sign in the numerator, which is the sign a division by zero reports as Overflow
// (positive) or Underflow (negative).
inline void ratioSignToNumerator(Ratio& r) {
  r->numerator->sign *= r->denominator->sign;
  r->denominator->sign = 1;
}
// The sign of a Ratio's value: the product of its two signs.
inline std::int32_t ratioSign(const Ratio& r) {
  return r->numerator->sign * r->denominator->sign;
}

// Normal-form checks (tests and debug builds): no zero top digit unless zero, digits below
// their base; for a Ratio also a non-zero denominator and non-negative exponents.
bool bigIsNormal(const BigNum& x, std::uint32_t base);
bool ratioIsNormal(const Ratio& r);

// Declared first in a public operation of the package: in builds with assertions (debug and
// sanitizer builds) it asserts that the value left in r on every normal exit is in normal
// form, so a malformed value is caught where it is made. Nothing in optimised builds.
struct NormalOnExit {
#ifdef NDEBUG
  explicit NormalOnExit(const Ratio&) {}
#else
  explicit NormalOnExit(const Ratio& r) : value(r), exceptions(std::uncaught_exceptions()) {}
  ~NormalOnExit() {
    if (std::uncaught_exceptions() == exceptions) assert(ratioIsNormal(value));
  }
  const Ratio& value;
  int exceptions;
#endif
  NormalOnExit(const NormalOnExit&) = delete;
  NormalOnExit& operator=(const NormalOnExit&) = delete;
};

// ---------------------------------------------------------------------------------------
// Package state

struct NumberPackage {
  std::int32_t precisionDigits = 0;  // working precision P in digits of the current radix
  std::int32_t digitsPerWord = 0;    // g: radix digits one internal word counts for
  std::int32_t radix = 10;           // current radix R (owned by the engine)
  char decimalSymbol[5] = ".";       // up to four characters, NUL-terminated
  std::int32_t constantsKey = 2880;  // work the current constants were computed for
};
extern NumberPackage numbers;

// Set by the long-computation guard (another thread) to stop long loops; cleared when a
// command starts and by every radix set-up.
extern std::atomic<std::int32_t> abortRequested;

inline bool stopRequested() { return abortRequested.load(std::memory_order_relaxed) != 0; }

extern const char digitAlphabet[65];

// Raises precisionDigits for a scope and restores it on every path, exceptions included.
class PrecisionScope {
 public:
  explicit PrecisionScope(std::int32_t raised) : saved_(numbers.precisionDigits) {
    numbers.precisionDigits = raised;
  }
  ~PrecisionScope() { numbers.precisionDigits = saved_; }
  PrecisionScope(const PrecisionScope&) = delete;
  PrecisionScope& operator=(const PrecisionScope&) = delete;

 private:
  std::int32_t saved_;
};
