// Scientific functions on typical arguments at 33 and 65 digits, and the set-up that
// computes the shared constants.
#include <benchmark/benchmark.h>

#include <string>

#include "numbers/numbers.h"
#include "transcendental/transcendental.h"

namespace {

enum Function {
  Sin, Cos, Tan, Atan, Asin, Acos, Ln, Log10, Exp, Pow, Sinh, Asinh, Factorial,
};

struct Case {
  const char* name;
  Function function;
  AngleUnit unit;
  const char* x;
  const char* y;
};

const Case kCases[] = {
    {"sin 1 rad", Sin, Radians, "1", nullptr},
    {"sin 30 deg", Sin, Degrees, "30", nullptr},
    {"tan 1 rad", Tan, Radians, "1", nullptr},
    {"atan 0.5 rad", Atan, Radians, "0.5", nullptr},
    {"asin 0.5 rad", Asin, Radians, "0.5", nullptr},
    {"ln 2", Ln, Radians, "2", nullptr},
    {"log 7", Log10, Radians, "7", nullptr},
    {"e^1.5", Exp, Radians, "1.5", nullptr},
    {"2^0.5", Pow, Radians, "2", "0.5"},
    {"1.7^3.3", Pow, Radians, "1.7", "3.3"},
    {"sinh 0.5", Sinh, Radians, "0.5", nullptr},
    {"asinh 0.5", Asinh, Radians, "0.5", nullptr},
    {"0.5!", Factorial, Radians, "0.5", nullptr},
    {"3.5!", Factorial, Radians, "3.5", nullptr},
    {"1000!", Factorial, Radians, "1000", nullptr},
    {"acos 0.9 rad", Acos, Radians, "0.9", nullptr},
    // Huge angles: exact reduction in degrees, a wide pi in radians.
    {"sin 1e17 rad", Sin, Radians, "1e17", nullptr},
    {"sin 1e300 rad", Sin, Radians, "1e300", nullptr},
    {"cos 1e300 rad", Cos, Radians, "1e300", nullptr},
    {"tan 1e300 rad", Tan, Radians, "1e300", nullptr},
    {"sin 1e920 deg", Sin, Degrees, "1e920", nullptr},
    {"tan 1e920 grad", Tan, Gradients, "1e920", nullptr},
};

void setUp(std::int32_t P) {
  numbers.radix = 10;
  setRadixPrecisionAndConstants(10, P);
}

// "m" or "1eK": a plain decimal, or one with an exponent.
Ratio parse(const char* text) {
  const std::string s(text);
  const std::size_t e = s.find('e');
  if (e == std::string::npos) return ratioFromText(false, text, false, nullptr);
  return ratioFromText(false, s.substr(0, e).c_str(), false, s.substr(e + 1).c_str());
}

void apply(const Case& c, Ratio& x, const Ratio& y) {
  switch (c.function) {
    case Sin: return ratioSin(x, c.unit);
    case Cos: return ratioCos(x, c.unit);
    case Tan: return ratioTan(x, c.unit);
    case Atan: return ratioAtan(x, c.unit);
    case Asin: return ratioAsin(x, c.unit);
    case Acos: return ratioAcos(x, c.unit);
    case Ln: return ratioLn(x);
    case Log10: return ratioLog10(x);
    case Exp: return ratioExp(x);
    case Pow: return ratioPow(x, y);
    case Sinh: return ratioSinh(x);
    case Asinh: return ratioAsinh(x);
    case Factorial: return ratioFactorial(x);
  }
}

void runCase(benchmark::State& state, const Case& c, std::int32_t P) {
  setUp(P);
  const Ratio argument = parse(c.x);
  const Ratio y = c.y != nullptr ? parse(c.y) : ratioCopy(kZero);
  for (auto _ : state) {
    Ratio x = ratioCopy(argument);
    apply(c, x, y);
    benchmark::DoNotOptimize(x.get());
  }
}

// The set-up through its compute path: the key is lowered first so that every iteration
// computes pi, e, sqrt(e), ln 10 and ln 2 afresh.
void runSetUp(benchmark::State& state, std::int32_t P) {
  setUp(33);
  for (auto _ : state) {
    numbers.constantsKey = 2880;
    setRadixPrecisionAndConstants(10, P);
  }
  setUp(33);
}

const bool kRegistered = [] {
  for (std::int32_t P : {33, 65}) {
    for (const Case& c : kCases) {
      const std::string name = std::string(c.name) + " /P" + std::to_string(P);
      benchmark::RegisterBenchmark(name.c_str(), [&c, P](benchmark::State& state) {
        runCase(state, c, P);
      })->Unit(benchmark::kMicrosecond);
    }
    const std::string name = "setRadixPrecisionAndConstants(10, " + std::to_string(P) + ") computing";
    benchmark::RegisterBenchmark(name.c_str(), [P](benchmark::State& state) {
      runSetUp(state, P);
    })->Unit(benchmark::kMicrosecond);
  }
  return true;
}();

}  // namespace
