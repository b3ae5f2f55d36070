// Speed of the number package on typical 32-digit values. Each in-out operation works on a
// fresh copy of its operand; BM_RatioCopy measures that copy alone.
#include <benchmark/benchmark.h>

#include <cstring>

#include "numbers/numbers.h"

namespace {

Ratio parse(const char* text) {
  bool negative = text[0] == '-';
  return ratioFromText(negative, text + (negative ? 1 : 0), false, nullptr);
}

// Sets up radix 10 with P digits and two typical operands: a typed 32-digit value and a
// quotient (as left by an earlier division).
struct Operands {
  Ratio a, b;
  explicit Operands(std::int32_t P) {
    std::strcpy(numbers.decimalSymbol, ".");
    setRadixAndPrecision(10, P);
    a = parse("12345678901234567.890123456789012");
    b = parse("2");
    ratioDivide(b, parse("3.0000000000000000000000000000007"));
  }
};

void BM_RatioCopy(benchmark::State& state) {
  Operands v(std::int32_t(state.range(0)));
  for (auto _ : state) {
    Ratio x = ratioCopy(v.a);
    benchmark::DoNotOptimize(x.get());
  }
}

void BM_RatioAdd(benchmark::State& state) {
  Operands v(std::int32_t(state.range(0)));
  for (auto _ : state) {
    Ratio x = ratioCopy(v.a);
    ratioAdd(x, v.b);
    benchmark::DoNotOptimize(x.get());
  }
}

void BM_RatioMultiply(benchmark::State& state) {
  Operands v(std::int32_t(state.range(0)));
  for (auto _ : state) {
    Ratio x = ratioCopy(v.a);
    ratioMultiply(x, v.b);
    benchmark::DoNotOptimize(x.get());
  }
}

void BM_RatioDivide(benchmark::State& state) {
  Operands v(std::int32_t(state.range(0)));
  for (auto _ : state) {
    Ratio x = ratioCopy(v.a);
    ratioDivide(x, v.b);
    benchmark::DoNotOptimize(x.get());
  }
}

void BM_RatioToText(benchmark::State& state) {
  Operands v(std::int32_t(state.range(0)));
  Ratio x = ratioCopy(v.a);
  ratioMultiply(x, v.b);
  for (auto _ : state) {
    HeapText text = ratioToText(x, 10, FormatAutomatic);
    benchmark::DoNotOptimize(text.get());
  }
}

void BM_RatioFromText(benchmark::State& state) {
  Operands v(std::int32_t(state.range(0)));
  for (auto _ : state) {
    Ratio x = ratioFromText(false, "12345678901234567.890123456789012", false, nullptr);
    benchmark::DoNotOptimize(x.get());
  }
}

void BM_RatioIntegerPart(benchmark::State& state) {
  Operands v(std::int32_t(state.range(0)));
  Ratio product = ratioCopy(v.a);
  ratioMultiply(product, v.b);
  for (auto _ : state) {
    Ratio x = ratioCopy(product);
    ratioIntegerPart(x);
    benchmark::DoNotOptimize(x.get());
  }
}

void BM_SetRadixAndPrecision(benchmark::State& state) {
  const std::int32_t R = std::int32_t(state.range(0));
  const std::int32_t P = R == 10 ? 33 : 9;
  setRadixAndPrecision(10, 33);  // the start-up set-up has run
  for (auto _ : state) setRadixAndPrecision(R, P);
  setRadixAndPrecision(10, 33);
}

}  // namespace

BENCHMARK(BM_RatioCopy)->Arg(33)->Arg(65);
BENCHMARK(BM_RatioAdd)->Arg(33)->Arg(65);
BENCHMARK(BM_RatioMultiply)->Arg(33)->Arg(65);
BENCHMARK(BM_RatioDivide)->Arg(33)->Arg(65);
BENCHMARK(BM_RatioToText)->Arg(33)->Arg(65);
BENCHMARK(BM_RatioFromText)->Arg(33)->Arg(65);
BENCHMARK(BM_RatioIntegerPart)->Arg(33)->Arg(65);
BENCHMARK(BM_SetRadixAndPrecision)->Arg(10)->Arg(16);
