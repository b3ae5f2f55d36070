// The window program's logic shared with the console: the command line, WM_COMMAND
// handling, copy and paste, and the layout switch.
#include <climits>

#include "statistics/statistics.h"
#include "unit/engine/calculator.h"

namespace {
TEST(CommandLine, Options) {
  struct Row {
    const char* commandLine;
    int precision;
    int radix;
    int wordBits;
    int wordIndex;
  };
  const Row rows[] = {
      {"vemo", 32, 10, 32, 0},
      {"vemo /P40", 40, 10, 32, 0},
      {"vemo /P100", 64, 10, 32, 0},
      {"vemo /P0", 1, 10, 32, 0},
      {"vemo /P", 1, 10, 32, 0},
      {"vemo /P4294967336", 64, 10, 32, 0},  // saturates instead of wrapping to 40
      {"vemo /R1", 32, 2, 32, 0},
      {"vemo /R20", 32, 16, 32, 0},
      {"vemo /P:40", 40, 10, 32, 0},
      {"vemo /p 40", 40, 10, 32, 0},
      {"vemo -p40", 40, 10, 32, 0},
      {"vemo p40", 40, 10, 32, 0},
      {"vemo /P40/R16", 40, 16, 32, 0},
      {"vemo /P40R16", 40, 10, 32, 0},  // the R right after the number is consumed
      {"\"C:\\apps\\pw r\\vemo.exe\" /R8", 32, 8, 32, 0},
      {"vemo /W16", 32, 10, 16, 1},
      {"vemo /w8", 32, 10, 8, 2},
      {"vemo /W32", 32, 10, 32, 0},
      {"vemo /W64", 32, 10, 32, 0},
      {"vemo /W4294967312", 32, 10, 32, 0},
      {"vemo /W", 32, 10, 32, 0},
  };
  for (const Row& row : rows) {
    settings = Settings{};
    engine.wordSizeIndex = 0;
    numbers.radix = 10;
    ParseCommandLine(row.commandLine);
    EXPECT_EQ(settings.precisionSetting, row.precision) << row.commandLine;
    EXPECT_EQ(numbers.radix, row.radix) << row.commandLine;
    EXPECT_EQ(settings.wordSizeBits, row.wordBits) << row.commandLine;
    EXPECT_EQ(engine.wordSizeIndex, row.wordIndex) << row.commandLine;
  }
  StartCalculator(kStandard);  // leave a started calculator behind
}

TEST(CommandLine, ReadDecimalNumber) {
  struct Row {
    const char* text;
    std::int32_t value;
    int consumed;
  };
  const Row rows[] = {
      {"123abc", 123, 3}, {"abc", 0, 0}, {"", 0, 0}, {"2147483647", INT32_MAX, 10},
      {"99999999999999999999x", INT32_MAX, 20},
  };
  for (const Row& row : rows) {
    std::int32_t value = -1;
    const char* end = ReadDecimalNumber(row.text, &value);
    EXPECT_EQ(value, row.value) << row.text;
    EXPECT_EQ(end - row.text, row.consumed) << row.text;
  }
}

// /W selects the word size fully: the typing limit, Not and the display all use it.
TEST(CommandLine, WordSizeOptionSelectsTheWholeWord) {
  const Script scripts[] = {
      {"/W16", kScientific, {{"[F5]1[F9]=", "FFFF"}, {"[Esc]12345", "1234", 1}, {"[Esc]0~", "FFFF"}}, "/W16"},
      {"/W8", kScientific, {{"[F5]1[F9]=", "FF"}, {"[F6]", "255."}}, "/W8"},
      {"/P64", kStandard, {{"2/3=", "0.66666666666666666666666666666666666666666666666666666666666666667"}}, "/P64"},
  };
  for (const Script& script : scripts) RunScript(script);
}

TEST(HandleCommand, NotificationCodesRemapAndFlash) {
  StartCalculator(kStandard);
  Type("5+");
  HandleCommand(CmdMod, 0);  // the % key gives percent in the standard layout
  EXPECT_EQ(RecordedText(kDisplay), "0.25");

  StartCalculator(kScientific);
  Type("7");
  HandleCommand(CmdMod, 1);
  Type("4=");
  EXPECT_EQ(RecordedText(kDisplay), "3.") << "the % key is Mod in the scientific layout";

  StartCalculator(kStandard);
  Type("5");
  unsigned last = engine.lastCommand;
  HandleCommand(CmdAdd, 2);  // an enable/disable notification of a static key
  HandleCommand(kDisplay, 0);
  HandleCommand(kMemoryIndicator, 1);
  HandleCommand(kParenIndicator, 0);
  EXPECT_EQ(engine.lastCommand, last) << "none of these reaches the engine";
  EXPECT_TRUE(engine.entryActive);

  int flashes = recorder.flashes;
  HandleCommand(CmdDigit0 + 1, 0);
  EXPECT_EQ(recorder.flashes, flashes) << "a click does not flash";
  HandleCommand(CmdDigit0 + 1, 1);
  EXPECT_EQ(recorder.flashes, flashes + 1) << "an accelerator flashes";
  EXPECT_EQ(RecordedText(kDisplay), "511.");
}

TEST(HandleCommand, AboutIsNotGuarded) {
  StartCalculator(kStandard);
  abortRequested.store(1);
  Type("[Ctrl+Shift+K]");
  EXPECT_EQ(recorder.aboutShown, 1);
  EXPECT_EQ(RecordedText(kDisplay), "0.") << "About neither arms nor disarms the guard";
  Type("5");
  EXPECT_EQ(RecordedText(kDisplay), "5.") << "arming clears a stale stop request";
}

// A stop requested while a command runs ends it with the message and locks input.
TEST(HandleCommand, StopShowsAborted) {
  StartCalculator(kStandard);
  Type("2+3");
  // Stand in for the guard's thread: the request arrives while = runs.
  recorder.commandRunning.store(0);
  ArmGuard(true);
  abortRequested.store(1);
  ArmGuard(false);
  EXPECT_EQ(RecordedText(kDisplay), "Действие прервано.");
  EXPECT_TRUE(engine.errorLocked);
  EXPECT_EQ(Type("[Del]7"), "7.");
}

TEST(Clipboard, CopyRule) {
  struct Row {
    int layout;
    const char* keys;
    const char* copied;
  };
  const Row rows[] = {
      {kStandard, "7/2=", "3.5"},
      {kStandard, "2*2=", "4"},
      {kStandard, "12", "12"},
      {kStandard, "12.", "12."},
      {kStandard, "1.5x3", "1.5e+3"},
      {kStandard, "5[F9]", "-5"},
      {kScientific, "[F5]FF=", "FF"},
      {kStandard, "1/0=[Del]", "0"},
  };
  for (const Row& row : rows) {
    StartCalculator(row.layout);
    Type(row.keys);
    Type("[Ctrl+C]");
    EXPECT_EQ(recorder.clipboard, row.copied) << row.keys;
    recorder.clipboard.clear();
    Type("[Ctrl+Insert]");
    EXPECT_EQ(recorder.clipboard, row.copied) << row.keys << " with Ctrl+Insert";
  }
}

TEST(Clipboard, Paste) {
  struct Row {
    int layout;
    const char* before;
    std::string text;
    const char* display;
    int beeps;
  };
  const Row rows[] = {
      {kStandard, "", "1.5e-3", "1.5e-3", 0},
      {kStandard, "", "1.5e+3", "1.5e+3", 0},
      {kStandard, "", "1 2\r\n3", "123.", 0},
      {kStandard, "", "2+3=", "5.", 0},
      {kStandard, "", "1E+2", "2.", 1},         // E is the digit E, refused in radix 10
      {kStandard, "", "12$3", "12.", 0},        // stops at a character without a key
      {kStandard, "", "1/0=5", "Результат слишком велик.", 0},  // stops at the lock
      {kStandard, "", "-5", "-5.", 0},          // a leading minus reaches the number
      {kStandard, "", "-5+3=", "-2.", 0},
      {kStandard, "", "-0.5*2=", "-1.", 0},
      {kStandard, "", "-1e-2", "-1.e-2", 0},
      {kStandard, "7=", "-", "-7.", 0},         // a lone minus negates the value shown
      {kStandard, "", "q5", "5.", 0},           // Q is C
      {kStandard, "", "2:q3", "3.", 0},
      {kScientific, "[F5]", "ff", "FF", 0},
      {kScientific, "[F5]", "1x", "1", 1},      // x is Exp, refused outside radix 10
      {kScientific, "", ":5ff", "FF", 0},       // :5 selects radix 16
      {kStandard, "", ":zz", "0.", 0},          // ':' + a character without a row ends it
      {kStandard, "", std::string("12\0" "34", 5), "12.", 0},   // a zero byte ends the paste
  };
  for (const Row& row : rows) {
    StartCalculator(row.layout);
    Type(row.before);
    recorder.clipboard = row.text;
    int beeps = recorder.beeps;
    Type("[Ctrl+V]");
    EXPECT_EQ(RecordedText(kDisplay), row.display) << "pasting " << row.text;
    EXPECT_EQ(recorder.beeps - beeps, row.beeps) << "pasting " << row.text;
    EXPECT_EQ(recorder.cursorShown, 0);
  }
}

TEST(Clipboard, PasteMemoryKeysAndFlashes) {
  StartCalculator(kStandard);
  recorder.clipboard = "5:m";
  int flashes = recorder.flashes;
  Type("[Shift+Insert]");
  EXPECT_EQ(RecordedText(kMemoryIndicator), " M") << ":m is MS";
  EXPECT_EQ(recorder.flashes - flashes, 1 + 2) << "the paste key and each pasted command flash";
  recorder.clipboard = ":c";
  Type("[Ctrl+V]");
  EXPECT_EQ(RecordedText(kMemoryIndicator), "") << ":c is MC";
  recorder.clipboard = "\xCD";  // a byte equal to the key of ':M'
  Type("[Ctrl+V]");
  EXPECT_EQ(RecordedText(kMemoryIndicator), " M");
  recorder.clipboard = "m";
  Type("[F3][Ctrl+V]");
  EXPECT_EQ(engine.angleUnit, Degrees) << "m alone is the first mode key";
}

TEST(Layout, SwitchRecreatesTheWindow) {
  StartCalculator(kStandard);
  Type("5[Ctrl+M]2+3");
  int creations = recorder.windowCreations;
  Type("[303]");
  EXPECT_EQ(settings.layout, 0);
  EXPECT_EQ(recorder.savedLayout, 0);
  EXPECT_EQ(recorder.windowCreations, creations + 1);
  EXPECT_EQ(RecordedText(kDisplay), "0.");
  EXPECT_EQ(RecordedText(kMemoryIndicator), " M") << "memory survives";
  EXPECT_EQ(Type("1+2*3="), "7.") << "now the scientific rules apply";
  Type("[303]");
  EXPECT_EQ(recorder.windowCreations, creations + 1) << "the same layout again does nothing";

  // Leaving the scientific layout closes the statistics box; entering it does not.
  Type("[Ctrl+S]");
  Type("[304]");
  EXPECT_FALSE(engine.statisticsBoxOpen);
  Type("[Ctrl+S][303]");
  EXPECT_TRUE(engine.statisticsBoxOpen);
}
}  // namespace
