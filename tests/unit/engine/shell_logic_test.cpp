// The window program's logic shared with the console: the command line, WM_COMMAND
// handling, copy and paste, and the layout switch.
#include <climits>
#include <string>
#include <vector>

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
      {kStandard, "", "1 2\r\n3", "12.", 1},    // a line break ends it, with a beep
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
  // Н, whose code page 1251 byte equals the key of ':M', is a character without a key.
  recorder.clipboard = "5\xD0\x9D" "3";
  EXPECT_EQ(Type("[Ctrl+V]"), "5.");
  EXPECT_EQ(RecordedText(kMemoryIndicator), "");
  // Only the first 8 pasted commands flash their keys; every command still runs.
  recorder.clipboard = "1234567890123+1=";
  flashes = recorder.flashes;
  EXPECT_EQ(Type("[Esc][Ctrl+V]"), "1234567890124.");
  EXPECT_EQ(recorder.flashes - flashes, 1 + 1 + 8) << "Esc, the paste key and 8 pasted commands";
  recorder.clipboard = "m";
  Type("[F3][Ctrl+V]");
  EXPECT_EQ(engine.angleUnit, Degrees) << "m alone is the first mode key";
}

// Clipboard text as UTF-8: the spaces that group digits, the minus sign, line breaks and
// tabs. With the statistics box closed a line break that more text follows ends the paste
// with a beep; with it open each line of a text with line breaks is one value.
TEST(Clipboard, PasteCharactersAndLines) {
  struct Row {
    bool box;
    std::string text;
    const char* display;
    int beeps;
    std::vector<std::string> added;  // the statistics box's items
  };
  const Row rows[] = {
      {false, "1\u00A0234\u00A0567,89", "1234567.89", 0, {}},   // no-break spaces
      {false, "1\u202F234\u2009567.5", "1234567.5", 0, {}},     // narrow no-break, thin
      {false, "2\u20073", "23.", 0, {}},                         // figure space
      {false, "\u22125", "-5.", 0, {}},                          // minus sign
      {false, "2\u22123=", "-1.", 0, {}},
      {false, "100\n200\n300", "100.", 1, {}},
      {false, "100\r\n200", "100.", 1, {}},
      {false, "100\r200", "100.", 1, {}},
      {false, "100\t200", "100.", 1, {}},
      {false, "100\u2028" "200", "100.", 1, {}},                  // line separator
      {false, "-5\n3", "-5.", 1, {}},                            // the sign reaches the 5
      {false, "100\r\n", "100.", 0, {}},                        // a trailing break: no beep
      {false, "100\n \r\n\t", "100.", 0, {}},
      {false, "\r\n\n7", "7.", 0, {}},                          // leading breaks are blanks
      {false, "5$\n6", "5.", 0, {}},                             // an unknown key ends it first
      {false, "5\u00D7" "2", "5.", 0, {}},                        // characters without a key
      {false, "5\u041D" "2", "5.", 0, {}},
      {false, "5\xFF" "2", "5.", 0, {}},                          // malformed UTF-8
      {false, "5\xE2\x88" "2", "5.", 0, {}},                      // a cut sequence
      {true, "100\r\n200\r\n300", "300.", 0, {"100.", "200.", "300."}},
      {true, "100\n200\n", "200.", 0, {"100.", "200."}},
      {true, "100\r200\r\r", "200.", 0, {"100.", "200."}},
      {true, "1\t2\t3", "3.", 0, {"1.", "2.", "3."}},
      {true, "1\\\n2\\\n\n 3", "3.", 0, {"1.", "2.", "3."}},   // '\' is not added twice
      {true, "-5\n-6", "-6.", 0, {"-5.", "-6."}},
      {true, "1 234\u00A0567\r\n\u22122,5\r\n", "-2.5", 0, {"1234567.", "-2.5"}},
      {true, "2+3=\n4", "4.", 0, {"5.", "4."}},
      {true, "7", "7.", 0, {}},                                 // one line: typed as it is
      {true, "7\r\n", "7.", 0, {"7."}},                        // a column of one
      {true, "1\n2$\n3", "2.", 0, {"1."}},                       // stops at '$', nothing added
  };
  for (const Row& row : rows) {
    StartCalculator(kStandard);
    if (row.box) Type("[Ctrl+S]");
    recorder.clipboard = row.text;
    int beeps = recorder.beeps;
    EXPECT_EQ(Type("[Ctrl+V]"), row.display) << "pasting " << row.text;
    EXPECT_EQ(recorder.beeps - beeps, row.beeps) << "pasting " << row.text;
    EXPECT_EQ(recorder.statisticsList, row.added) << "pasting " << row.text;
  }
}

// The one mapping of characters: ASCII as itself, the few that mean a key as that key, any
// other character (and any malformed sequence) as one byte without a key, from UTF-8 and
// UTF-16 alike.
TEST(Clipboard, PasteBytesFromUtf8AndUtf16) {
  const std::string noKey(1, PasteByteOf(0x041D));
  for (char32_t c : {U'\u00D7', U'\u00A1', U'\uFEFF', U'\U0001F600'}) EXPECT_EQ(PasteByteOf(c), noKey[0]);
  EXPECT_EQ(PasteTextFromUtf8("", 0), "");
  const std::string utf8 = "-1\u00A0" "2\u202F" "3\u2009\u2212\u2028\u2029\U0001F600\t";
  const std::u16string utf16 = u"-1\u00A0" "2\u202F" "3\u2009\u2212\u2028\u2029\U0001F600\t";
  const std::string expected = "-1 2 3 -\n\n" + noKey + "\t";
  EXPECT_EQ(PasteTextFromUtf8(utf8.data(), utf8.size()), expected);
  EXPECT_EQ(PasteTextFromUtf16(utf16.data(), utf16.size()), expected);
  const std::string badUtf8 = "\xC0\xAF|\xED\xA0\x80|\xF4\x90\x80\x80|\xE2\x88|";  // overlong, surrogate, too large, cut
  EXPECT_EQ(PasteTextFromUtf8(badUtf8.data(), badUtf8.size()),
            noKey + noKey + "|" + noKey + noKey + noKey + "|" + noKey + noKey + noKey + noKey + "|" + noKey + noKey + "|");
  const char16_t badUtf16[] = {u'1', 0xD800, u'2', 0xDC00, 0xD83D};  // lone surrogates
  EXPECT_EQ(PasteTextFromUtf16(badUtf16, 5), "1" + noKey + "2" + noKey + noKey);
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
