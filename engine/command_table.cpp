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
constexpr CommandInfo kCommandTable[] = {
#include "commands/commands.def"
};
#undef COMMAND

const std::size_t kCommandCount = sizeof kCommandTable / sizeof kCommandTable[0];

namespace {
// The command of every (kind, key) pair, the first row's where two rows share one, as the
// accelerator table's first match wins.
struct ShortcutMap {
  unsigned short command[kVirtualControlShift + 1][256];
};

constexpr ShortcutMap BuildShortcutMap() {
  ShortcutMap map{};
  for (const CommandInfo& row : kCommandTable) {
    for (const Shortcut& s : row.shortcuts) {
      if (s.kind != kNoShortcut && s.key >= 0 && s.key < 256 && map.command[s.kind][s.key] == 0) {
        map.command[s.kind][s.key] = static_cast<unsigned short>(row.id);
      }
    }
  }
  return map;
}

constexpr ShortcutMap kShortcutMap = BuildShortcutMap();
}  // namespace

unsigned FindShortcutCommand(ShortcutKind kind, int key) {
  if (kind == kNoShortcut || key < 0 || key >= 256) return 0;
  return kShortcutMap.command[kind][key];
}

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
