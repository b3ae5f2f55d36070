// The display: the typed text or the value of current, rendered only when something it
// depends on has changed. Outside radix 10 current itself is reduced to an integer of the
// word size (two's complement for negative values), so what is shown is what is used next.
#include <cstring>

#include "engine/engine_internal.h"

static void PresentState(int state[7]) {
  const Engine& e = engine;
  state[0] = settings.precisionSetting;
  state[1] = Radix();
  state[2] = e.scientificNotation;
  state[3] = settings.layout;
  state[4] = e.wordSizeIndex;
  state[5] = Radix() != 10;
  state[6] = e.entryActive;
}

void RatioToDisplayText(std::string& text, Ratio& value, int radix, int format) {
  HeapText rendered = ratioToText(value, static_cast<std::uint32_t>(radix), format);
  if (rendered) text = rendered.get();
}

// Truncates current and brings it into the word: negative values become their two's
// complement, then the value is masked to the word size.
static void ReduceToWord() {
  Engine& e = engine;
  ratioIntegerPart(e.current);
  if (ratioLess(e.current, kZero)) {
    ratioNegate(e.current);
    ratioSubtract(e.current, kOne);
    BitwiseNot(e.current);
  }
  ratioAnd(e.current, e.wordMasks[e.wordSizeIndex]);
}

void RefreshDisplay() {
  Engine& e = engine;
  // A stopped command shows the stop message, never the partial value it leaves; rendering
  // (and reducing) a huge partial value would only delay that message.
  if (stopRequested()) return;
  WaitCursor wait;
  int state[7];
  PresentState(state);
  if (!e.entryActive && e.lastShown && ratioEqual(e.lastShown, e.current) &&
      std::memcmp(state, e.shownState, sizeof state) == 0) {
    return;
  }
  // The cache is committed only once the text is on the display, so a render that fails
  // halfway is tried again next time.
  Ratio shown = ratioCopy(e.current);
  if (e.entryActive) {
    EntryToText(e.displayText, Radix());
  } else if (Radix() == 10) {
    RatioToDisplayText(e.displayText, e.current, 10,
                       e.scientificNotation ? FormatScientific : FormatAutomatic);
  } else {
    ReduceToWord();
    RatioToDisplayText(e.displayText, e.current, Radix(), FormatAutomatic);
    if (!e.displayText.empty() && e.displayText.back() == DecimalSymbol()) {
      e.displayText.pop_back();
    }
  }
  WindowSetText(kDisplay, e.displayText.c_str());
  e.lastShown = std::move(shown);
  std::memcpy(e.shownState, state, sizeof state);
}

// Forgets what the display shows, so the next refresh renders whatever the value; used
// when something other than a render has written to the display.
void ForgetDisplayedValue() { engine.lastShown.reset(); }

void WriteMemoryIndicator() {
  WindowSetText(kMemoryIndicator, ratioIsZero(engine.memory) ? "" : " M");
}
