// The command table (commands/commands.def) as C++ data: for every command its id, label,
// colour, help context, paste characters, console name, description and shortcuts.
#pragma once
#include <cstddef>

enum ShortcutKind : unsigned char {
  kNoShortcut,
  kCharacter,            // the character a key produces, whatever the modifiers
  kVirtual,              // the virtual key with neither Shift nor Ctrl
  kVirtualShift,
  kVirtualControl,
  kVirtualControlShift,
};

struct Shortcut {
  ShortcutKind kind;
  int key;  // character or virtual-key code
};

enum KeyColour : unsigned char { kNoColour, kKeyBlue, kKeyRed, kKeyMagenta };

constexpr int kMaxShortcuts = 4;
constexpr int kNoLabel = -1;

struct CommandInfo {
  unsigned id;
  const char* name;         // the enum name without "Cmd"
  int label;                // label-table index, or kNoLabel
  KeyColour colour;
  int helpContext;          // 0 for none
  const char* paste;        // paste characters; ':' marks a ":c" pair
  const char* consoleName;  // vemo-console's [name]
  const char* description;  // one line, Russian, UTF-8
  Shortcut shortcuts[kMaxShortcuts];
};

extern const CommandInfo kCommandTable[];
extern const std::size_t kCommandCount;

// The command that the shortcut (kind, key) sends, or 0: the first row's in table order.
unsigned FindShortcutCommand(ShortcutKind kind, int key);
// The row of a command id, or null.
const CommandInfo* FindCommand(unsigned id);
// The row whose console name is name (ignoring case), or null.
const CommandInfo* FindCommandByConsoleName(const char* name, std::size_t length);
