// The window program's command-line parser: whatever the text, the settings it leaves are
// ones the rest of the calculator is made for.
#include <string>

#include "engine/engine.h"
#include "engine/window_command.h"
#include "fuzz/fuzz_support.h"
#include "numbers/bignum.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  settings = Settings{};
  engine.wordSizeIndex = 0;
  numbers.radix = 10;
  ParseCommandLine(text.c_str());
  FuzzCheck(settings.precisionSetting >= 1 && settings.precisionSetting <= 64,
            "precision " + std::to_string(settings.precisionSetting));
  FuzzCheck(numbers.radix >= 2 && numbers.radix <= 16, "radix " + std::to_string(numbers.radix));
  static const int kBits[3] = {32, 16, 8};
  FuzzCheck(engine.wordSizeIndex >= 0 && engine.wordSizeIndex <= 2 &&
                settings.wordSizeBits == kBits[engine.wordSizeIndex],
            "word size " + std::to_string(settings.wordSizeBits));
  std::int32_t value = -1;
  const char* end = ReadDecimalNumber(text.c_str(), &value);
  FuzzCheck(value >= 0 && end >= text.c_str() && end <= text.c_str() + text.size(), "ReadDecimalNumber");
  return 0;
}
