// The console's keyboard: a line of keys, typed as on the keyboard, becomes the commands
// that the main window's accelerator table gives for them.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

struct KeyCommand {
  unsigned command;
  unsigned notificationCode;  // 1 for a key (an accelerator), 0 for a click ([N])
};

struct KeyLine {
  std::vector<KeyCommand> commands;  // the keys before the first unknown one
  bool ok = true;
  std::string unknown;               // the unknown character or bracketed name
  std::size_t position = 0;          // its position in the line, counting characters from 1
};

KeyLine ParseKeyLine(const std::string& line);
