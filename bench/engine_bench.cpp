// Latency of single commands through ExecuteCommand, display rendering included, at the
// default precision (/P32) and at /P64 (the benchmark argument).
#include <benchmark/benchmark.h>

#include <string>

#include "console/recording_port.h"
#include "engine/engine.h"
#include "numbers/numbers.h"

namespace {
void Start(benchmark::State& state, int layout) {
  std::string options = "vemo /P" + std::to_string(state.range(0));
  StartRecordedCalculator(options.c_str(), layout, '.');
}

// A value with every digit of the precision in use: text / divisor.
Ratio FullValue(const char* text, int divisor) {
  Ratio value = ratioFromText(false, text, false, nullptr);
  Ratio d = ratioFromInt(divisor);
  ratioDivide(value, d);
  return value;
}

void SetCurrent(const Ratio& value) {
  engine.current = ratioCopy(value);
  engine.entryActive = false;
  engine.lastCommand = 0;
}

void Type(const char* digits) {
  for (const char* p = digits; *p != '\0'; ++p) {
    ExecuteCommand(*p == '.' ? CmdPoint : CmdDigit0 + static_cast<unsigned>(*p - '0'));
  }
}

const char* const kDigits32 = "12345678901234567890123456789012";
const char* const kDigits64 =
    "1234567890123456789012345678901234567890123456789012345678901234";

const char* Digits(benchmark::State& state) { return state.range(0) > 32 ? kDigits64 : kDigits32; }

// One digit key, averaged over typing a whole number of the full length.
void BM_DigitKey(benchmark::State& state) {
  Start(state, 1);
  const char* digits = Digits(state);
  std::int64_t keys = 0;
  for (auto _ : state) {
    ExecuteCommand(CmdClearEntry);
    Type(digits);
    keys += static_cast<std::int64_t>(std::char_traits<char>::length(digits)) + 1;
  }
  state.counters["per_key"] = benchmark::Counter(static_cast<double>(keys),
                                                 benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// The + key after a full-length number: ends the entry, converts and renders it.
void BM_OperatorKey(benchmark::State& state) {
  Start(state, 1);
  for (auto _ : state) {
    state.PauseTiming();
    ExecuteCommand(CmdClear);
    Type(Digits(state));
    state.ResumeTiming();
    ExecuteCommand(CmdAdd);
  }
}

// = of full-length decimal operands.
void BM_EqualsKey(benchmark::State& state) {
  Start(state, 1);
  Ratio left = FullValue(Digits(state), 7);
  Ratio right = FullValue(Digits(state), 3);
  for (auto _ : state) {
    state.PauseTiming();
    ExecuteCommand(CmdClear);
    SetCurrent(left);
    ExecuteCommand(CmdMultiply);
    SetCurrent(right);
    state.ResumeTiming();
    ExecuteCommand(CmdEquals);
  }
}

struct FunctionKey {
  const char* name;
  unsigned id;
  bool inverse;
  bool hyperbolic;
  int layout;
  const char* argument;  // digits, divided by 3 for a full-precision value unless whole
  bool whole;
};

const FunctionKey kFunctionKeys[] = {
    {"sin", CmdSin, false, false, 0, "2", false},
    {"cos", CmdCos, false, false, 0, "2", false},
    {"tan", CmdTan, false, false, 0, "2", false},
    {"asin", CmdSin, true, false, 0, "2", false},
    {"acos", CmdCos, true, false, 0, "2", false},
    {"atan", CmdTan, true, false, 0, "2", false},
    {"sinh", CmdSin, false, true, 0, "2", false},
    {"cosh", CmdCos, false, true, 0, "2", false},
    {"tanh", CmdTan, false, true, 0, "2", false},
    {"asinh", CmdSin, true, true, 0, "2", false},
    {"acosh", CmdCos, true, true, 0, "5", false},
    {"atanh", CmdTan, true, true, 0, "2", false},
    {"ln", CmdLn, false, false, 0, "5", false},
    {"exp", CmdLn, true, false, 0, "5", false},
    {"log", CmdLog, false, false, 0, "5", false},
    {"ten_to_x", CmdLog, true, false, 0, "5", false},
    {"sqrt", CmdSquare, false, false, 1, "5", false},
    {"square", CmdSquare, false, false, 0, "5", false},
    {"cube", CmdCube, false, false, 0, "5", false},
    {"cube_root", CmdCube, true, false, 0, "5", false},
    {"reciprocal", CmdReciprocal, false, false, 0, "5", false},
    {"int", CmdInt, false, false, 0, "5", false},
    {"not", CmdNot, false, false, 0, "5", false},
    {"dms", CmdDms, false, false, 0, "5", false},
    {"percent", CmdPercent, false, false, 1, "5", false},
    {"factorial_25_thirds", CmdFactorial, false, false, 0, "25", false},  // 25/3, not an integer
    {"factorial_100", CmdFactorial, false, false, 0, "100", true},
    {"factorial_1000", CmdFactorial, false, false, 0, "1000", true},
};

void BM_FunctionKey(benchmark::State& state, const FunctionKey& key) {
  Start(state, key.layout);
  Ratio argument = key.whole ? ratioFromText(false, key.argument, false, nullptr)
                             : FullValue(key.argument, 3);
  for (auto _ : state) {
    state.PauseTiming();
    ExecuteCommand(CmdClear);
    engine.accumulator = ratioFromInt(200);
    SetCurrent(argument);
    engine.inverse = key.inverse;
    engine.hyperbolic = key.hyperbolic;
    state.ResumeTiming();
    ExecuteCommand(key.id);
  }
  if (engine.errorLocked) state.SkipWithError("the function key failed");
  state.SetLabel(engine.displayText.substr(0, 24));
}

// x^y of non-integers.
void BM_PowerKey(benchmark::State& state) {
  Start(state, 0);
  Ratio base = FullValue("7", 3);
  Ratio exponent = FullValue("5", 3);
  for (auto _ : state) {
    state.PauseTiming();
    ExecuteCommand(CmdClear);
    SetCurrent(base);
    ExecuteCommand(CmdPower);
    SetCurrent(exponent);
    state.ResumeTiming();
    ExecuteCommand(CmdEquals);
  }
}

// Radix 10 to 16 with a full-length value (reduced to the word), and back.
void BM_RadixTo16(benchmark::State& state) {
  Start(state, 0);
  Ratio value = ratioFromText(false, Digits(state), false, nullptr);
  for (auto _ : state) {
    state.PauseTiming();
    ExecuteCommand(CmdRadix10);
    SetCurrent(value);
    state.ResumeTiming();
    ExecuteCommand(CmdRadix16);
  }
}

void BM_RadixTo10(benchmark::State& state) {
  Start(state, 0);
  Ratio value = ratioFromText(false, Digits(state), false, nullptr);
  for (auto _ : state) {
    state.PauseTiming();
    ExecuteCommand(CmdRadix10);
    SetCurrent(value);
    ExecuteCommand(CmdRadix16);
    state.ResumeTiming();
    ExecuteCommand(CmdRadix10);
  }
}

void Precisions(benchmark::internal::Benchmark* b) {
  b->Arg(32)->Arg(64)->Unit(benchmark::kMicrosecond);
}

BENCHMARK(BM_DigitKey)->Apply(Precisions);
BENCHMARK(BM_OperatorKey)->Apply(Precisions);
BENCHMARK(BM_EqualsKey)->Apply(Precisions);
BENCHMARK(BM_PowerKey)->Apply(Precisions);
BENCHMARK(BM_RadixTo16)->Apply(Precisions);
BENCHMARK(BM_RadixTo10)->Apply(Precisions);

const bool kFunctionKeysRegistered = [] {
  for (const FunctionKey& key : kFunctionKeys) {
    benchmark::RegisterBenchmark((std::string("BM_FunctionKey/") + key.name).c_str(),
                                 [&key](benchmark::State& state) { BM_FunctionKey(state, key); })
        ->Apply(Precisions);
  }
  return true;
}();
}  // namespace
