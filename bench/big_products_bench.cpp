// Exact work on huge integers: n! with the rendering of its display, x^y with an integer
// exponent, products and squares of n-word operands, and GMP's factorial and product in the
// same run as the yardstick.
#include <benchmark/benchmark.h>
#include <gmp.h>

#include <cstring>

#include "numbers/numbers.h"
#include "transcendental/transcendental.h"

namespace {

void setUp() {
  std::strcpy(numbers.decimalSymbol, ".");
  setRadixPrecisionAndConstants(10, 33);  // the default /P32
}

// n! and the text of the display, as the factorial key computes and shows it.
void BM_FactorialShown(benchmark::State& state) {
  setUp();
  const Ratio argument = ratioFromInt(std::int32_t(state.range(0)));
  for (auto _ : state) {
    Ratio x = ratioCopy(argument);
    ratioFactorial(x);
    HeapText text = ratioToText(x, 10, FormatAutomatic);
    benchmark::DoNotOptimize(text.get());
  }
}

void BM_GmpFactorial(benchmark::State& state) {
  mpz_t x;
  mpz_init(x);
  for (auto _ : state) {
    mpz_fac_ui(x, static_cast<unsigned long>(state.range(0)));
    benchmark::DoNotOptimize(x->_mp_d);
  }
  mpz_clear(x);
}

// The display of n! alone (the factorial computed once, outside the timing).
void BM_RenderFactorial(benchmark::State& state) {
  setUp();
  Ratio x = ratioFromInt(std::int32_t(state.range(0)));
  ratioFactorial(x);
  for (auto _ : state) {
    Ratio copy = ratioCopy(x);
    HeapText text = ratioToText(copy, 10, FormatAutomatic);
    benchmark::DoNotOptimize(text.get());
  }
}

// 7^n exact, as x^y with an integer exponent computes it, and its display (n ln 7 stays
// within the key's limit of 100000).
void BM_IntegerPowerShown(benchmark::State& state) {
  setUp();
  const Ratio seven = ratioFromInt(7);
  const Ratio exponent = ratioFromInt(std::int32_t(state.range(0)));
  for (auto _ : state) {
    Ratio x = ratioCopy(seven);
    ratioPow(x, exponent);
    HeapText text = ratioToText(x, 10, FormatAutomatic);
    benchmark::DoNotOptimize(text.get());
  }
}

// A dense n-word operand.
BigNum denseNumber(std::int32_t n, std::uint32_t seed) {
  BigNum x = bigAlloc(n);
  x->sign = 1;
  x->digitCount = n;
  std::uint64_t s = seed;
  for (std::int32_t i = 0; i < n; ++i) {
    s = s * 6364136223846793005ull + 1442695040888963407ull;
    x->digits[i] = std::uint32_t(s >> 33) & kInternalMask;
  }
  if (x->digits[n - 1] == 0) x->digits[n - 1] = 1;
  return x;
}

void BM_Product(benchmark::State& state) {
  const std::int32_t n = std::int32_t(state.range(0));
  const BigNum a = denseNumber(n, 1);
  const BigNum b = denseNumber(n, 2);
  for (auto _ : state) {
    BigNum x = bigCopy(a);
    bigMultiply(x, b, kInternalBase);
    benchmark::DoNotOptimize(x.get());
  }
}

void BM_Square(benchmark::State& state) {
  const std::int32_t n = std::int32_t(state.range(0));
  const BigNum a = denseNumber(n, 1);
  for (auto _ : state) {
    BigNum x = bigCopy(a);
    bigMultiply(x, x, kInternalBase);
    benchmark::DoNotOptimize(x.get());
  }
}

// GMP's product of operands of the same bit length (31 bits per word).
void BM_GmpProduct(benchmark::State& state) {
  const unsigned long bits = static_cast<unsigned long>(state.range(0)) * 31;
  gmp_randstate_t random;
  gmp_randinit_default(random);
  mpz_t a, b, x;
  mpz_inits(a, b, x, nullptr);
  mpz_urandomb(a, random, bits);
  mpz_urandomb(b, random, bits);
  for (auto _ : state) {
    mpz_mul(x, a, b);
    benchmark::DoNotOptimize(x->_mp_d);
  }
  mpz_clears(a, b, x, nullptr);
  gmp_randclear(random);
}

void FactorialSizes(benchmark::internal::Benchmark* b) {
  b->Arg(10000)->Arg(30000)->Arg(100000)->Arg(300000)->Arg(1000000)->Unit(benchmark::kMillisecond);
}

void WordSizes(benchmark::internal::Benchmark* b) {
  for (std::int64_t n : {16, 32, 64, 128, 1000, 10000, 100000, 1000000}) b->Arg(n);
  b->Unit(benchmark::kMicrosecond);
}

}  // namespace

BENCHMARK(BM_FactorialShown)->Apply(FactorialSizes);
BENCHMARK(BM_GmpFactorial)->Apply(FactorialSizes);
BENCHMARK(BM_RenderFactorial)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IntegerPowerShown)->Arg(5000)->Arg(50000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Product)->Apply(WordSizes);
BENCHMARK(BM_Square)->Apply(WordSizes);
BENCHMARK(BM_GmpProduct)->Apply(WordSizes);
