// The keys' tip texts composed from the command table.
#include "shell/key_tips.h"

#include <cstring>

#include "commands/virtual_keys.h"
#include "engine/engine.h"

namespace {

// Names of the virtual keys the table uses that are not a letter or a digit.
const char* VirtualKeyName(int key) {
  switch (key) {
    case VK_BACK: return "Backspace";
    case VK_RETURN: return "Enter";
    case VK_ESCAPE: return "Esc";
    case VK_LEFT: return "\xE2\x86\x90";  // a left arrow
    case VK_INSERT: return "Ins";
    case VK_DELETE: return "Del";
    case VK_ADD: return "Num +";
    default: return nullptr;
  }
}

std::string KeyName(int key) {
  if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')) return std::string(1, static_cast<char>(key));
  if (key >= VK_F1 && key <= VK_F1 + 11) return "F" + std::to_string(key - VK_F1 + 1);
  if (const char* name = VirtualKeyName(key)) return name;
  return "#" + std::to_string(key);
}

// A letter's Shift variant says nothing new when the plain letter is listed too.
bool RepeatsPlainKey(const CommandInfo& row, const Shortcut& shortcut) {
  if (shortcut.kind != kVirtualShift) return false;
  for (const Shortcut& other : row.shortcuts) {
    if (other.kind == kVirtual && other.key == shortcut.key) return true;
  }
  return false;
}

void AppendShortcuts(std::string& text, const CommandInfo* row) {
  if (!row) return;
  for (const Shortcut& shortcut : row->shortcuts) {
    if (shortcut.kind == kNoShortcut || RepeatsPlainKey(*row, shortcut)) continue;
    if (!text.empty()) text += " или ";
    text += ShortcutName(shortcut);
  }
}

}  // namespace

std::string ShortcutName(const Shortcut& shortcut) {
  switch (shortcut.kind) {
    case kCharacter:
      // Control characters come from Ctrl and a letter.
      if (shortcut.key >= 1 && shortcut.key <= 26) {
        return std::string("Ctrl+") + static_cast<char>('A' + shortcut.key - 1);
      }
      return std::string(1, static_cast<char>(shortcut.key));
    case kVirtual: return KeyName(shortcut.key);
    case kVirtualShift: return "Shift+" + KeyName(shortcut.key);
    case kVirtualControl: return "Ctrl+" + KeyName(shortcut.key);
    case kVirtualControlShift: return "Ctrl+Shift+" + KeyName(shortcut.key);
    default: return std::string();
  }
}

std::string KeyShortcutsText(unsigned id, int layout) {
  std::string text;
  AppendShortcuts(text, FindCommand(id));
  if (layout == 1 && id == CmdPercent) AppendShortcuts(text, FindCommand(CmdMod));
  if (layout == 1 && id == CmdSqrt) AppendShortcuts(text, FindCommand(CmdSquare));
  return text;
}

std::string KeyTipText(unsigned id, const char* name, int layout) {
  const CommandInfo* row = FindCommand(id);
  if (!row) return std::string();
  // The shortcuts follow the description's first clause, before the Inv and Hyp variants.
  const char* description = row->description;
  const char* rest = std::strstr(description, "; ");
  std::string text = std::string(name) + " \xE2\x80\x94 ";
  text.append(description, rest ? static_cast<std::size_t>(rest - description) : std::strlen(description));
  std::string shortcuts = KeyShortcutsText(id, layout);
  if (!shortcuts.empty()) text += " (" + shortcuts + ")";
  if (rest) text += rest;
  return text;
}
