// Keys to commands through the command table's shortcuts, as the window's message loop does
// it with the accelerator table made from them: a key press first looks for a virtual-key
// shortcut with exactly its modifiers, then the character the key produces looks for a
// character shortcut; the first match in table order wins. A bracketed command name from
// the table ([sin]) clicks that key.
#include "console/keys.h"

#include <cctype>
#include <cstdlib>
#include <cstring>

#include "commands/virtual_keys.h"
#include "engine/command_table.h"

namespace {
struct KeyPress {
  int virtualKey;  // 0 for a key without a virtual-key entry of its own
  bool shift;
  bool control;
  int character;   // the character the key produces, 0 for none
};

// The command of a key press, or 0.
unsigned Translate(const KeyPress& key) {
  ShortcutKind kind = key.control ? (key.shift ? kVirtualControlShift : kVirtualControl)
                                  : (key.shift ? kVirtualShift : kVirtual);
  unsigned command = key.virtualKey != 0 ? FindShortcutCommand(kind, key.virtualKey) : 0;
  if (command == 0 && key.character != 0) command = FindShortcutCommand(kCharacter, key.character);
  return command;
}

// A typed character: letters and digits have virtual keys of their own (upper case with
// Shift); other characters only produce themselves.
KeyPress TypedCharacter(unsigned char c) {
  if (std::isalpha(c)) {
    return {std::toupper(c), std::isupper(c) != 0, false, c};
  }
  if (std::isdigit(c)) return {c, false, false, c};
  return {0, false, false, c};
}

bool EqualsIgnoringCase(const std::string& a, const char* b) {
  if (a.size() != std::strlen(b)) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  }
  return true;
}

// A bracketed name: modifiers Ctrl and Shift joined by '+', then a key name or a letter.
bool NamedKey(const std::string& name, KeyPress& key) {
  key = {0, false, false, 0};
  std::string rest = name;
  for (;;) {
    std::size_t plus = rest.find('+');
    if (plus == std::string::npos || plus == 0 || plus + 1 == rest.size()) break;
    std::string modifier = rest.substr(0, plus);
    if (EqualsIgnoringCase(modifier, "Ctrl")) {
      key.control = true;
    } else if (EqualsIgnoringCase(modifier, "Shift")) {
      key.shift = true;
    } else {
      return false;
    }
    rest = rest.substr(plus + 1);
  }
  struct Named {
    const char* name;
    int virtualKey;
    int character;
  };
  static const Named kNamed[] = {
      {"Enter", VK_RETURN, 13}, {"Esc", VK_ESCAPE, 27}, {"Del", VK_DELETE, 0},
      {"Backspace", VK_BACK, 8}, {"Left", VK_LEFT, 0},   {"Insert", VK_INSERT, 0},
      {"F2", VK_F2, 0}, {"F3", VK_F3, 0}, {"F4", VK_F4, 0}, {"F5", VK_F5, 0},
      {"F6", VK_F6, 0}, {"F7", VK_F7, 0}, {"F8", VK_F8, 0}, {"F9", VK_F9, 0},
  };
  for (const Named& n : kNamed) {
    if (EqualsIgnoringCase(rest, n.name)) {
      key.virtualKey = n.virtualKey;
      key.character = key.control ? 0 : n.character;
      return true;
    }
  }
  if (rest.size() == 1 && std::isalpha(static_cast<unsigned char>(rest[0]))) {
    int upper = std::toupper(static_cast<unsigned char>(rest[0]));
    key.virtualKey = upper;
    key.character = key.control ? upper & 0x1F : key.shift ? upper : std::tolower(upper);
    return true;
  }
  return false;
}

// Bytes in the UTF-8 character that starts with c (1 for a stray byte).
std::size_t Utf8Length(unsigned char c) {
  if (c >= 0xF0 && c < 0xF8) return 4;
  if (c >= 0xE0) return c < 0xF0 ? 3 : 1;
  if (c >= 0xC0) return 2;
  return 1;
}
}  // namespace

KeyLine ParseKeyLine(const std::string& line) {
  KeyLine result;
  std::size_t position = 0;
  std::size_t i = 0;
  while (i < line.size()) {
    ++position;
    unsigned char c = static_cast<unsigned char>(line[i]);
    if (c == ' ' || c == '\t') {
      ++i;
      continue;
    }
    if (c == '[') {
      std::size_t close = line.find(']', i + 1);
      std::string name = close == std::string::npos ? line.substr(i + 1) : line.substr(i + 1, close - i - 1);
      unsigned command = 0;
      unsigned code = 1;
      if (!name.empty() && name.size() <= 5 &&
          name.find_first_not_of("0123456789") == std::string::npos) {
        command = static_cast<unsigned>(std::strtoul(name.c_str(), nullptr, 10));
        code = 0;
        if (command > 0xFFFF) close = std::string::npos;
      } else {
        KeyPress key;
        if (NamedKey(name, key)) {
          command = Translate(key);
        } else if (const CommandInfo* row = FindCommandByConsoleName(name.data(), name.size())) {
          // A command's name from the table clicks its key, as [N] does.
          command = row->id;
          code = 0;
        }
      }
      if (close == std::string::npos || (code == 1 && command == 0)) {
        result.ok = false;
        result.unknown = close == std::string::npos ? line.substr(i) : "[" + name + "]";
        result.position = position;
        return result;
      }
      result.commands.push_back({command, code});
      std::size_t consumed = close + 1;
      // Count the characters of the bracket for the positions that follow.
      for (std::size_t k = i + 1; k < consumed; k += Utf8Length(static_cast<unsigned char>(line[k]))) ++position;
      i = consumed;
      continue;
    }
    unsigned command = c > 0x20 && c < 0x7F ? Translate(TypedCharacter(c)) : 0;
    if (command == 0) {
      result.ok = false;
      result.unknown = line.substr(i, Utf8Length(c));
      result.position = position;
      return result;
    }
    result.commands.push_back({command, 1});
    ++i;
  }
  return result;
}
