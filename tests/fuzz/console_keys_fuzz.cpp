// The console's key parser: any line is either a list of commands or names its first
// unknown key at a position inside the line; the commands it gives then run through the
// engine, from a fresh start, with every invariant holding.
#include <string>

#include "console/keys.h"
#include "console/recording_port.h"
#include "engine/window_command.h"
#include "fuzz/fuzz_support.h"
#include "stress/invariants.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 4096) return 0;
  const std::string line(reinterpret_cast<const char*>(data), size);
  KeyLine keys = ParseKeyLine(line);
  if (!keys.ok) {
    FuzzCheck(!keys.unknown.empty(), "an unknown key without a name");
    FuzzCheck(keys.position >= 1 && keys.position <= line.size(), "an unknown key outside the line");
  }
  for (const KeyCommand& key : keys.commands) {
    FuzzCheck(key.notificationCode <= 1, "notification code " + std::to_string(key.notificationCode));
    FuzzCheck(key.command <= 0xFFFF, "command " + std::to_string(key.command));
    FuzzCheck(key.notificationCode == 0 || key.command != 0, "a key without a command");
  }
  StartRecordedCalculator("vemo", 0, '.');
  FuzzWorkBegin();
  std::size_t run = 0;
  for (const KeyCommand& key : keys.commands) {
    if (++run > 200) break;
    HandleCommand(key.command, key.notificationCode);
    const std::string broken = BrokenEngineInvariant();
    FuzzCheck(broken.empty(), "after command " + std::to_string(key.command) + ": " + broken);
  }
  FuzzWorkEnd();
  // The catch-all's box is right only when memory was refused (a value beyond 2 GiB).
  for (const auto& box : recorder.messageBoxes)
    FuzzCheck(box.first == "An unknown error has occured." && box.second == "Error", "message box '" + box.first + "'");
  return 0;
}
