// Hostile inputs with clear outcomes: options out of range, huge and odd pastes, a long
// decimal symbol, functions at the edges of their domains.
#include <cmath>
#include <cstring>
#include <string>

#include "numbers/numbers.h"
#include "stress/invariants.h"
#include "unit/engine/calculator.h"

namespace {
const std::string kInvalidArgument = "Недопустимый аргумент функции.";

std::string Repeat(const std::string& text, std::size_t times) {
  std::string out;
  out.reserve(text.size() * times);
  for (std::size_t i = 0; i < times; ++i) out += text;
  return out;
}
}  // namespace

// The program's options, read by the window program's parser: every value out of range is
// clamped to the nearest one allowed, and the calculator works with it.
TEST(HostileInputs, OptionsOutOfRange) {
  struct Row {
    const char* options;
    int precision, wordBits, radixRead;
    const char* keys;
    const char* display;
  };
  const Row rows[] = {
      // At one digit the first digit is still accepted; the working precision is 2.
      {"/P0", 1, 32, 10, "12*3=", "3."},
      {"/P-5", 1, 32, 10, "7*7=", "49."},
      {"/P1", 1, 32, 10, "2/3=", "0.67"},
      {"/P999999999999", 64, 32, 10, "1/3=", "0.33333333333333333333333333333333333333333333333333333333333333333"},
      {"/W7", 1 << 8, 32, 10, "[F5]FFFFFFFF+1=", "0"},
      {"/W999", 1 << 8, 32, 10, "[F5]FFFFFFFF+1=", "0"},
      {"/W16", 1 << 8, 16, 10, "[F5]FFFF+1=", "0"},
      {"/R0", 1 << 8, 32, 2, "2+2=", "4."},
      {"/R99", 1 << 8, 32, 16, "2+2=", "4."},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.options);
    StartCalculator(kScientific, row.options);
    if (row.precision != (1 << 8)) EXPECT_EQ(settings.precisionSetting, row.precision);
    EXPECT_EQ(settings.wordSizeBits, row.wordBits);
    // The window always starts in radix 10, whatever /R said.
    EXPECT_EQ(numbers.radix, 10);
    EXPECT_EQ(Type(row.keys), row.display);
    EXPECT_EQ(BrokenEngineInvariant(), "");
  }
}

