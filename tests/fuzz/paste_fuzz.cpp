// Paste: any clipboard text replayed as keys leaves the engine whole (every invariant of
// the random key run holds), and C then clears the display. The text read as UTF-8 (as the
// console does) and as UTF-16 (as the window program does) gives only ASCII paste bytes, at
// most one per code unit.
//
// Input: byte 0 chooses the layout, the precision and the decimal symbol; the rest is the
// clipboard's text (UTF-8).
#include <cstring>
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
  std::u16string wide((size - 1) / 2, u'\0');
  if (!wide.empty()) std::memcpy(&wide[0], data + 1, wide.size() * sizeof(char16_t));
  const std::string fromUtf8 = PasteTextFromUtf8(recorder.clipboard.data(), recorder.clipboard.size());
  const std::string fromUtf16 = PasteTextFromUtf16(wide.data(), wide.size());
  FuzzCheck(fromUtf8.size() <= recorder.clipboard.size() && fromUtf16.size() <= wide.size(),
            "more paste bytes than code units");
  for (const std::string* bytes : {&fromUtf8, &fromUtf16}) {
    for (char c : *bytes) FuzzCheck(static_cast<unsigned char>(c) < 0x80, "a paste byte above 127");
  }
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
