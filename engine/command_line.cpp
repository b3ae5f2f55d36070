// The command line: /P digits, /R radix, /W word size. Only the letter matters; anything
// may stand before it, and ':' and blanks between it and the number.
#include <cstdint>

#include "engine/engine.h"
#include "engine/window_command.h"
#include "numbers/bignum.h"

const char* ReadDecimalNumber(const char* text, std::int32_t* value) {
  std::int64_t v = 0;
  while (*text >= '0' && *text <= '9') {
    v = v * 10 + (*text - '0');
    if (v > INT32_MAX) v = INT32_MAX;  // saturate: no run of digits can overflow
    ++text;
  }
  *value = static_cast<std::int32_t>(v);
  return text;
}

static std::int32_t Clamp(std::int32_t v, std::int32_t low, std::int32_t high) {
  return v < low ? low : v > high ? high : v;
}

void ParseCommandLine(const char* p) {
  while (*p == ' ' || *p == '\t') ++p;
  // The program name: up to a blank outside quotes.
  bool quoted = false;
  while (*p != '\0' && (quoted || (*p != ' ' && *p != '\t'))) {
    if (*p == '"') quoted = !quoted;
    ++p;
  }
  while (*p != '\0') {
    char letter = *p;
    if (letter >= 'a' && letter <= 'z') letter = static_cast<char>(letter - 'a' + 'A');
    if (letter == 'P' || letter == 'R' || letter == 'W') {
      ++p;
      while (*p == ':' || *p == ' ' || *p == '\t') ++p;
      std::int32_t value = 0;
      p = ReadDecimalNumber(p, &value);
      if (letter == 'P') {
        // The typing limit must fit the entry text: 1 to 64 digits.
        settings.precisionSetting = Clamp(value, 1, 64);
      } else if (letter == 'R') {
        numbers.radix = Clamp(value, 2, 16);
      } else {
        // Index and bits together, as the word-size commands do; 8, 16 or 32 only.
        SelectWordSize(value);
      }
    }
    // The character after a letter's number is consumed with it.
    if (*p != '\0') ++p;
  }
}
