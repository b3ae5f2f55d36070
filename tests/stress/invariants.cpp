#include "stress/invariants.h"

#include <cstring>

#include "console/recording_port.h"
#include "engine/engine.h"
#include "engine/window_port.h"
#include "numbers/numbers.h"
#include "statistics/statistics.h"

namespace {

// Longest exponent of a rendered value: a 32-bit word count in radix 2 needs 36 digits.
constexpr std::size_t kLongestExponent = 36;
// Sign, one digit, point, exponent marker and sign, and a 32-bit exponent in radix 10.
constexpr std::size_t kLongestRoom = 16;

std::string Describe(const char* what, long value) { return std::string(what) + " = " + std::to_string(value); }

// sign, digit count, exponent and the top and bottom digits of a BigNum.
std::string Fields(const BigNum& b) {
  if (!b) return "none";
  std::string text = "{sign " + std::to_string(b->sign) + ", " + std::to_string(b->digitCount) + " digits, exponent " +
                     std::to_string(b->exponent);
  if (b->digitCount > 0)
    text += ", top " + std::to_string(b->digits[b->digitCount - 1]) + ", bottom " + std::to_string(b->digits[0]);
  return text + "}";
}

// The normal-form test of a BigNum in base B; a long one (a factorial, a huge power) is
// checked at its ends and at a stride of its digits, so that a check after every command
// stays cheap.
bool NormalEnough(const BigNum& x) {
  if (!x || (x->sign != 1 && x->sign != -1) || x->digitCount < 0) return false;
  const std::int32_t n = x->digitCount;
  if (n > 1 && x->digits[n - 1] == 0) return false;
  const std::int32_t stride = n <= 4096 ? 1 : n / 1024;
  for (std::int32_t i = 0; i < n; i += (i < 64 || i >= n - 64) ? 1 : stride)
    if (x->digits[i] >= kInternalBase) return false;
  return true;
}

// Zero test of a BigNum already found normal (its top digit is not zero unless it is zero).
bool IsZero(const BigNum& x) { return x->digitCount == 0 || (x->digitCount == 1 && x->digits[0] == 0); }

// "" when r is absent (and may be) or in normal form: both parts normal, the denominator not
// zero, both exponents non-negative.
std::string CheckRegister(const char* name, const Ratio& r, bool mayBeAbsent) {
  if (!r) return mayBeAbsent ? "" : std::string(name) + " is absent";
  const bool normal = NormalEnough(r->numerator) && NormalEnough(r->denominator) &&
                      !IsZero(r->denominator) && r->numerator->exponent >= 0 &&
                      r->denominator->exponent >= 0;
  if (!normal) return std::string(name) + " is not in normal form: " + Fields(r->numerator) + " / " + Fields(r->denominator);
  return "";
}

std::string CheckEntryPart(const char* name, const EntryPart& part, int limit) {
  if (part.length < 1 || part.length > limit || part.length >= kEntryTextCapacity)
    return std::string(name) + " length " + std::to_string(part.length) + " outside 1.." + std::to_string(limit);
  if (part.pristine && (part.length != 1 || part.text[0] != '0'))
    return std::string(name) + " is pristine but does not hold \"0\"";
  return "";
}

std::string CheckEntry() {
  const Engine& e = engine;
  const EntryBuffer& b = e.entry;
  // The point may come on top of the limit, and octal allows one digit more. A finished
  // entry may have been typed under another radix's limit.
  const int limit = e.entryActive ? e.maxEntryDigits + 2 : kEntryTextCapacity - 1;
  std::string broken = CheckEntryPart("mantissa", b.mantissa, limit);
  if (broken.empty()) broken = CheckEntryPart("exponent", b.exponent, 4);
  if (!broken.empty()) return broken;
  if (b.pointPosition != -1 && (b.pointPosition < 0 || b.pointPosition >= b.mantissa.length))
    return Describe("pointPosition", b.pointPosition);
  if (!e.entryActive) return "";
  for (int i = 0; i < b.mantissa.length; ++i) {
    char c = b.mantissa.text[i];
    if (i == b.pointPosition) continue;
    int value = c >= '0' && c <= '9' ? c - '0' : c >= 'A' && c <= 'F' ? c - 'A' + 10 : 99;
    if (value >= numbers.radix) return std::string("mantissa holds '") + c + "' in radix " + std::to_string(numbers.radix);
  }
  if (b.exponentActive && numbers.radix != 10) return "an exponent is typed outside radix 10";
  return "";
}

bool OnlyParentheses(const std::string& text) {
  return !text.empty() && text.find_first_not_of('(') == std::string::npos;
}

// A rendered value: sign, digits of the radix, one decimal symbol, an exponent part.
bool LooksLikeNumber(const std::string& text) {
  const char symbol = numbers.decimalSymbol[0];
  for (char c : text) {
    bool digit = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F');
    if (!digit && c != symbol && c != '-' && c != '+' && c != 'e' && c != '^') return false;
  }
  return true;
}

std::string CheckDisplay() {
  const Engine& e = engine;
  const std::string text = RecordedText(kDisplay);
  if (text.empty()) return "the display is empty";
  if (e.errorLocked != IsErrorMessage(text))
    return std::string("error lock ") + (e.errorLocked ? "set" : "clear") + " but the display reads '" + text + "'";
  if (e.errorLocked) return "";
  if (OnlyParentheses(text)) {
    return static_cast<int>(text.size()) == e.parenDepth ? "" : "the display shows '" + text + "' with parenDepth " + std::to_string(e.parenDepth);
  }
  if (!LooksLikeNumber(text)) return "the display reads '" + text + "'";
  const std::size_t P = static_cast<std::size_t>(numbers.precisionDigits);
  // A rendered value has at most P + 5 characters, or P + 4 and its exponent in scientific
  // notation; at a tiny precision one mantissa digit stays beside a long exponent. The typed
  // text has a sign, the mantissa with its point, the exponent marker, its sign and 4
  // digits. A refused digit starts an entry without redrawing, so while typing the display
  // may still show the last value rendered.
  std::size_t limit = e.scientificNotation ? P + 4 + kLongestExponent : std::max(P + 5, kLongestRoom);
  if (e.entryActive) limit = std::max(limit, static_cast<std::size_t>(e.maxEntryDigits) + 10);
  if (text.size() > limit) return "the display '" + text + "' is longer than " + std::to_string(limit);
  return "";
}

std::string CheckIndicators() {
  const Engine& e = engine;
  std::string memory = RecordedText(kMemoryIndicator);
  if (memory != (ratioIsZero(e.memory) ? "" : " M")) return "memory indicator '" + memory + "' does not match the memory";
  std::string parens = RecordedText(kParenIndicator);
  std::string expected = e.parenDepth > 0 ? "(=" + std::to_string(e.parenDepth) : "";
  if (parens != expected) return "parenthesis indicator '" + parens + "' with parenDepth " + std::to_string(e.parenDepth);
  return "";
}

}  // namespace

