// Number entry: the typed characters are kept as text and become a value only when a
// command consumes them.
#include <cstring>

#include "engine/engine_internal.h"

constexpr int kExponentDigits = 4;

static void ResetPart(EntryPart& part) {
  part.negative = false;
  part.pristine = true;
  part.text[0] = '0';
  part.length = 1;
}

void ResetEntry() {
  EntryBuffer& b = engine.entry;
  ResetPart(b.mantissa);
  ResetPart(b.exponent);
  b.exponentActive = false;
  b.pointPosition = -1;
}

// Appends a digit within the typing limit. In octal one digit more is allowed when the
// first digit leaves room for it, so that the largest value of each word size fits.
bool EntryAddDigit(int digit) {
  EntryBuffer& b = engine.entry;
  char c = static_cast<char>(digit < 10 ? '0' + digit : 'A' + digit - 10);
  bool toExponent = b.exponentActive;
  EntryPart& part = toExponent ? b.exponent : b.mantissa;
  int limit = toExponent ? kExponentDigits : engine.maxEntryDigits;

  if (part.pristine && digit == 0) return true;
  // A pristine part's "0" is replaced, not kept: with a limit of one digit the first digit
  // must still be taken.
  bool accept = part.length < limit || (part.pristine && limit >= 1);
  if (!accept && Radix() == 8 && part.length == limit && !toExponent) {
    int bitsMod3 = settings.wordSizeBits % 3;
    char first = part.text[0];
    accept = (bitsMod3 == 1 && first == '1') || (bitsMod3 == 2 && first <= '3');
  }
  // The text must keep room for its terminating zero whatever the limits say.
  if (!accept || part.length >= kEntryTextCapacity - 2) return false;
  if (part.pristine) {
    part.pristine = false;
    part.length = 0;
  }
  part.text[part.length++] = c;
  return true;
}

void EntryToggleSign() {
  EntryBuffer& b = engine.entry;
  if (b.mantissa.pristine) {
    b.mantissa.negative = false;
    b.exponent.negative = false;
  } else if (b.exponentActive) {
    b.exponent.negative = !b.exponent.negative;
  } else {
    b.mantissa.negative = !b.mantissa.negative;
  }
}

bool EntryAddPoint() {
  EntryBuffer& b = engine.entry;
  if (b.pointPosition != -1 || b.exponentActive) return false;
  if (b.mantissa.length >= kEntryTextCapacity - 2) return false;
  b.pointPosition = b.mantissa.length;
  b.mantissa.pristine = false;
  b.mantissa.text[b.mantissa.length++] = DecimalSymbol();
  return true;
}

bool EntryStartExponent() {
  EntryBuffer& b = engine.entry;
  EntryAddPoint();
  if (b.exponentActive) return false;
  b.exponentActive = true;
  return true;
}

bool EntryBackspace() {
  EntryBuffer& b = engine.entry;
  if (b.exponentActive) {
    EntryPart& ex = b.exponent;
    if (ex.pristine) {
      b.exponentActive = false;
    } else {
      --ex.length;
      if (ex.length == 0) ResetPart(ex);
    }
    return true;
  }
  EntryPart& m = b.mantissa;
  if (!m.pristine) --m.length;
  if (m.length <= b.pointPosition) b.pointPosition = -1;
  if (m.length == 0 || (m.length == 1 && m.text[0] == '0')) ResetPart(m);
  return true;
}

Ratio EntryToRatio() {
  EntryBuffer& b = engine.entry;
  b.mantissa.text[b.mantissa.length] = '\0';
  const char* exponentText = nullptr;
  if (b.exponentActive) {
    b.exponent.text[b.exponent.length] = '\0';
    exponentText = b.exponent.text;
  }
  Ratio value = ratioFromText(b.mantissa.negative, b.mantissa.text, b.exponent.negative,
                              exponentText);
  return value ? std::move(value) : ratioFromInt(0);
}

// The text shown while typing: sign, mantissa, the decimal symbol when none was typed (radix
// 10 only), and the exponent with its sign.
void EntryToText(std::string& text, int radix) {
  const EntryBuffer& b = engine.entry;
  char buffer[2 * kEntryTextCapacity];
  int n = 0;
  if (b.mantissa.negative) buffer[n++] = '-';
  std::memcpy(buffer + n, b.mantissa.text, b.mantissa.length);
  n += b.mantissa.length;
  if (b.pointPosition == -1) buffer[n++] = DecimalSymbol();
  if (b.exponentActive) {
    buffer[n++] = radix == 10 ? 'e' : '^';
    buffer[n++] = b.exponent.negative ? '-' : '+';
    std::memcpy(buffer + n, b.exponent.text, b.exponent.length);
    n += b.exponent.length;
  }
  if (radix != 10 && n > 0 && buffer[n - 1] == DecimalSymbol()) --n;
  text.assign(buffer, n);
}

void EntryRefreshDecimalSymbol() {
  EntryBuffer& b = engine.entry;
  if (b.pointPosition != -1) b.mantissa.text[b.pointPosition] = DecimalSymbol();
}
