// Arguments at the edges where a shown digit used to be wrong or a valid argument was
// refused: huge angles, angles beside zeros and poles, arguments beside +-1, tiny values,
// large powers, and the lowest precision. Each row gives the display text expected.
#include <chrono>
#include <string>

#include "test_support.h"

namespace {

struct EdgeExample {
  const char* function;
  AngleUnit unit;
  int setting;  // digits shown
  const char* x;
  const char* y;
  const char* expect;  // display text, or "!" + error
};

const EdgeExample kEdgeExamples[] = {
    {"sin", Degrees, 32, "1e920", nullptr, "-0.984807753012208059366743024589523"},
    {"sin", Degrees, 32, "1e940", nullptr, "-0.984807753012208059366743024589523"},
    {"sin", Degrees, 1, "1e6", nullptr, "-0.98"},
    {"sin", Radians, 32, "1e800", nullptr, "-0.253285610347866353080968741117796"},
    {"sin", Radians, 32, "1e17", nullptr, "-0.464530104835372696154524113975058"},
    {"sin", Degrees, 32, "179.9999999999", nullptr, "1.7453292519943295769236898823925e-12"},
    {"tan", Degrees, 32, "89.99999999999999999999999999999", nullptr,
     "5729577951308232087679815481410.52"},
    {"sin", Radians, 32, "3.1415926535897932384626433832", nullptr,
     "7.9502884197169399375105820974945e-29"},
    {"acos", Degrees, 32, "0.99999999999999999999999999999", nullptr,
     "2.5623451563018374105163456350558e-13"},
    {"atanh", Radians, 32, "1e-30", nullptr, "0.000000000000000000000000000001"},
    {"pow", Radians, 32, "1.0000000001", "1e9", "1.10517091807012177022171179330866"},
    {"root", Radians, 32, "1e-34", "2", "0.00000000000000001"},
    {"root", Radians, 32, "1e-40", "3", "4.6415888336127788924100763509194e-14"},
    {"log10", Radians, 32, "1e-9999", nullptr, "-9999."},
    {"factorial", Radians, 32, "-1e-40", nullptr, "1."},
    {"sin", Radians, 32, "1e-33", nullptr, "0.000000000000000000000000000000001"},
    {"tanh", Radians, 32, "100001", nullptr, "1."},
    {"tanh", Radians, 32, "-1e1000", nullptr, "-1."},
    {"sinh", Radians, 32, "-1000000", nullptr, "!InvalidArgument"},
    {"sinh", Radians, 32, "1000000", nullptr, "!InvalidArgument"},
    {"ln", Radians, 1, "5e-3", nullptr, "-5.3"},
    {"root", Radians, 1, "4e-4", "2", "0.02"},
    {"sin", Degrees, 1, "0.5", nullptr, "0.0087"},
    // Exact zeros and poles stay exact in degrees and gradients, whatever the size.
    {"sin", Degrees, 32, "-1e920", nullptr, "0.984807753012208059366743024589523"},
    {"sin", Degrees, 32, "-3.6e921", nullptr, "0."},
    {"cos", Gradients, 32, "3e900", nullptr, "1."},
    {"tan", Degrees, 32, "90000000000000000000000000000000000000000000000000090", nullptr,
     "!InvalidArgument"},
};

}  // namespace

TEST_F(TranscendentalTest, EdgeArgumentsShowTheirRightDigits) {
  for (const EdgeExample& e : kEdgeExamples) {
    setRadixPrecisionAndConstants(10, e.setting + 1);
    Ratio x = number(e.x);
    Ratio y = e.y != nullptr ? number(e.y) : Ratio();
    std::string got;
    const auto start = std::chrono::steady_clock::now();
    try {
      applyFunction(e.function, e.unit, x, e.y != nullptr ? &y : nullptr);
      got = show(x);
    } catch (const ArithmeticError& error) {
      got = error.code() == InvalidArgument ? "!InvalidArgument" : "!other";
    }
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                        std::chrono::steady_clock::now() - start)
                        .count();
    EXPECT_EQ(got, e.expect) << e.function << "(" << e.x << ") " << unitName(e.unit) << " /P"
                             << e.setting;
    // Generous for sanitizer builds; the old reductions took minutes on some of these.
    EXPECT_LT(ms, 5000) << e.function << "(" << e.x << ") took " << ms << " ms";
  }
}
