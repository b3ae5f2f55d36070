// The clipboard's character logic: the text that copy puts on the clipboard, and paste,
// which replays text as the commands of the keys that would type it.
#include "engine/engine_internal.h"
#include "engine/window_command.h"

// Searched from the first row; keys 128-255 stand for a character after ':' (its upper-case
// code + 128).
const PasteKey PasteKeyTable[67] = {
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

std::string CopyDisplayText() {
  Engine& e = engine;
  if (e.entryActive) EntryToText(e.displayText, Radix());
  std::string text = e.displayText;
  // A whole number shows a trailing decimal symbol that is not part of the number; a point
  // the user typed is.
  bool pointTyped = e.entryActive && e.entry.pointPosition != -1;
  if (!pointTyped && !text.empty() && text.back() == DecimalSymbol()) text.pop_back();
  return text;
}

namespace {
void Send(unsigned command) { WindowSendCommand(command); }

bool StartsOrExtendsNumber(unsigned command) {
  return (command >= CmdDigit0 && command <= CmdDigitF) || command == CmdPoint;
}

// The command of a key code, or 0 when no row has it.
unsigned LookUp(unsigned key) {
  for (const PasteKey& row : PasteKeyTable) {
    if (row.key == key) return row.command;
  }
  return 0;
}
}  // namespace

// A leading '-' belongs to the number that follows: its +/- is sent once that number has
// been typed (before the first command that is not a digit or point, or at the end), so
// that pasting -5 enters -5. The paste is watched by the guard as one command: a stop
// ends it at the next character.
void PasteText(const char* text, std::size_t length) {
  unsigned char last = 0;
  bool pendingSign = false;
  auto sendCommand = [&](unsigned command) {
    if (pendingSign && !StartsOrExtendsNumber(command)) {
      pendingSign = false;
      Send(CmdSign);
      if (engine.errorLocked || stopRequested()) return;
    }
    Send(command);
  };
  for (std::size_t i = 0; i < length && !engine.errorLocked && !stopRequested(); ++i) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    if (c == ' ' || c == '\n' || c == '\r') continue;
    if (c == '\0') break;
    bool decimal = Radix() == 10;
    if (last == 0 && c == '-') {
      last = '-';
      pendingSign = true;
      continue;
    }
    if ((c == 'x' || c == 'e') && decimal) {
      last = 'x';
      sendCommand(CmdExp);
      continue;
    }
    if (last == 'x' && decimal && (c == '+' || c == '-')) {
      if (c == '-') {
        last = '-';
        sendCommand(CmdSign);
      }
      continue;
    }
    bool afterColon = last == ':';
    last = c;
    if (c == ':') continue;
    unsigned key = c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c;
    key = (key + (afterColon ? 128u : 0u)) % 256u;
    unsigned command = LookUp(key);
    if (command == 0) break;
    sendCommand(command);
  }
  if (pendingSign && !engine.errorLocked && !stopRequested()) Send(CmdSign);
}