// Clipboard texts: a megabyte, nothing but ':' characters, blanks, a text cut by a key
// that has no command.
TEST(HostileInputs, Pastes) {
  struct Row {
    const char* name;
    std::string clipboard;
    const char* display;
    int beeps;
  };
  const Row rows[] = {
      // "=" right after an operator takes the left operand again: the last + doubles the sum.
      {"a megabyte of 1+", Repeat("1+", 1 << 19) + "=", "1048576.", 0},
      {"64 kB of digits", Repeat("9", 1 << 16), "99999999999999999999999999999999.", (1 << 16) - 32},
      {"only ':'", Repeat(":", 1 << 16), "0.", 0},
      {"':' before every key", Repeat(":1", 1000), "0.", 0},
      {"blanks and line breaks", Repeat(" \r\n", 1000) + "7", "7.", 0},
      {"a zero byte ends it", std::string("12\0" "34", 5), "12.", 0},
      {"an unknown key ends it", "5*5=$+1=", "25.", 0},
      {"bytes above 127", "\xcd\xff\x80" "3", "0.", 0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    StartCalculator(kStandard);
    recorder.clipboard = row.clipboard;
    int beeps = recorder.beeps;
    EXPECT_EQ(Type("[Ctrl+V]"), row.display);
    EXPECT_EQ(recorder.beeps - beeps, row.beeps);
    EXPECT_EQ(BrokenEngineInvariant(), "");
    EXPECT_EQ(Type("[Esc]2+2="), "4.");
  }
}

// A decimal symbol of four characters: the engine writes its first character, the parser
// reads either the whole symbol or that first character as the point.
TEST(HostileInputs, AFourCharacterDecimalSymbol) {
  StartCalculator(kStandard);
  std::strcpy(numbers.decimalSymbol, ";:;:");
  Type("[Esc]");
  EXPECT_EQ(Type("1.5"), "1;5");
  EXPECT_EQ(Type("+1="), "2;5");
  EXPECT_EQ(Type("*4="), "10;");
  EXPECT_EQ(Type("1/8="), "0;125");
  EXPECT_EQ(BrokenEngineInvariant(), "");
  Ratio whole = ratioFromText(false, "2;:;:75", false, nullptr);
  Ratio first = ratioFromText(false, "2;75", false, nullptr);
  Ratio expected = ratioFromInt(11);
  ratioDivide(expected, ratioFromInt(4));
  EXPECT_TRUE(ratioEqual(whole, expected));
  EXPECT_TRUE(ratioEqual(first, expected));
}

// Functions at the edges of their domains end with a value or a message, at once.
TEST(HostileInputs, DomainEdges) {
  const Script scripts[] = {
      {"10^43430 is beyond e^100000", kScientific, {{"10y43430=", kInvalidArgument}, {"[Esc]10y43429=", "1.e+43429"}}},
      {"ln of 10^-40", kScientific, {{"1x40[F9]n", "-92.1034037197618273607196581873746"}}},
      {"log of 10^-40", kScientific, {{"1x40[F9]l", "-40."}, {"[Esc]1x9999[F9]l", "-9999."}}},
      {"ln of 0 stays refused", kScientific, {{"0n", kInvalidArgument}}},
      // The largest arguments in radians: pi to 2 000 and 43 000 digits (mpmath's values).
      {"sin of 10^2000 radians", kScientific, {{"[F3]1x2000s", "0.267836744214010865189314770882384"}}},
      {"sin of 10^43429 radians", kScientific, {{"10y43429=[F3]s", "0.97064959867943757103204041110178"}}},
      {"e^x beyond 100000", kScientific, {{"100001in", kInvalidArgument}, {"[Esc]100000in", "2.8066633604261231793183858186e+43429"}}},
      {"the largest exponent typed", kScientific, {{"9.9x9999=", "9.9e+9999"}, {"@", "9.801e+19999"}}},
      {"the smallest exponent typed", kScientific, {{"1x9999[F9]=", "1.e-9999"}, {"@", "1.e-19998"}}},
  };
  for (const Script& script : scripts) RunScript(script);
}

// An error leaves every register a valid value (the display shows the message; CE brings
// back a working calculator).
TEST(HostileInputs, ErrorsLeaveValidValues) {
  struct Row {
    const char* keys;
    const char* message;
  };
  const Row rows[] = {
      {"1iht", "Результат слишком велик."},      // atanh 1 divides by zero
      {"1[F9]iht", kInvalidArgument.c_str()},     // atanh -1: ln 0
      {"0r", "Результат слишком велик."},
      {"5[F9]/0=", "Результат слишком мал."},
      {"0/0=", "Значение не определено."},
      {"7%0=", "Значение не определено."},
      {"2*(3/0+1)", "Результат слишком велик."},
      {"[F5]5/0=", "Результат слишком велик."},
      {"1[F9]!", kInvalidArgument.c_str()},
      {"90t", kInvalidArgument.c_str()},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.keys);
    StartCalculator(kScientific);
    EXPECT_EQ(Type(row.keys), row.message);
    EXPECT_EQ(BrokenEngineInvariant(), "");
    EXPECT_EQ(Type("[Del][F6]2+2="), "4.");
  }
}

// A value must stay short enough for the position of each of its digits to fit 32 bits in
// any radix: a result beyond that is too large, and says so at once.
TEST(HostileInputs, ResultsTooLargeToShowAreRefused) {
  const Script scripts[] = {
      {"10^8!", kStandard, {{"100000000!", "Результат слишком велик."}, {"[Esc]2+2=", "4."}}},
      {"2^2000000000 is still shown", kScientific, {{"1<2000000000=", "2.127954758736177810692517e+602059991"}}},
  };
  for (const Script& script : scripts) RunScript(script);

  // A product of two values of 35 million words each (only their headers are read).
  StartCalculator(kScientific);
  BigNum a = bigAlloc(1);
  a->sign = 1;
  a->digitCount = 35000000;
  try {
    bigMultiply(a, a, kInternalBase);
    ADD_FAILURE() << "no error";
  } catch (const ArithmeticError& error) {
    EXPECT_EQ(error.code(), Overflow);
  }
  a->digitCount = 1;
}

// The power of 2^31 that renders the largest values: its exponent in the radix (here near
// 2^31 in radix 2 and 1.4e9 in radix 10) must come out whole, with no step beyond 32 bits.
TEST(HostileInputs, PowersOfTheWordBaseForTheLargestValues) {
  StartCalculator(kScientific);
  struct Row {
    std::uint32_t radix;
    std::int32_t words;
  };
  const Row rows[] = {{10, 150000000}, {2, kMaxValueWords}, {16, kMaxValueWords}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.radix);
    BigNum x = bigAlloc(33);
    x->sign = 1;
    std::uint64_t v = kInternalBase;
    while (v != 0) {
      x->digits[x->digitCount++] = static_cast<std::uint32_t>(v % row.radix);
      v /= row.radix;
    }
    bigPowerTrimmed(x, row.words, row.radix);
    const double expected = row.words * 31.0 * std::log(2.0) / std::log(double(row.radix));
    EXPECT_NEAR(double(wordLength(x)), expected, 2.0);
    EXPECT_TRUE(bigIsNormal(x, row.radix));
  }
}
