// The engine's behaviour as a user sees it: key scripts and the display after each line.
#include "unit/engine/calculator.h"

namespace {
const std::string kTooLarge = "Результат слишком велик.";
const std::string kTooSmall = "Результат слишком мал.";
const std::string kUndefined = "Значение не определено.";
const std::string kInvalid = "Недопустимый аргумент функции.";

TEST(EngineScripts, OperatorsPrecedenceAndEquals) {
  const Script scripts[] = {
      {"standard evaluates left to right", kStandard, {{"1+2*3=", "9."}}},
      {"scientific defers by precedence", kScientific, {{"1+2*3=", "7."}}},
      {"power binds tighter", kScientific, {{"2*3y2=", "18."}}},
      {"lower operator evaluates both levels", kScientific, {{"1+2*3-", "7."}}},
      {"equal levels left to right", kScientific, {{"8-3-2=", "3."}, {"[Esc]2y3y2=", "64."}}},
      {"second operator replaces the first", kStandard, {{"5+*2=", "10."}}},
      {"= after an operator uses the left operand", kStandard, {{"5+=", "10."}, {"=", "15."}, {"[Esc]5*=", "25."}}},
      {"repeated =", kStandard, {{"2+3=", "5."}, {"=", "8."}, {"=", "11."}, {"[Esc]10-3=", "7."}, {"=", "4."}}},
      {"a number typed after = is replaced", kStandard, {{"2+3=", "5."}, {"7=", "8."}}},
      {"= straight after an operator in every pass", kScientific, {{"2+3*=", "4."}}},
      {"parentheses", kScientific, {{"2*(", "("}, {"3+4", "4."}, {")", "7."}, {"=", "14."}}},
      {"a parenthesis starts as 0 +", kScientific, {{"(5)", "5."}, {"[Esc]5((", "(("}, {"))", "5."}}},
      {"close without open beeps", kScientific, {{"5)", "5.", 1}}},
      {"Inv Lsh is right shift", kScientific, {{"i8<1=", "4."}}},
      {"Inv x^y is the root", kScientific, {{"i27y3=", "3."}}},
      {"shifts and bit operators", kScientific, {{"5<2=", "20."}, {"[Esc]12&10=", "8."}, {"[Esc]12|3=", "15."}, {"[Esc]12^10=", "6."}}},
      {"Mod keeps the sign of the left operand", kScientific, {{"7[F9]%3=", "-1."}}},
      {"difference of equal numbers is 0", kStandard, {{"5-5=", "0."}, {"[Esc]2.5-2.5=", "0."}}},
      {"difference of equal numbers is 0 (scientific)", kScientific, {{"1+5-5=", "1."}, {"[Esc]5-5=", "0."}}},
      {"history-invisible commands between operators", kScientific, {{"5+[Ctrl+L]*2=", "10."}, {"[Esc]5+x*2=", "10."}}},
      {"an unknown id breaks a run of operators", kScientific, {{"5+[200]*2=", "5."}}},
      {"refused digit starts an empty entry", kStandard, {{"7+1=", "8."}, {"A", "8.", 1}, {"+5=", "5."}}},
      {"CE keeps the pending operation, C drops it", kStandard, {{"2+3[Del]4=", "6."}, {"[Esc]2+3[Esc]4=", "4."}}},
  };
  for (const Script& script : scripts) RunScript(script);
}

TEST(EngineScripts, ErrorsLockInput) {
  const Script scripts[] = {
      {"positive / 0", kStandard, {{"1/0=", kTooLarge}}},
      {"negative / 0", kStandard, {{"1[F9]/0=", kTooSmall}}},
      {"0 / 0", kStandard, {{"0/0=", kUndefined}}},
      {"x Mod 0", kScientific, {{"5%0=", kUndefined}}},
      {"reciprocal of 0", kStandard, {{"0R", kTooLarge}}},
      {"ln 0", kStandard, {{"0n", kInvalid}}},
      {"factorial of -1", kStandard, {{"1[F9]!", kInvalid}}},
      {"arc sine of 2", kScientific, {{"2is", kInvalid}}},
      {"locked: only C, CE and Help act",
       kStandard,
       {{"1/0=", kTooLarge},
        {"5", kTooLarge, 1},
        {"+", kTooLarge, 1},
        {"=", kTooLarge, 1},
        {"[Ctrl+R]", kTooLarge, 1},
        {"[Ctrl+S]", kTooLarge, 1},
        {"[305]", kTooLarge, 0},
        {"[Del]", "0.", 0},
        {"2+3=", "5."}}},
      {"C ends the chain", kStandard, {{"7+1/0=", kTooLarge}, {"[Esc]", "0."}, {"=", "0."}}},
      {"an operator still pops further levels", kScientific, {{"1+2/0-", kTooLarge}, {"[Del]4=", "-3."}}},
  };
  for (const Script& script : scripts) RunScript(script);
}

TEST(EngineScripts, NumberEntry) {
  const Script scripts[] = {
      {"leading zeros", kStandard, {{"007", "7."}, {"[Esc]0", "0."}}},
      {"point on a fresh entry", kStandard, {{".", "0."}, {"5", "0.5"}, {".", "0.5", 1}}},
      {"sign on the bare 0", kStandard, {{"[F9]", "0."}, {"5", "5."}}},
      {"exponent", kStandard, {{"12x", "12.e+0"}, {"5", "12.e+5"}, {"123", "12.e+5123"}, {"4", "12.e+5123", 1}, {"x", "12.e+5123", 1}}},
      {"exponent sign", kStandard, {{"1.5x[F9]3", "1.5e-3"}, {"=", "0.0015"}}},
      {"backspace leaves the exponent", kStandard, {{"12x[Backspace]", "12."}, {"3", "12.3"}}},
      {"backspace on -5", kStandard, {{"5[F9][Backspace]", "0."}, {"7", "7."}}},
      {"backspace deletes the point", kStandard, {{"1.5[Backspace][Backspace]", "1."}, {"5", "15."}}},
      {"backspace outside typing beeps", kStandard, {{"2+3=[Backspace]", "5.", 1}}},
      {"point and Exp outside typing beep", kStandard, {{"2+3=x", "5.", 1}}},
      {"32 characters in radix 10",
       kStandard,
       {{"1234567890123456789012345678901234", "12345678901234567890123456789012.", 2},
        {"[Esc]1.234567890123456789012345678901234", "1.234567890123456789012345678901", 3}}},
      {"/P sets the limit", kStandard, {{"123456", "1234.", 2}}, "/P4"},
      {"radix 16 limits", kScientific, {{"[F5]123456789", "12345678", 1}, {"[F4][Esc]123", "12", 1}, {"[F3][Esc]12345", "1234", 1}}},
      {"radix 2 limits", kScientific, {{"[F8][F4]111111111", "11111111", 1}}},
      {"octal Dword",
       kScientific,
       {{"[F7]37777777777", "37777777777", 0}, {"[Esc]40000000000", "4000000000", 1}}},
      {"octal Word", kScientific, {{"[F7][F3]177777", "177777", 0}, {"[Esc]277777", "27777", 1}}},
      {"octal Byte", kScientific, {{"[F7][F4]377", "377", 0}, {"[Esc]477", "47", 1}}},
      {"digits above the radix", kScientific, {{"[F7]8", "0", 1}, {"[F5]ABCDEF", "ABCDEF", 0}}},
      {"the sign while typing in radix 16", kScientific, {{"[F5]1A[F9]", "-1A"}}},
  };
  for (const Script& script : scripts) RunScript(script);
}

TEST(EngineScripts, DisplayAndRadix) {
  const Script scripts[] = {
      {"two's complement of -1", kScientific, {{"[F5]1[F9]=", "FFFFFFFF"}, {"[F6]", "4294967295."}}},
      {"Word size", kScientific, {{"[F5][F3]1[F9]=", "FFFF"}, {"[F6]", "65535."}}},
      {"Byte size reduces", kScientific, {{"256[F5][F4]", "0"}, {"[F6]257[F5]", "1"}}},
      {"truncation before the complement", kScientific, {{"2.75[F5]", "2"}, {"[F6]2.75[F9][F5]", "FFFFFFFE"}}},
      {"7 / 2 in radix 16 is 3", kScientific, {{"[F5]7/2=", "3"}, {"[F6]", "3."}}},
      {"a smaller word keeps FF", kScientific, {{"255[F5][F4]", "FF"}, {"[F3]", "FF"}, {"[F4]FF+1=", "0"}, {"[F6]", "0."}}},
      {"typed text is read in the old radix", kScientific, {{"12.5[F8]", "1100"}}},
      {"octal and binary", kScientific, {{"64[F7]", "100"}, {"[F8]", "1000000"}}},
      {"standard layout stays decimal", kStandard, {{"[F5]", "0."}, {"A", "0.", 1}}},
      {"F-E", kStandard, {{"12.5V", "1.25e+1"}, {"V", "12.5"}, {"3V", "3.e+0"}}},
      {"scientific notation when large", kStandard, {{"10000000000000000000000000000000*100000=", "1.e+36"}}},
      {"precision /P10", kStandard, {{"2/3=", "0.66666666667"}}, "/P10"},
  };
  for (const Script& script : scripts) RunScript(script);
}

TEST(EngineScripts, Functions) {
  const Script scripts[] = {
      {"Int and Frac", kStandard, {{"2.75;", "2."}, {"[Esc]2.75i;", "0.75"}, {"[Esc]2.75[F9];", "-2."}}},
      {"Not in radix 10", kStandard, {{"5~", "-6."}, {"[Esc]2.7~", "-3."}, {"[Esc]3[F9]~", "2."}, {"[Esc]0~", "-1."}}},
      {"Not in radix 16", kScientific, {{"[F5]0~", "FFFFFFFF"}, {"~", "0"}, {"[F4]5~", "FA"}}},
      {"square and root by layout", kScientific, {{"3@", "9."}, {"[Esc]3[103]", "9."}, {"[Esc]i9[103]", "3."}}},
      {"square root in the standard layout", kStandard, {{"9@", "3."}, {"[Esc]9[103]", "3."}}},
      {"cube and cube root", kStandard, {{"3#", "27."}, {"[Esc]i27#", "3."}}},
      {"factorial", kStandard, {{"5!", "120."}, {"[Esc]0!", "1."}}},
      {"reciprocal", kStandard, {{"4R", "0.25"}, {"[Esc]3R", "0.333333333333333333333333333333333"}}},
      {"logarithms and powers", kStandard, {{"100l", "2."}, {"[Esc]3il", "1000."}, {"[Esc]1n", "0."}, {"[Esc]0in", "1."}}},
      {"a function after an operator takes the accumulator", kStandard, {{"5+@", "2.23606797749978969640917366873128"}}},
      {"percent", kStandard, {{"200+10%", "20."}, {"=", "220."}, {"[Esc]5+%", "0.25"}}},
      {"dms", kStandard, {{"1.5125m", "1.3045"}, {"[Esc]i1.3045m", "1.5125"}, {"[Esc]1.5m", "1.3"}, {"[Esc]i1.3m", "1.5"}, {"[Esc]1.5[F9]m", "-1.3"}}},
      {"pi", kStandard, {{"P", "3.1415926535897932384626433832795"}, {"iP", "6.28318530717958647692528676655901"}, {"P", "3.1415926535897932384626433832795"}}},
      {"pi, sin and dms beep outside radix 10", kScientific, {{"[F5]P", "0", 1}, {"5s", "5", 1}, {"m", "5", 1}}},
      {"angle units", kStandard, {{"[F3]1s", "0.841470984807896506652502321630299"}, {"[F4]100s", "1."}, {"[F2]30s", "0.5"}}},
      {"hyperbolic ignores the unit", kStandard, {{"[F3]1hs", "1.1752011936438014568823818505956"}, {"[F2]1hs", "1.1752011936438014568823818505956"}}},
  };
  for (const Script& script : scripts) RunScript(script);
}

// Which commands clear Inv and Hyp, as the check boxes show them.
TEST(EngineScripts, InvAndHypClearing) {
  struct Row {
    const char* keys;
    int layout;
    bool inverseAfter;
    bool hyperbolicAfter;
  };
  const Row rows[] = {
      {"ih2s", kScientific, false, false},     // sin uses and clears both
      {"ih2!", kScientific, true, true},       // n! keeps both
      {"i2~", kScientific, true, false},       // Not keeps Inv
      {"i9[103]", kScientific, true, false},   // sqrt key keeps Inv
      {"i9@", kScientific, false, false},      // x^2 key clears it
      {"i4R", kScientific, true, false},       // 1/x keeps it
      {"i2.5;", kScientific, false, false},    // Int clears it
      {"i8<", kScientific, false, false},      // Lsh clears it at once
      {"i27y", kScientific, true, false},      // x^y clears it only when evaluated
      {"i27y3=", kScientific, false, false},
      {"ih[Del]", kScientific, false, false},  // CE clears both in the scientific layout
      {"ih[Del]", kStandard, true, true},      // but not in the standard one
      {"i[Ctrl+T]", kStandard, false, false},  // statistics commands clear Inv, box or not
      {"ih[F5]5s", kScientific, false, false}, // a refused sin clears them all the same
      {"i1/0=", kStandard, true, false},       // an error keeps Inv
  };
  for (const Row& row : rows) {
    StartCalculator(row.layout);
    Type(row.keys);
    EXPECT_EQ(engine.inverse, row.inverseAfter) << row.keys;
    EXPECT_EQ(recorder.checked[CmdInverse], row.inverseAfter) << row.keys;
    EXPECT_EQ(engine.hyperbolic, row.hyperbolicAfter) << row.keys;
    EXPECT_EQ(recorder.checked[CmdHyperbolic], row.hyperbolicAfter) << row.keys;
  }
}

TEST(EngineScripts, MemoryAndIndicators) {
  StartCalculator(kStandard);
  struct Row {
    const char* keys;
    const char* display;
    const char* memory;
  };
  const Row rows[] = {
      {"5[Ctrl+M]", "5.", " M"},
      {"[Ctrl+L]", "5.", ""},
      {"7[Ctrl+M]2[F9][Ctrl+P]", "-2.", " M"},
      {"[Ctrl+R]", "5.", " M"},
      {"5[F9][Ctrl+P]", "-5.", ""},
      {"[Ctrl+R]", "0.", ""},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(Type(row.keys), row.display) << row.keys;
    EXPECT_EQ(RecordedText(kMemoryIndicator), row.memory) << row.keys;
  }
}

TEST(EngineScripts, ParenthesisLimitsAndIndicator) {
  StartCalculator(kScientific);
  std::string opens(25, '(');
  Type(opens);
  EXPECT_EQ(RecordedText(kParenIndicator), "(=25");
  EXPECT_EQ(RecordedText(kDisplay), opens);
  int beeps = recorder.beeps;
  Type("(");
  EXPECT_EQ(recorder.beeps - beeps, 1) << "the 26th ( is refused";
  EXPECT_EQ(RecordedText(kParenIndicator), "(=25");
  EXPECT_EQ(Type("7" + std::string(25, ')')), "7.");
  EXPECT_EQ(RecordedText(kParenIndicator), "");
  Type("2*(3");
  EXPECT_EQ(RecordedText(kParenIndicator), "(=1");
  Type("[Esc]");
  EXPECT_EQ(RecordedText(kParenIndicator), "") << "C clears the indicator";
}

TEST(EngineScripts, ModeButtonsFollowTheRadix) {
  StartCalculator(kScientific);
  Type("[F7]");
  EXPECT_FALSE(recorder.enabled[CmdDigit0 + 8]);
  EXPECT_TRUE(recorder.enabled[CmdDigit0 + 7]);
  EXPECT_FALSE(recorder.enabled[CmdSin]);
  EXPECT_EQ(RecordedText(CmdMode1), "Dword");
  EXPECT_EQ(recorder.radioChecked[CmdRadix2], static_cast<int>(CmdRadix8));
  Type("[F5]");
  EXPECT_TRUE(recorder.enabled[CmdDigitF]);
  Type("[F6]");
  EXPECT_FALSE(recorder.enabled[CmdDigit0 + 10]);
  EXPECT_TRUE(recorder.enabled[CmdDigit0 + 9]);
  EXPECT_TRUE(recorder.enabled[CmdPi]);
  EXPECT_EQ(RecordedText(CmdMode3), "Gradients");
  Type("[F4]");
  EXPECT_EQ(engine.angleUnit, Gradients);
  EXPECT_EQ(engine.wordSizeIndex, 0) << "F4 in radix 10 leaves the word size alone";
  Type("[F5][F3]");
  EXPECT_EQ(engine.wordSizeIndex, 1);
  EXPECT_EQ(engine.angleUnit, Gradients) << "F3 in radix 16 leaves the angle unit alone";
  // The number package always works one digit beyond the typing limit.
  EXPECT_EQ(numbers.precisionDigits, 5);
  Type("1/0=");
  EXPECT_FALSE(recorder.enabled[CmdRadix2]) << "mode buttons are disabled under an error";
  Type("[Del]");
  EXPECT_TRUE(recorder.enabled[CmdRadix2]);
}
}  // namespace
