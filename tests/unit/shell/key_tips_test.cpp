// The keys' tips: name, first clause of the description, the shortcuts that the
// accelerator table really gives the key, then the Inv and Hyp variants.
#include <gtest/gtest.h>

#include <string>

#include "engine/engine.h"
#include "shell/key_tips.h"

namespace {

TEST(KeyTips, ComposedTexts) {
  struct Case {
    unsigned id;
    const char* name;
    int layout;
    const char* expected;
  };
  const Case cases[] = {
      {CmdSin, "sin", 0, "sin — синус (S); с Inv — арксинус, с Hyp — гиперболический синус"},
      {CmdBackspace, "Backspace", 0, "Backspace — стирает последнюю набранную цифру (← или Backspace)"},
      {CmdStatistics, "Sta", 0, "Sta — открывает окно статистики (Ctrl+S)"},
      {CmdAdd, "+", 1, "+ — сложение (+ или Num +)"},
      {CmdRadix16, "Hex", 0, "Hex — шестнадцатеричная система счисления (F5)"},
      {CmdData, "Dat", 0, "Dat — добавляет число в окно статистики (Ins)"},
      {CmdPoint, ",", 1, ", — вводит десятичный разделитель (. или ,)"},
      // Keys without a shortcut of their own; in the standard layout % and @ press them.
      {CmdPercent, "%", 0, "% — процент от первого числа"},
      {CmdPercent, "%", 1, "% — процент от первого числа (%)"},
      {CmdSqrt, "sqrt", 1, "sqrt — квадратный корень (в инженерном виде без Inv — квадрат) (@)"},
      {CmdSqrt, "sqrt", 0, "sqrt — квадратный корень (в инженерном виде без Inv — квадрат)"},
      {999, "?", 0, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(KeyTipText(c.id, c.name, c.layout), c.expected) << "id " << c.id << " layout " << c.layout;
  }
}

// Every shortcut of every key reaches its tip, except a letter's Shift variant next to the
// plain letter.
TEST(KeyTips, EveryShortcutNamed) {
  for (std::size_t i = 0; i < kCommandCount; ++i) {
    const CommandInfo& row = kCommandTable[i];
    std::string tip = KeyTipText(row.id, "x", 0);
    for (const Shortcut& shortcut : row.shortcuts) {
      if (shortcut.kind == kNoShortcut || shortcut.kind == kVirtualShift) continue;
      EXPECT_NE(tip.find(ShortcutName(shortcut)), std::string::npos)
          << "command " << row.id << ": " << tip;
    }
  }
  EXPECT_EQ(ShortcutName({kVirtualControlShift, 'K'}), "Ctrl+Shift+K");
  EXPECT_EQ(ShortcutName({kVirtualShift, 0x2D}), "Shift+Ins");
  EXPECT_EQ(ShortcutName({kCharacter, 13}), "Ctrl+M");
}

}  // namespace
