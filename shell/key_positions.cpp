// Symbol shortcuts by key position. The accelerator table binds the symbols by character;
// letters, Ctrl+letter and the function keys are bound by virtual key, which the system
// gives by position in every layout, so only the symbol keys need this.
#include "shell/key_positions.h"

#include "engine/command_table.h"

namespace {

struct KeyCharacters {
  unsigned virtualKey;
  char plain;
  char shifted;
};

// The English (US) layout's digit row and punctuation keys. The OEM virtual keys are those
// of the key's position; the Russian layout gives its keys the same ones.
const KeyCharacters kEnglishKeys[] = {
    {'0', '0', ')'}, {'1', '1', '!'}, {'2', '2', '@'}, {'3', '3', '#'}, {'4', '4', '$'},
    {'5', '5', '%'}, {'6', '6', '^'}, {'7', '7', '&'}, {'8', '8', '*'}, {'9', '9', '('},
    {0xBA, ';', ':'},    // VK_OEM_1
    {0xBB, '=', '+'},    // VK_OEM_PLUS
    {0xBC, ',', '<'},    // VK_OEM_COMMA
    {0xBD, '-', '_'},    // VK_OEM_MINUS
    {0xBE, '.', '>'},    // VK_OEM_PERIOD
    {0xBF, '/', '?'},    // VK_OEM_2
    {0xC0, '`', '~'},    // VK_OEM_3
    {0xDB, '[', '{'},    // VK_OEM_4
    {0xDC, '\\', '|'},   // VK_OEM_5
    {0xDD, ']', '}'},    // VK_OEM_6
    {0xDE, '\'', '"'},   // VK_OEM_7
    {0xE2, '\\', '|'},   // VK_OEM_102, the extra key beside the left Shift
};

// The Russian layout's letters on the English punctuation keys (code page 1251), for a
// key whose virtual key does not tell its place: Wine gives the Cyrillic letter keys
// virtual keys of their own when the keymap has no Latin group.
struct RussianKey {
  unsigned char typed;
  char english;
};
const RussianKey kRussianPunctuationKeys[] = {
    {0xB8, '`'}, {0xA8, '~'},   // ё Ё
    {0xF5, '['}, {0xD5, '{'},   // х Х
    {0xFA, ']'}, {0xDA, '}'},   // ъ Ъ
    {0xE6, ';'}, {0xC6, ':'},   // ж Ж
    {0xFD, '\''}, {0xDD, '"'},  // э Э
    {0xE1, ','}, {0xC1, '<'},   // б Б
    {0xFE, '.'}, {0xDE, '>'},   // ю Ю
};

int EnglishCharacterOfRussianKey(int typed) {
  for (const RussianKey& key : kRussianPunctuationKeys) {
    if (key.typed == typed) return key.english;
  }
  return 0;
}

bool PartOfNumber(int c) { return (c >= '0' && c <= '9') || c == '.' || c == ','; }

// The English letter keys of the Russian layout's letters а-я (code page 1251, 0xE0-0xFF;
// 0xC0-0xDF in capitals); 0 for the letters on punctuation keys (б ж х ъ э ю).
constexpr char kLatinKeysOfCyrillicLetters[32] = {
    'F', 0,   'D', 'U', 'L', 'T', 0,   'P',   // а б в г д е ж з
    'B', 'Q', 'R', 'K', 'V', 'Y', 'J', 'G',   // и й к л м н о п
    'H', 'C', 'N', 'E', 'A', 0,   'W', 'X',   // р с т у ф х ц ч
    'I', 'O', 0,   'S', 'M', 0,   0,   'Z',   // ш щ ъ ы ь э ю я
};

}  // namespace

int EnglishLayoutCharacter(unsigned virtualKey, bool shift) {
  for (const KeyCharacters& key : kEnglishKeys) {
    if (key.virtualKey == virtualKey) return shift ? key.shifted : key.plain;
  }
  return 0;
}

// A typed digit, '.' or ',' keeps its meaning: a number typed must never silently change
// (the Russian layout's '/' key types '.', Shift+'/' ','). Any other character that differs
// from the English one of its key gives way to the key's position when that position has a
// shortcut (Shift+2 types '"' in Russian and acts as '@', x squared); where the English key
// has none, the character keeps its own (Shift+4 types ';', Int, where '$' does nothing).
int PositionalCharacter(int typed, unsigned virtualKey, bool shift) {
  if (PartOfNumber(typed)) return typed;
  int english = EnglishLayoutCharacter(virtualKey, shift);
  if (english == 0) english = EnglishCharacterOfRussianKey(typed);
  if (english == 0 || english == typed) return typed;
  return FindShortcutCommand(kCharacter, english) != 0 ? english : typed;
}

unsigned LatinKeyOfCyrillicLetter(int typed) {
  int index = typed >= 0xE0 && typed <= 0xFF ? typed - 0xE0 : typed >= 0xC0 && typed <= 0xDF ? typed - 0xC0 : -1;
  return index < 0 ? 0 : static_cast<unsigned char>(kLatinKeysOfCyrillicLetters[index]);
}
