// Symbol shortcuts by key position: what the Russian layout's characters turn into, and
// that nothing changes in the English layout.
#include <gtest/gtest.h>

#include "engine/command_table.h"
#include "shell/key_positions.h"

namespace {

constexpr unsigned kOem1 = 0xBA, kOemComma = 0xBC, kOemPeriod = 0xBE, kOem2 = 0xBF,
                   kOem3 = 0xC0, kOem5 = 0xDC, kNumpadDivide = 0x6F, kNumpadMultiply = 0x6A;

// Characters as the Russian layout types them (code page 1251).
TEST(KeyPositions, RussianLayout) {
  struct Case {
    int typed;
    unsigned virtualKey;
    bool shift;
    int expected;
  };
  const Case cases[] = {
      // The key's English character has a shortcut: the position wins.
      {'"', '2', true, '@'},
      {0xB9 /* № */, '3', true, '#'},
      {':', '6', true, '^'},
      {'?', '7', true, '&'},
      {'/', kOem5, true, '|'},
      {0xC1 /* Б */, kOemComma, true, '<'},
      {0xA8 /* Ё */, kOem3, true, '~'},
      {0xE6 /* ж */, kOem1, false, ';'},
      {0xE1 /* б */, kOemComma, false, ','},
      {0xFE /* ю */, kOemPeriod, false, '.'},
      // A character of a number keeps its meaning.
      {'.', kOem2, false, '.'},
      {',', kOem2, true, ','},
      // The English key has no shortcut: the character keeps its own.
      {';', '4', true, ';'},
      {0xB8 /* ё */, kOem3, false, 0xB8},
      {0xC6 /* Ж */, kOem1, true, 0xC6},
      // The same character in both layouts, the numpad, a letter key.
      {'\\', kOem5, false, '\\'},
      {'*', '8', true, '*'},
      {'/', kNumpadDivide, false, '/'},
      {'*', kNumpadMultiply, false, '*'},
      {0xFB /* ы */, 'S', false, 0xFB},
      // A key whose virtual key says nothing of its place (Wine, Russian keymap alone): the
      // Cyrillic letter on an English punctuation key tells it.
      {0xC1 /* Б */, 0x82, true, '<'},
      {0xE1 /* б */, 0x82, false, ','},
      {0xFE /* ю */, 0, false, '.'},
      {0xA8 /* Ё */, 0xE9, true, '~'},
      {0xE6 /* ж */, 0xE9, false, ';'},
      {0xFB /* ы */, 0xE9, false, 0xFB},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PositionalCharacter(c.typed, c.virtualKey, c.shift), c.expected)
        << "typed " << c.typed << ", key 0x" << std::hex << c.virtualKey << (c.shift ? " with Shift" : "");
  }
}

// The Russian letters find the English letter keys they share a key with.
TEST(KeyPositions, CyrillicLettersToLatinKeys) {
  const struct {
    int typed;
    unsigned latin;
  } cases[] = {
      {0xFB /* ы */, 'S'}, {0xDB /* Ы */, 'S'}, {0xE9 /* й */, 'Q'}, {0xFF /* я */, 'Z'},
      {0xF4 /* ф */, 'A'}, {0xE0 /* а */, 'F'}, {0xF2 /* т */, 'N'}, {0xFC /* ь */, 'M'},
      {0xE1 /* б, a punctuation key */, 0}, {0xB8 /* ё */, 0}, {'s', 0}, {0xBF, 0},
  };
  for (const auto& c : cases) EXPECT_EQ(LatinKeyOfCyrillicLetter(c.typed), c.latin) << "typed " << c.typed;
}

// In the English layout every key types its own English character, which must stay.
TEST(KeyPositions, EnglishLayoutUnchanged) {
  for (unsigned key = 0; key < 256; ++key) {
    for (bool shift : {false, true}) {
      int english = EnglishLayoutCharacter(key, shift);
      if (english) EXPECT_EQ(PositionalCharacter(english, key, shift), english) << "key " << key;
    }
  }
}

// Every printable character shortcut has a key position in the table.
TEST(KeyPositions, EverySymbolShortcutHasAPosition) {
  for (std::size_t i = 0; i < kCommandCount; ++i) {
    for (const Shortcut& shortcut : kCommandTable[i].shortcuts) {
      if (shortcut.kind != kCharacter || shortcut.key < ' ') continue;
      bool found = false;
      for (unsigned key = 0; key < 256 && !found; ++key) {
        found = EnglishLayoutCharacter(key, false) == shortcut.key ||
                EnglishLayoutCharacter(key, true) == shortcut.key;
      }
      EXPECT_TRUE(found) << "command " << kCommandTable[i].id << ", character " << shortcut.key;
    }
  }
}

}  // namespace
