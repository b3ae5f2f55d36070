#include "engine/command_table.h"

#include <cctype>
#include <cstring>

#include "commands/virtual_keys.h"

namespace {
// A key written as a one-character string ("S") or as a number (19).
constexpr int KeyCode(int code) { return code; }
constexpr int KeyCode(const char* text) { return static_cast<unsigned char>(text[0]); }
}  // namespace

#define CHARACTER(key) Shortcut{kCharacter, KeyCode(key)}
#define VIRTUAL(key) Shortcut{kVirtual, KeyCode(key)}
#define VIRTUAL_SHIFT(key) Shortcut{kVirtualShift, KeyCode(key)}
#define VIRTUAL_CONTROL(key) Shortcut{kVirtualControl, KeyCode(key)}
#define VIRTUAL_CONTROL_SHIFT(key) Shortcut{kVirtualControlShift, KeyCode(key)}
#define NO_SHORTCUT Shortcut{kNoShortcut, 0}
#define NO_LABEL kNoLabel
#define NO_COLOUR kNoColour
#define BLUE kKeyBlue
#define RED kKeyRed
#define MAGENTA kKeyMagenta
#define COMMAND(id, name, label, colour, help, paste, console, description, ...) \
  {id, #name, label, colour, help, paste, console, description, {__VA_ARGS__}},
const CommandInfo kCommandTable[] = {
#include "commands/commands.def"
};
#undef COMMAND

const std::size_t kCommandCount = sizeof kCommandTable / sizeof kCommandTable[0];

const CommandInfo* FindCommand(unsigned id) {
  for (const CommandInfo& row : kCommandTable) {
    if (row.id == id) return &row;
  }
  return nullptr;
}

const CommandInfo* FindCommandByConsoleName(const char* name, std::size_t length) {
  for (const CommandInfo& row : kCommandTable) {
    if (std::strlen(row.consoleName) != length) continue;
    bool same = true;
    for (std::size_t i = 0; i < length && same; ++i) {
      same = std::tolower(static_cast<unsigned char>(name[i])) ==
             std::tolower(static_cast<unsigned char>(row.consoleName[i]));
    }
    if (same) return &row;
  }
  return nullptr;
}
