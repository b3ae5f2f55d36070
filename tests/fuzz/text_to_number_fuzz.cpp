// The text-to-number parser in every radix from 2 to 16, at any precision, with decimal
// symbols of up to four odd characters: what it reads is a number in normal form, and the
// renderer's text of that number reads back as the same value rounded to the precision.
//
// Input: byte 0 the radix, byte 1 the precision, byte 2 the symbol's length (0-4) followed
// by its characters, then the text (a NUL byte ends it; a byte 0x01 splits it into a
// mantissa and an exponent for ratioFromText).
#include <cctype>
#include <cstring>
#include <string>

#include "fuzz/fuzz_support.h"
#include "numbers/numbers.h"

namespace {
int installedRadix = 0, installedPrecision = 0;

void Install(int radix, int precision) {
  if (radix == installedRadix && precision == installedPrecision) return;
  setRadixAndPrecision(radix, precision);
  installedRadix = radix;
  installedPrecision = precision;
}

// A decimal symbol cannot be read apart from the number around it when one of its
// characters is a digit of the radix, a sign, an exponent marker or a line end.
bool UsableInSymbol(char c, int radix) {
  if (c == '\0' || c == '\n' || c == '+' || c == '-' || c == '^' || (c == 'e' && radix == 10)) return false;
  const char* found = std::strchr(digitAlphabet, radix > 10 ? std::toupper(static_cast<unsigned char>(c)) : c);
  return found == nullptr || found - digitAlphabet >= radix;
}

// Significant digits written in a rendered mantissa, up to its last non-zero one (at least
// 1). The renderer rounds to P digits, fewer when a long exponent takes their room.
int WrittenDigits(const std::string& text, int radix) {
  int digits = 0, significant = 0;
  for (char c : text) {
    if (c == '^' || (c == 'e' && radix == 10)) break;
    const char* found = std::strchr(digitAlphabet, c);
    if (c == '\0' || found == nullptr || found - digitAlphabet >= radix) continue;
    if (digits > 0 || c != '0') ++digits;
    if (c != '0') significant = digits;  // zeros at the end of a whole number are not
  }
  return significant > 0 ? significant : 1;
}

// |a - b| <= |a| * R^(1 - d): b is a rounded to d significant digits (with room to spare).
bool CloseEnough(const Ratio& a, const Ratio& b, int radix, int precision) {
  Ratio difference = ratioCopy(a);
  ratioSubtract(difference, b);
  if (ratioIsZero(difference)) return true;
  difference->numerator->sign = difference->denominator->sign = 1;
  Ratio bound = ratioCopy(a);
  bound->numerator->sign = bound->denominator->sign = 1;
  Ratio scale = ratioFromInt(radix);
  ratioIntPower(scale, 1 - precision);
  ratioMultiply(bound, scale);
  return ratioLessEqual(difference, bound);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 3) return 0;
  const int radix = 2 + data[0] % 15;
  const int precision = 1 + data[1] % 65;
  const std::size_t symbolLength = data[2] % 5;
  if (size < 3 + symbolLength) return 0;
  char symbol[5] = {};
  for (std::size_t i = 0; i < symbolLength; ++i) {
    symbol[i] = static_cast<char>(data[3 + i]);
    if (!UsableInSymbol(symbol[i], radix)) return 0;
  }
  std::string text(reinterpret_cast<const char*>(data + 3 + symbolLength), size - 3 - symbolLength);
  text = text.substr(0, text.find('\0'));

  // The set-up is not watched: a stop during it would leave the constants of the last one.
  Install(radix, precision);
  std::memcpy(numbers.decimalSymbol, symbol, sizeof symbol);
  FuzzWorkBegin();
  try {
    BigNum digits = bigFromText(text.c_str());
    if (digits) {
      FuzzCheck(bigIsNormal(digits, static_cast<std::uint32_t>(radix)), "bigFromText gave a number out of normal form");
      Ratio value = ratioFromRadixBig(digits, static_cast<std::uint32_t>(radix));
      FuzzCheck(stopRequested() || ratioIsNormal(value), "ratioFromRadixBig gave a value out of normal form");
      if (!stopRequested()) {
        HeapText rendered = ratioToText(value, static_cast<std::uint32_t>(radix), FormatAutomatic);
        BigNum again = bigFromText(rendered.get());
        FuzzCheck(static_cast<bool>(again), "the rendered text reads as nothing");
        Ratio reread = ratioFromRadixBig(again, static_cast<std::uint32_t>(radix));
        // The comparison is the test's own arithmetic: it runs unwatched, and only when no
        // stop cut the conversions short.
        const bool stopped = stopRequested();
        FuzzWorkEnd();
        if (!stopped)
          FuzzCheck(CloseEnough(value, reread, radix, WrittenDigits(rendered.get(), radix)),
                    "'" + text + "' renders as '" + rendered.get() + "', which reads back as another value");
        FuzzWorkBegin();
      }
    } else {
      FuzzCheck(text.empty() || text[0] == '\n', "a text with characters read as nothing");
    }
    const std::size_t split = text.find('\x01');
    const std::string mantissa = text.substr(0, split);
    const std::string exponent = split == std::string::npos ? "" : text.substr(split + 1);
    Ratio r = ratioFromText(!mantissa.empty() && mantissa[0] == 'n', mantissa.c_str(),
                            !exponent.empty() && exponent[0] == 'n', exponent.c_str());
    FuzzCheck(!r || stopRequested() || ratioIsNormal(r), "ratioFromText gave a value out of normal form");
  } catch (const ArithmeticError& error) {
    // The parser raises nothing but OutOfMemory (a refused huge request); the division by a
    // power of the radix cannot fail.
    FuzzCheck(error.code() == OutOfMemory, "the parser raised error " + std::to_string(error.code()));
  }
  FuzzWorkEnd();
  return 0;
}
