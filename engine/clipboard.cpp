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

// --- Clipboard characters to paste bytes ------------------------------------------------
namespace {
// The byte of a character that has no key: no paste spelling has it, alone or after ':'.
constexpr char kNoKey = 0x7F;

constexpr bool HasKey(unsigned key) {
  for (const PasteKey& row : kPasteKeys) {
    if (row.key == key) return true;
  }
  return false;
}
static_assert(!HasKey(0x7F) && !HasKey(0x7F + 128), "the byte of a character without a key has a key");
}  // namespace

char PasteByteOf(char32_t c) {
  if (c < 0x7F) return static_cast<char>(c);
  switch (c) {
    case 0x00A0:  // no-break space
    case 0x2007:  // figure space
    case 0x2009:  // thin space
    case 0x202F:  // narrow no-break space
      return ' ';
    case 0x2212:  // minus sign
      return '-';
    case 0x2028:  // line separator
    case 0x2029:  // paragraph separator
      return '\n';
    default:
      return kNoKey;
  }
}

// A malformed sequence (a stray byte, a cut or overlong sequence, a surrogate) is one
// character without a key.
std::string PasteTextFromUtf8(const char* text, std::size_t length) {
  std::string out;
  out.reserve(length);
  std::size_t i = 0;
  while (i < length) {
    unsigned char lead = static_cast<unsigned char>(text[i]);
    int extra = lead < 0x80 ? 0 : lead < 0xC2 ? -1 : lead < 0xE0 ? 1 : lead < 0xF0 ? 2 : lead < 0xF5 ? 3 : -1;
    char32_t c = extra == 0 ? lead : extra == 1 ? lead & 0x1Fu : extra == 2 ? lead & 0x0Fu : lead & 0x07u;
    std::size_t n = 1;
    for (; extra > 0 && static_cast<int>(n) <= extra; ++n) {
      unsigned char next = i + n < length ? static_cast<unsigned char>(text[i + n]) : 0;
      if ((next & 0xC0) != 0x80) break;
      c = (c << 6) | (next & 0x3Fu);
    }
    constexpr char32_t kLeast[4] = {0, 0x80, 0x800, 0x10000};
    bool whole = extra >= 0 && static_cast<int>(n) == extra + 1 && c >= kLeast[extra] &&
                 c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF);
    out += whole ? PasteByteOf(c) : kNoKey;
    i += whole ? n : 1;
  }
  return out;
}

std::string PasteTextFromUtf16(const char16_t* text, std::size_t length) {
  std::string out;
  out.reserve(length);
  for (std::size_t i = 0; i < length; ++i) {
    char32_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < length && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = 0xFFFD;  // a lone surrogate
    }
    out += PasteByteOf(c);
  }
  return out;
}

// --- Paste ----------------------------------------------------------------------------------
namespace {
// The first pasted keys flash as typed keys do, so that pasting a short number still shows
// its keys; the rest run without the flash's 20 ms, so that no paste spends more than
// 160 ms flashing and a paste of any length runs at computing speed.
constexpr int kFlashedPasteKeys = 8;

bool StartsOrExtendsNumber(unsigned command) {
  return (command >= CmdDigit0 && command <= CmdDigitF) || command == CmdPoint;
}

bool IsLineBreak(unsigned char c) { return c == '\n' || c == '\r' || c == '\t'; }

// Whether the text from position i holds anything but blanks and line breaks (before a
// zero byte, which ends it).
bool TextFollows(const char* text, std::size_t i, std::size_t length) {
  for (; i < length && text[i] != '\0'; ++i) {
    if (text[i] != ' ' && !IsLineBreak(static_cast<unsigned char>(text[i]))) return true;
  }
  return false;
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
// been typed (before the first command that is not a digit or point, or at the end of the
// line), so that pasting -5 enters -5. Two numbers are never joined across a line break
// (or a tab): with the statistics box open a text of several lines (a column) adds each
// line as one value, as if it ended with '\', while a text without a line break is typed as
// it stands; with the box closed the paste ends, with a beep, at the first line break that
// more text follows. The paste is watched by the guard as one command: a stop ends it at the
// next character.
void PasteText(const char* text, std::size_t length) {
  unsigned char last = 0;     // the line's previous character, for the sign and exponent
  bool pendingSign = false;
  bool lineTyped = false;     // a command of this line has been sent
  unsigned lineLast = 0;      // ... and the last one
  int flashed = 0;
  auto going = [] { return !engine.errorLocked && !stopRequested(); };
  auto send = [&](unsigned command) {
    bool flash = flashed < kFlashedPasteKeys;
    if (flash) ++flashed;
    WindowSendCommand(command, flash ? 1u : 0u);
    lineTyped = true;
    lineLast = command;
  };
  auto sendCommand = [&](unsigned command) {
    if (pendingSign && !StartsOrExtendsNumber(command)) {
      pendingSign = false;
      send(CmdSign);
      if (!going()) return;
    }
    send(command);
  };
  // The line's value goes to the statistics box unless the line added it itself.
  auto lineHasValue = [&] { return pendingSign || (lineTyped && lineLast != CmdData); };
  bool ended = true;  // the text ran out (rather than stopping at a character without a key)
  bool column = false;  // a line break has been met
  for (std::size_t i = 0; i < length && going(); ++i) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    if (c == ' ') continue;
    if (c == '\0') break;
    if (IsLineBreak(c)) {
      column = true;
      if (!lineTyped && !pendingSign) continue;  // an empty line
      if (engine.statisticsBoxOpen) {
        if (lineHasValue()) sendCommand(CmdData);
        last = 0;
        lineTyped = false;
        lineLast = 0;
        continue;
      }
      if (pendingSign) {
        pendingSign = false;
        send(CmdSign);
      }
      if (going() && TextFollows(text, i + 1, length)) WindowBeep();
      return;
    }
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
    if (command == 0) {
      ended = false;
      break;
    }
    sendCommand(command);
  }
  if (!going()) return;
  if (ended && engine.statisticsBoxOpen && column && lineHasValue()) {
    sendCommand(CmdData);
  } else if (pendingSign) {
    send(CmdSign);
  }
}
