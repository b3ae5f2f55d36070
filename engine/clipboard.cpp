// The clipboard's character logic: the text that copy puts on the clipboard, and paste,
// which replays text as the commands of the keys that would type it.
#include "engine/engine_internal.h"
#include "engine/window_command.h"

#include <array>
#include <cstddef>

namespace {
// The paste spellings of the command table: each character of a row's text is a key of
// its command; ':' before a character makes the pair ":c", stored as its code + 128.
struct PasteSpelling {
  const char* text;
  unsigned command;
};
constexpr PasteSpelling kPasteSpellings[] = {
#define COMMAND(id, name, label, colour, help, paste, ...) {paste, id},
#include "commands/commands.def"
#undef COMMAND
};

constexpr unsigned PasteKeyOf(char c) { return static_cast<unsigned char>(c); }

constexpr std::size_t CountPasteKeys() {
  std::size_t count = 0;
  for (const PasteSpelling& row : kPasteSpellings) {
    for (const char* c = row.text; *c; ++c) {
      if (*c != ':') ++count;
    }
  }
  return count;
}

constexpr std::size_t kPasteKeyCount = CountPasteKeys();

constexpr std::array<PasteKey, kPasteKeyCount> BuildPasteKeys() {
  std::array<PasteKey, kPasteKeyCount> table{};
  std::size_t n = 0;
  for (const PasteSpelling& row : kPasteSpellings) {
    bool afterColon = false;
    for (const char* c = row.text; *c; ++c) {
      if (*c == ':') {
        afterColon = true;
        continue;
      }
      unsigned key = PasteKeyOf(*c) + (afterColon ? 128u : 0u);
      table[n++] = {static_cast<unsigned char>(key), static_cast<unsigned char>(row.command)};
      afterColon = false;
    }
  }
  return table;
}

constexpr std::array<PasteKey, kPasteKeyCount> kPasteKeys = BuildPasteKeys();
}  // namespace

// Keys 128-255 stand for a character after ':' (its upper-case code + 128).
const PasteKey* const PasteKeyTable = kPasteKeys.data();
const std::size_t PasteKeyCount = kPasteKeyCount;

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
  for (const PasteKey& row : kPasteKeys) {
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