const char* AbortedMessage() { return LabelTable[66 + Aborted]; }
const char* OutOfMemoryMessage() { return LabelTable[72]; }

bool IsErrorMessage(const std::string& text) {
  for (int i = 66; i <= 72; ++i)
    if (text == LabelTable[i]) return true;
  return false;
}

std::string EmptyEntryText() {
  return numbers.radix == 10 ? std::string("0") + numbers.decimalSymbol[0] : "0";
}

std::string BrokenEngineInvariant() {
  const Engine& e = engine;
  if (e.opDepth < 0 || e.opDepth > kStackCapacity) return Describe("opDepth", e.opDepth);
  if (e.parenDepth < 0 || e.parenDepth > kStackCapacity) return Describe("parenDepth", e.parenDepth);
  if (settings.layout != 0 && settings.layout != 1) return Describe("layout", settings.layout);
  const int radix = numbers.radix;
  if (radix != 2 && radix != 8 && radix != 10 && radix != 16) return Describe("radix", radix);
  if (settings.layout == 1 && radix != 10) return "the standard layout is in radix " + std::to_string(radix);
  static const int kBits[3] = {32, 16, 8};
  if (e.wordSizeIndex < 0 || e.wordSizeIndex > 2 || settings.wordSizeBits != kBits[e.wordSizeIndex])
    return "word size index " + std::to_string(e.wordSizeIndex) + " with " + std::to_string(settings.wordSizeBits) + " bits";
  if (settings.precisionSetting < 1 || settings.precisionSetting > 64) return Describe("precisionSetting", settings.precisionSetting);
  const int typingLimit = radix == 10 ? settings.precisionSetting : settings.wordSizeBits / BitsPerDigit(radix);
  if (e.maxEntryDigits != typingLimit) return Describe("maxEntryDigits", e.maxEntryDigits);
  if (numbers.precisionDigits != e.maxEntryDigits + 1)
    return "precisionDigits " + std::to_string(numbers.precisionDigits) + " with typing limit " + std::to_string(e.maxEntryDigits);
  if (numbers.digitsPerWord != digitsPerWordFor(radix)) return Describe("digitsPerWord", numbers.digitsPerWord);

  std::string broken = CheckEntry();
  if (broken.empty()) broken = CheckRegister("current", e.current, false);
  if (broken.empty()) broken = CheckRegister("accumulator", e.accumulator, false);
  if (broken.empty()) broken = CheckRegister("memory", e.memory, false);
  if (broken.empty()) broken = CheckRegister("repeatOperand", e.repeatOperand, true);
  if (broken.empty()) broken = CheckRegister("lastShown", e.lastShown, true);
  for (int i = 0; i < kStackCapacity && broken.empty(); ++i) {
    broken = CheckRegister("operandStack", e.operandStack[i], true);
    if (broken.empty()) broken = CheckRegister("parenAccStack", e.parenAccStack[i], true);
  }
  for (int i = 0; i < 3 && broken.empty(); ++i) broken = CheckRegister("wordMasks", e.wordMasks[i], false);
  const StatisticsStore& s = statistics;
  if (broken.empty() && (s.valueCount < 0 || s.valueCount > s.capacity)) broken = Describe("statistics valueCount", s.valueCount);
  for (int i = 0; i < s.valueCount && broken.empty(); ++i) broken = CheckRegister("statistics value", s.values[i], false);
  if (!broken.empty()) return broken;

  if (recorder.cursorShown != 0) return "a wait cursor is left showing";
  if (recorder.commandRunning.load() != 0) return "the guard still watches a command";
  if (e.savedCursor != nullptr) return "a saved cursor is left";
  broken = CheckDisplay();
  if (broken.empty()) broken = CheckIndicators();
  return broken;
}
