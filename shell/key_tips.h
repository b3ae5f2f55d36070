// The text that names a key for the user: its label, what it does and its keyboard
// shortcuts, all from the command table. Portable (no <windows.h>), UTF-8.
#pragma once
#include <string>

#include "engine/command_table.h"

// A shortcut as the user reads it: "S", "Ctrl+S", "F5", "Esc", "Shift+Ins".
std::string ShortcutName(const Shortcut& shortcut);

// The shortcuts that press the key with this id in the given layout, joined by " или ";
// empty when it has none. In the standard layout the keys of % (Mod) and @ (x^2) act as
// the percent and square-root keys, so they are named there too.
std::string KeyShortcutsText(unsigned id, int layout);

// The key's tip: "name — what it does (shortcuts); the rest of its description", e.g.
// "sin — синус (S); с Inv — арксинус, с Hyp — гиперболический синус". name is the key's
// label as shown (UTF-8). Empty for an id without a command.
std::string KeyTipText(unsigned id, const char* name, int layout);
