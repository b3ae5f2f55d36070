// The label table's texts, from the same data file as the resource script's string table.
#include "engine/engine.h"

namespace {
constexpr int kLabelIds[] = {
#define LABEL(id, text) id,
#include "commands/labels.def"
#undef LABEL
};

constexpr bool IdsAreConsecutive() {
  for (int i = 0; i < static_cast<int>(sizeof kLabelIds / sizeof kLabelIds[0]); ++i) {
    if (kLabelIds[i] != i) return false;
  }
  return true;
}
static_assert(sizeof kLabelIds / sizeof kLabelIds[0] == 80, "the label table has 80 texts");
static_assert(IdsAreConsecutive(), "label ids run from 0 to 79 in order");
}  // namespace

const char* LabelTable[80] = {
#define LABEL(id, text) text,
#include "commands/labels.def"
#undef LABEL
};
