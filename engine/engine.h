// The command engine: its global state record, the command ids, and its operations.
//
// Every key, menu item, accelerator and pasted character reaches the engine as one command
// id through ExecuteCommand. The engine keeps the number being typed as text (EntryBuffer),
// the value registers as Ratio values, the pending operations, and talks to the windows
// only through engine/window_port.h.
#pragma once
#include <cstdint>
#include <string>

#include "numbers/bignum.h"
#include "transcendental/transcendental.h"

// ---------------------------------------------------------------------------------------
// Command ids

// One enumerator per row of the command table: CmdSin = 98, CmdDigit0 = 124, ...
enum Command : unsigned {
#define COMMAND(id, name, ...) Cmd##name = id,
#include "commands/commands.def"
#undef COMMAND
};

// Operator id of the right shift that Inv makes of Lsh.
constexpr int kRightShift = 7;
constexpr int kStackCapacity = 25;

// ---------------------------------------------------------------------------------------
// Shared settings

// Settings read by the engine and written by the command line and the main window.
// The radix and the decimal symbol live in the number package's state (numbers.radix,
// numbers.decimalSymbol).
struct Settings {
  std::int32_t precisionSetting = 32;  // digits typed and shown in radix 10, 1..64
  std::int32_t wordSizeBits = 32;      // 32, 16 or 8
  std::int32_t layout = 1;             // 0 the scientific layout, 1 the standard one
};
extern Settings settings;

inline bool IsScientificLayout() { return settings.layout == 0; }
inline bool IsStandardLayout() { return settings.layout == 1; }

// ---------------------------------------------------------------------------------------
// The number being typed

constexpr int kEntryTextCapacity = 68;

struct EntryPart {
  bool pristine;   // still the initial "0" that no key has replaced
  bool negative;
  std::int32_t length;
  char text[kEntryTextCapacity];  // not terminated while typing
};

struct EntryBuffer {
  bool exponentActive;         // digits, sign and Backspace go to the exponent
  std::int32_t pointPosition;  // index of the decimal symbol in mantissa.text, or -1
  EntryPart mantissa;
  EntryPart exponent;          // at most 4 digits
};

// ---------------------------------------------------------------------------------------
// The engine's state

struct Engine {
  Ratio current;        // the value shown and worked on; never absent after InitEngine
  Ratio accumulator;    // left operand of the pending operation, base of %
  Ratio memory;
  Ratio repeatOperand;  // right operand remembered by = (absent until the first =)
  int pendingOp = 0;    // 86..95, 7 (right shift) or 0
  bool pendingActive = false;
  bool freshOperand = true;
  int opStack[kStackCapacity] = {};  // deferred operators; 0 marks an open parenthesis
  Ratio operandStack[kStackCapacity];
  int opDepth = 0;
  int parenOpStack[kStackCapacity] = {};
  Ratio parenAccStack[kStackCapacity];
  int parenDepth = 0;
  unsigned lastCommand = 0;
  unsigned previousCommand = 0;
  bool entryActive = true;
  EntryBuffer entry = {};
  int maxEntryDigits = 0;
  bool errorLocked = false;
  bool inverse = false;
  bool hyperbolic = false;
  bool scientificNotation = false;
  AngleUnit angleUnit = Degrees;
  int wordSizeIndex = 0;  // 0 Dword, 1 Word, 2 Byte
  Ratio wordMasks[3];     // 2^32-1, 2^16-1, 2^8-1, by wordSizeIndex
  std::string displayText = "0";  // the text last produced for the display
  Ratio lastShown;                // display cache: the value last rendered
  int shownState[7] = {-1, -1, -1, -1, -1, -1, -1};
  void* savedCursor = nullptr;    // the cursor the wait cursor replaced
  int enabledRadix = -1;          // radix the digit buttons were last enabled for
  bool watching = false;          // a guarded command runs; commands it sends join its watch
  bool statisticsBoxOpen = false;
  int statisticsSelection = -1;   // the box's list selection last read by LOAD or CD
};
extern Engine engine;

// ---------------------------------------------------------------------------------------
// Operations

// The only entry for commands: guards the command and runs it under a catch-all.
void ExecuteCommand(unsigned id);
// The command processor; called by ExecuteCommand only.
void DispatchCommand(unsigned id);
// Once at start-up, after the options are read and before the main window exists.
void InitEngine();
// current, accumulator and the saved operands become 0 / absent; the typed number goes.
void ResetRegisters();
// Shows the message of an error code in the display and locks input until C or CE.
void ShowError(ErrorCode code);
// The one mapping of a caught arithmetic error to its message, used by every command
// executor: a code the arithmetic raises (0-5, and 7 for a failed allocation) is shown by
// ShowError; any other payload is rethrown to the catch-all of ExecuteCommand.
void ShowArithmeticError(const ArithmeticError& err);
void EnableModeButtons(bool enable);
// Shows (true) or restores (false) the wait cursor; nested requests do not stack.
bool SetWaitCursor(bool show);
// The portable half of the long-computation guard: arming clears abortRequested, disarming
// shows Aborted when the flag was set while the command ran.
void ArmGuard(bool arm);

// Number entry.
void ResetEntry();
bool EntryAddDigit(int digit);
void EntryToggleSign();
bool EntryAddPoint();
bool EntryStartExponent();
bool EntryBackspace();
Ratio EntryToRatio();
void EntryToText(std::string& text, int radix);
void EntryRefreshDecimalSymbol();

// Display.
void RefreshDisplay();
void RatioToDisplayText(std::string& text, Ratio& value, int radix, int format);
void WriteMemoryIndicator();
// Makes the next RefreshDisplay render even an unchanged value (after something other than
// a render has written to the display).
void ForgetDisplayedValue();

// Operators and functions.
void ApplyBinaryOp(int op, Ratio& current, const Ratio& left);
char* FormatDecimal(unsigned value, char* buffer);  // buffer of at least 11 characters
void ApplyUnaryOp(Ratio& current, unsigned id);
void BitwiseNot(Ratio& x);
void Reciprocal(Ratio& x);
void TenToThePower(Ratio& x);

// Radix, word size and angle unit.
void SelectRadix(int radixOrCommand);
void UpdatePrecision();
void EnableDigitButtons();
int BitsPerDigit(int radix);
// Word size by bits (8, 16, 32; others count as 32): sets wordSizeIndex and wordSizeBits.
void SelectWordSize(int bits);

// The label table: 80 texts (ids 0-79). Holds the UTF-8 texts of
// commands/labels.def until a platform replaces the pointers with its own.
extern const char* LabelTable[80];
