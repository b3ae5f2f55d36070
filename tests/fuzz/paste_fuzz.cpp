// Paste: any clipboard text replayed as keys leaves the engine whole (every invariant of
// the random key run holds), and C then clears the display.
//
// Input: byte 0 chooses the layout, the precision and the decimal symbol; the rest is the
// clipboard's text.
#include <string>

#include "console/recording_port.h"
#include "engine/engine.h"
#include "engine/window_command.h"
#include "engine/window_port.h"
#include "fuzz/fuzz_support.h"
#include "stress/invariants.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1 || size > 4096) return 0;
  static const char* const kOptions[4] = {"vemo /P32", "vemo /P1", "vemo /P64 /W8", "vemo /P12 /W16"};
  const int layout = data[0] & 1;
  const char symbol = (data[0] & 2) != 0 ? ',' : '.';
  StartRecordedCalculator(kOptions[(data[0] >> 2) & 3], layout, symbol);
  recorder.clipboard.assign(reinterpret_cast<const char*>(data + 1), size - 1);
  FuzzWorkBegin();
  HandleCommand(CmdPaste, 1);
  FuzzWorkEnd();
  const bool stopped = RecordedText(kDisplay) == AbortedMessage();
  // The catch-all's box is right only when memory was refused (a value beyond 2 GiB).
  for (const auto& box : recorder.messageBoxes)
    FuzzCheck(box.first == "An unknown error has occured." && box.second == "Error", "message box '" + box.first + "'");
  const std::string broken = BrokenEngineInvariant();
  FuzzCheck(broken.empty(), "after the paste: " + broken);
  HandleCommand(CmdClear, 1);
  FuzzCheck(RecordedText(kDisplay) == EmptyEntryText() || stopped, "C does not clear the display");
  return 0;
}
