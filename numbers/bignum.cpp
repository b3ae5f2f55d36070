// Allocation, copies and the package state of the number package.
#include "numbers/bignum.h"

#include <cstddef>
#include <cstring>
#include <new>

#include "numbers/heap.h"

NumberPackage numbers;
std::atomic<std::int32_t> abortRequested{0};
const char digitAlphabet[65] =
    "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz_@";

void raiseError(ErrorCode code) { throw ArithmeticError{kErrorBase + code}; }

void BigNumRelease::operator()(BigNumBlock* block) const noexcept { heapFree(block); }

void RatioRelease::operator()(RatioBlock* block) const noexcept {
  if (block == nullptr) return;
  block->numerator.reset();
  block->denominator.reset();
  block->~RatioBlock();
  heapFree(block);
}

BigNum bigAlloc(std::int32_t n) {
  if (n < 1) n = 1;
  std::size_t bytes = offsetof(BigNumBlock, digits) + sizeof(std::uint32_t) * std::size_t(n);
  return BigNum(static_cast<BigNumBlock*>(heapAllocateZeroed(bytes)));
}


BigNum bigCopy(const BigNum& x) {
  BigNum c = bigAlloc(x->digitCount);
  c->sign = x->sign;
  c->digitCount = x->digitCount;
  c->exponent = x->exponent;
  if (x->digitCount > 0)
    std::memcpy(c->digits, x->digits, sizeof(std::uint32_t) * std::size_t(x->digitCount));
  return c;
}

BigNum bigFromInt(std::int32_t v, std::uint32_t base) {
  BigNum x = bigAlloc(33);
  x->sign = v < 0 ? -1 : 1;
  std::uint32_t magnitude = v < 0 ? 0u - static_cast<std::uint32_t>(v) : std::uint32_t(v);
  std::int32_t n = 0;
  do {
    x->digits[n++] = magnitude % base;
    magnitude /= base;
  } while (magnitude != 0);
  x->digitCount = n;
  x->exponent = 0;
  return x;
}

Ratio ratioAlloc() {
  void* block = heapAllocateZeroed(sizeof(RatioBlock));
  return Ratio(new (block) RatioBlock());
}

void ratioFree(Ratio& r) { r.reset(); }

Ratio ratioCopy(const Ratio& r) {
  Ratio c = ratioAlloc();
  c->numerator = bigCopy(r->numerator);
  c->denominator = bigCopy(r->denominator);
  return c;
}

Ratio ratioFromInt(std::int32_t v) {
  Ratio r = ratioAlloc();
  r->numerator = bigFromInt(v, kInternalBase);
  r->denominator = bigFromInt(1, kInternalBase);
  return r;
}

bool bigIsNormal(const BigNum& x, std::uint32_t base) {
  if (!x || (x->sign != 1 && x->sign != -1) || x->digitCount < 0) return false;
  for (std::int32_t i = 0; i < x->digitCount; ++i)
    if (x->digits[i] >= base) return false;
  if (x->digitCount > 1 && x->digits[x->digitCount - 1] == 0) return false;
  return true;
}

bool ratioIsNormal(const Ratio& r) {
  if (!r || !bigIsNormal(r->numerator, kInternalBase) ||
      !bigIsNormal(r->denominator, kInternalBase))
    return false;
  bool denominatorZero = true;
  for (std::int32_t i = 0; i < r->denominator->digitCount; ++i)
    if (r->denominator->digits[i] != 0) denominatorZero = false;
  return !denominatorZero && r->numerator->exponent >= 0 && r->denominator->exponent >= 0;
}
