// Radix, word size and angle unit: the commands that switch them, the labels of the three
// mode buttons, the enabled keys, and the typing limit and working precision that follow.
#include "engine/engine_internal.h"

static int RadixOfCommand(int id) {
  switch (id) {
    case CmdRadix2: return 2;
    case CmdRadix8: return 8;
    case CmdRadix16: return 16;
    default: return 10;
  }
}

static int CommandOfRadix(int radixOrCommand) {
  switch (radixOrCommand) {
    case 2: return CmdRadix2;
    case 8: return CmdRadix8;
    case 16: return CmdRadix16;
    case CmdRadix2:
    case CmdRadix8:
    case CmdRadix10:
    case CmdRadix16:
      return radixOrCommand;
    default: return CmdRadix10;
  }
}

int BitsPerDigit(int radix) {
  int bits = 0;
  while ((1 << bits) < radix) ++bits;
  return bits;
}

void SelectWordSize(int bits) {
  switch (bits) {
    case 16:
      engine.wordSizeIndex = 1;
      break;
    case 8:
      engine.wordSizeIndex = 2;
      break;
    default:
      engine.wordSizeIndex = 0;
      bits = 32;
      break;
  }
  settings.wordSizeBits = bits;
}

// The radix buttons and the three mode buttons for a radix command.
static void ShowRadix(int id) {
  const Engine& e = engine;
  bool decimal = id == CmdRadix10;
  int selected = decimal ? static_cast<int>(e.angleUnit) : e.wordSizeIndex;
  WindowCheckRadio(CmdRadix2, CmdRadix16, id);
  WindowCheckRadio(CmdMode1, CmdMode3, CmdMode1 + selected);
  int firstLabel = decimal ? 63 : 60;  // angle units, or word sizes
  for (int i = 0; i < 3; ++i) WindowSetText(CmdMode1 + i, LabelTable[firstLabel + i]);
}

void SelectRadix(int radixOrCommand) {
  int id = CommandOfRadix(radixOrCommand);
  ShowRadix(id);
  numbers.radix = RadixOfCommand(id);
  try {
    UpdatePrecision();
  } catch (...) {
    // The number package kept the radix it had: the buttons must say so.
    ShowRadix(CommandOfRadix(Radix()));
    throw;
  }
  EnableDigitButtons();
  RefreshDisplay();
}

void ModeCommand(unsigned id) {
  int index = static_cast<int>(id - CmdMode1);
  if (Radix() == 10) {
    engine.angleUnit = static_cast<AngleUnit>(index);
  } else {
    static const int kBits[3] = {32, 16, 8};
    SelectWordSize(kBits[index]);
    UpdatePrecision();
  }
  WindowCheckRadio(CmdMode1, CmdMode3, static_cast<int>(id));
  RefreshDisplay();
}

// The typing limit, and a working precision one digit beyond it.
void UpdatePrecision() {
  int radix = Radix();
  engine.maxEntryDigits = radix == 10 ? settings.precisionSetting
                                      : settings.wordSizeBits / BitsPerDigit(radix);
  setRadixPrecisionAndConstants(radix, engine.maxEntryDigits + 1);
}

void EnableDigitButtons() {
  static const int kDecimalOnly[] = {CmdScientificNotation, CmdDms, CmdSin, CmdCos,
                                     CmdTan, CmdExp, CmdPi};
  int radix = Radix();
  if (radix == engine.enabledRadix) return;
  if (engine.enabledRadix == 10 || radix == 10) {
    for (int id : kDecimalOnly) WindowEnableItem(id, radix == 10);
  }
  for (int i = 2; i < 16; ++i) WindowEnableItem(CmdDigit0 + i, i < radix);
  engine.enabledRadix = radix;
}
