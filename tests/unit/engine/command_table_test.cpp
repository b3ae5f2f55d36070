// The tables made from the command table send every key, character and paste exactly as
// the hand-kept tables they replaced did. The old tables are kept here as the reference.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "commands/virtual_keys.h"
#include "engine/command_table.h"
#include "engine/engine.h"
#include "engine/window_command.h"

namespace {
struct OldAccelerator {
  int key;
  ShortcutKind kind;
  unsigned command;
};
// The accelerator table as it was, in table order (the first match wins).
const OldAccelerator kOldAccelerators[] = {
    {48, kCharacter, 124}, {49, kCharacter, 125}, {50, kCharacter, 126}, {51, kCharacter, 127},
    {52, kCharacter, 128}, {53, kCharacter, 129}, {54, kCharacter, 130}, {55, kCharacter, 131},
    {56, kCharacter, 132}, {57, kCharacter, 133}, {65, kVirtual, 134}, {66, kVirtual, 135},
    {67, kVirtual, 136}, {68, kVirtual, 137}, {69, kVirtual, 138}, {70, kVirtual, 139},
    {33, kCharacter, 106}, {83, kVirtual, 98}, {79, kVirtual, 99}, {84, kVirtual, 100},
    {82, kVirtual, 107}, {89, kVirtual, 95}, {35, kCharacter, 105}, {64, kCharacter, 104},
    {77, kVirtual, 108}, {78, kVirtual, 101}, {76, kVirtual, 102}, {86, kVirtual, 110},
    {88, kVirtual, 117}, {73, kVirtual, 144}, {72, kVirtual, 145}, {80, kVirtual, 111},
    {75, kVirtualControlShift, 302}, {VK_LEFT, kVirtual, 83}, {VK_BACK, kVirtual, 83}, {VK_DELETE, kVirtual, 82},
    {VK_ESCAPE, kVirtual, 81}, {VK_F2, kVirtual, 146}, {VK_F3, kVirtual, 147}, {VK_F4, kVirtual, 148},
    {VK_F5, kVirtual, 143}, {VK_F6, kVirtual, 142}, {VK_F7, kVirtual, 141}, {VK_F8, kVirtual, 140},
    {VK_F9, kVirtual, 80}, {19, kCharacter, 84}, {13, kCharacter, 115}, {16, kCharacter, 116},
    {12, kCharacter, 113}, {18, kCharacter, 114}, {1, kCharacter, 118}, {20, kCharacter, 119},
    {4, kCharacter, 120}, {47, kCharacter, 90}, {42, kCharacter, 91}, {37, kCharacter, 94},
    {45, kCharacter, 93}, {61, kCharacter, 112}, {43, kCharacter, 92}, {VK_ADD, kVirtual, 92},
    {38, kCharacter, 86}, {124, kCharacter, 87}, {126, kCharacter, 97}, {94, kCharacter, 88},
    {40, kCharacter, 122}, {41, kCharacter, 123}, {59, kCharacter, 96}, {60, kCharacter, 89},
    {46, kCharacter, 85}, {44, kCharacter, 85}, {59, kCharacter, 85}, {VK_RETURN, kVirtual, 112},
    {VK_INSERT, kVirtual, 121}, {3, kCharacter, 300}, {22, kCharacter, 301}, {VK_INSERT, kVirtualControl, 300},
    {VK_INSERT, kVirtualShift, 301}, {65, kVirtualShift, 134}, {66, kVirtualShift, 135}, {67, kVirtualShift, 136},
    {68, kVirtualShift, 137}, {69, kVirtualShift, 138}, {70, kVirtualShift, 139}, {83, kVirtualShift, 98},
    {79, kVirtualShift, 99}, {84, kVirtualShift, 100}, {82, kVirtualShift, 107}, {89, kVirtualShift, 95},
    {77, kVirtualShift, 108}, {78, kVirtualShift, 101}, {76, kVirtualShift, 102}, {86, kVirtualShift, 110},
    {88, kVirtualShift, 117}, {73, kVirtualShift, 144}, {72, kVirtualShift, 145}, {80, kVirtualShift, 111},
};

struct OldPasteKey {
  unsigned key;
  unsigned command;
};
const OldPasteKey kOldPasteKeys[] = {
    {'0', 124}, {'1', 125}, {'2', 126}, {'3', 127}, {'4', 128},
    {'5', 129}, {'6', 130}, {'7', 131}, {'8', 132}, {'9', 133},
    {'A', 134}, {'B', 135}, {'C', 136}, {'D', 137}, {'E', 138}, {'F', 139},
    {'!', 106}, {'S', 98}, {'O', 99}, {'T', 100}, {'R', 107}, {'Y', 95},
    {'#', 105}, {'@', 104}, {'M', 146}, {'N', 101}, {'L', 102}, {'V', 110},
    {'X', 117}, {'I', 144}, {'H', 145}, {'P', 111},
    {'/', 90}, {'*', 91}, {'%', 94}, {'-', 93}, {'=', 112}, {'+', 92},
    {'&', 86}, {'|', 87}, {'^', 88}, {'~', 97}, {';', 96}, {'<', 89},
    {'.', 85}, {',', 85}, {'(', 122}, {')', 123}, {'\\', 121}, {'Q', 81},
    {'Q' + 128, 81}, {'S' + 128, 84}, {'M' + 128, 115}, {'P' + 128, 116},
    {'C' + 128, 113}, {'R' + 128, 114}, {'A' + 128, 118}, {'T' + 128, 119},
    {'D' + 128, 120}, {'2' + 128, 146}, {'3' + 128, 147}, {'4' + 128, 148},
    {'5' + 128, 143}, {'6' + 128, 142}, {'7' + 128, 141}, {'8' + 128, 140},
    {'9' + 128, 80},
};

struct OldStyle {
  KeyColour colour;
  int helpContext;
};
// Colours and help contexts of the commands 80-139, by id - 80.
const OldStyle kOldStyles[] = {
    {kKeyBlue, 80}, {kKeyRed, 81}, {kKeyRed, 82}, {kKeyRed, 83}, {kKeyBlue, 84},
    {kKeyBlue, 85}, {kKeyRed, 86}, {kKeyRed, 87}, {kKeyRed, 88}, {kKeyRed, 89},
    {kKeyRed, 90}, {kKeyRed, 91}, {kKeyRed, 92}, {kKeyRed, 93}, {kKeyRed, 94},
    {kKeyMagenta, 95}, {kKeyRed, 96}, {kKeyRed, 97}, {kKeyMagenta, 98}, {kKeyMagenta, 99},
    {kKeyMagenta, 100}, {kKeyMagenta, 101}, {kKeyMagenta, 102}, {kKeyBlue, 103}, {kKeyMagenta, 140},
    {kKeyMagenta, 104}, {kKeyMagenta, 105}, {kKeyMagenta, 106}, {kKeyMagenta, 107}, {kKeyBlue, 108},
    {kKeyMagenta, 109}, {kKeyBlue, 110}, {kKeyRed, 111}, {kKeyRed, 112}, {kKeyRed, 113},
    {kKeyRed, 114}, {kKeyRed, 115}, {kKeyMagenta, 116}, {kKeyBlue, 117}, {kKeyBlue, 118},
    {kKeyBlue, 119}, {kKeyBlue, 120}, {kKeyMagenta, 40}, {kKeyMagenta, 41}, {kKeyBlue, 48},
    {kKeyBlue, 48}, {kKeyBlue, 48}, {kKeyBlue, 48}, {kKeyBlue, 48}, {kKeyBlue, 48},
    {kKeyBlue, 48}, {kKeyBlue, 48}, {kKeyBlue, 48}, {kKeyBlue, 48}, {kKeyBlue, 65},
    {kKeyBlue, 65}, {kKeyBlue, 65}, {kKeyBlue, 65}, {kKeyBlue, 65}, {kKeyBlue, 65},
};

unsigned OldAcceleratorCommand(ShortcutKind kind, int key) {
  for (const OldAccelerator& a : kOldAccelerators) {
    if (a.kind == kind && a.key == key) return a.command;
  }
  return 0;
}

// The first match in table order, as the resource script's accelerator table has them.
unsigned NewAcceleratorCommand(ShortcutKind kind, int key) {
  for (std::size_t i = 0; i < kCommandCount; ++i) {
    for (const Shortcut& s : kCommandTable[i].shortcuts) {
      if (s.kind == kind && s.key == key) return kCommandTable[i].id;
    }
  }
  return 0;
}

TEST(CommandTable, EveryKeySendsWhatItSentBefore) {
  for (ShortcutKind kind : {kCharacter, kVirtual, kVirtualShift, kVirtualControl, kVirtualControlShift}) {
    for (int key = 0; key < 256; ++key) {
      EXPECT_EQ(NewAcceleratorCommand(kind, key), OldAcceleratorCommand(kind, key))
          << "kind " << kind << ", key " << key;
      EXPECT_EQ(FindShortcutCommand(kind, key), OldAcceleratorCommand(kind, key))
          << "the console's map, kind " << kind << ", key " << key;
    }
  }
}

TEST(CommandTable, EveryPastedCharacterSendsWhatItSentBefore) {
  for (unsigned key = 0; key < 256; ++key) {
    unsigned before = 0;
    for (const OldPasteKey& p : kOldPasteKeys) {
      if (p.key == key) {
        before = p.command;
        break;
      }
    }
    unsigned now = 0;
    for (std::size_t i = 0; i < PasteKeyCount; ++i) {
      if (PasteKeyTable[i].key == key) {
        EXPECT_EQ(now, 0u) << "key " << key << " appears twice";
        now = PasteKeyTable[i].command;
      }
    }
    EXPECT_EQ(now, before) << "paste key " << key;
  }
}

TEST(CommandTable, LabelsColoursAndHelpOfTheLabelledKeys) {
  for (unsigned id = 80; id <= 139; ++id) {
    const CommandInfo* row = FindCommand(id);
    ASSERT_NE(row, nullptr) << id;
    EXPECT_EQ(row->label, static_cast<int>(id) - 80) << id;
    EXPECT_EQ(row->colour, kOldStyles[id - 80].colour) << id;
    EXPECT_EQ(row->helpContext, kOldStyles[id - 80].helpContext) << id;
  }
  for (unsigned id = 140; id <= 148; ++id) EXPECT_EQ(FindCommand(id)->helpContext, static_cast<int>(id) - 19);
}

// Every id of the vocabulary has one row with a description and a console name that no key
// name or letter hides.
TEST(CommandTable, RowsAreCompleteAndNamesUnique) {
  std::set<unsigned> ids;
  std::set<std::string> names;
  for (std::size_t i = 0; i < kCommandCount; ++i) {
    const CommandInfo& row = kCommandTable[i];
    EXPECT_TRUE(ids.insert(row.id).second) << row.id;
    std::string name = row.consoleName;
    for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    EXPECT_TRUE(names.insert(name).second) << name;
    EXPECT_GT(name.size(), 1u) << "a one-letter name would be read as a key: " << name;
    EXPECT_TRUE(name.find_first_not_of("0123456789") != std::string::npos) << name;
    EXPECT_GT(std::string(row.description).size(), 4u) << row.id;
    EXPECT_EQ(FindCommandByConsoleName(row.consoleName, std::string(row.consoleName).size()), &row);
  }
  for (unsigned id = 80; id <= 148; ++id) EXPECT_EQ(ids.count(id), 1u) << id;
  for (unsigned id = 300; id <= 305; ++id) EXPECT_EQ(ids.count(id), 1u) << id;
  EXPECT_EQ(ids.size(), 75u);
  EXPECT_EQ(CmdSin, 98u);
  EXPECT_EQ(CmdDigitF, 139u);
  EXPECT_EQ(CmdHelp, 305u);
}
}  // namespace
