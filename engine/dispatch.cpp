// The engine's state, the command processor and its error handling.
#include <exception>

#include "engine/engine_internal.h"
#include "engine/window_command.h"
#include "engine/statistics_commands.h"

Engine engine;
Settings settings;

void ClearInverse() {
  engine.inverse = false;
  WindowCheckButton(CmdInverse, false);
}

void ClearHyperbolic() {
  engine.hyperbolic = false;
  WindowCheckButton(CmdHyperbolic, false);
}

// Arms the guard around the command and runs it under a catch-all, so that nothing a
// command raises escapes to the window procedure. About (302) waits for the user and is
// not watched. The commands a paste sends run inside it and are watched as part of it, so
// that one stop ends the whole paste.
void ExecuteCommand(unsigned id) {
  Engine& e = engine;
  bool watched = id != CmdAbout && !e.watching;
  if (watched) {
    e.watching = true;
    ArmGuard(true);
  }
  try {
    DispatchCommand(id);
  } catch (...) {
    WindowMessageBox("An unknown error has occured.", "Error");
  }
  if (watched) {
    ArmGuard(false);
    e.watching = false;
  }
}

void ArmGuard(bool arm) {
  if (arm) {
    abortRequested.store(0);
    GuardWatchStart();
  } else {
    GuardWatchEnd();
    if (abortRequested.load() != 0) ShowError(Aborted);
  }
}

// Commands invisible to the test whether the previous command was a binary operator.
static bool KeepsHistory(unsigned id) {
  return id == CmdBackspace || id == CmdStatistics || id == CmdScientificNotation ||
         id == CmdMemoryClear || id == CmdExp || (id >= CmdInverse && id <= CmdMode3);
}

static bool EndsEntry(unsigned id) {
  return (id >= CmdAnd && id <= CmdMemoryAdd) || (id >= CmdAverage && id <= CmdCloseParen) ||
         (id >= CmdRadix2 && id <= CmdMode3) || id == CmdPaste;
}

static void StatisticsCommand(unsigned id) {
  if (engine.statisticsBoxOpen) {
    RefreshDisplay();
    try {
      RunStatisticsCommand(id);
    } catch (const ArithmeticError&) {
    }
    if (!engine.errorLocked) RefreshDisplay();
  } else {
    WindowBeep();
  }
  ClearInverse();
}

static void ClearEntryCommand() {
  Engine& e = engine;
  e.current = ratioFromInt(0);
  if (IsScientificLayout()) {
    EnableModeButtons(true);
    ClearInverse();
    ClearHyperbolic();
  }
  e.errorLocked = false;
  ResetEntry();
  e.entryActive = true;
  RefreshDisplay();
}

static void ClearCommand() {
  Engine& e = engine;
  e.accumulator = ratioFromInt(0);
  e.pendingActive = false;
  e.parenDepth = 0;
  e.pendingOp = 0;
  e.previousCommand = e.lastCommand = 0;
  e.opDepth = 0;
  e.scientificNotation = false;
  e.freshOperand = true;
  WindowSetText(kParenIndicator, "");
  ClearEntryCommand();
}

static void OtherCommand(unsigned id) {
  Engine& e = engine;
  WaitCursor wait;
  switch (id) {
    case CmdSign:
      if (e.entryActive) {
        EntryToggleSign();
      } else {
        ratioNegate(e.current);
      }
      RefreshDisplay();
      break;
    case CmdClear:
      ClearCommand();
      break;
    case CmdClearEntry:
      ClearEntryCommand();
      break;
    case CmdBackspace:
      if (e.entryActive) {
        EntryBackspace();
        RefreshDisplay();
      } else {
        WindowBeep();
      }
      break;
    case CmdStatistics:
      if (e.statisticsBoxOpen) {
        StatisticsBoxFocus();
      } else {
        OpenStatisticsBox();
      }
      break;
    case CmdPoint:
      if (e.entryActive && Radix() == 10 && EntryAddPoint()) {
        RefreshDisplay();
      } else {
        WindowBeep();
      }
      break;
    case CmdScientificNotation:
      e.scientificNotation = !e.scientificNotation;
      RefreshDisplay();
      break;
    case CmdPi:
      if (Radix() != 10) {
        WindowBeep();
      } else {
        e.current = ratioCopy(e.inverse ? kTwoPi : kPi);
        RefreshDisplay();
        ClearInverse();
      }
      break;
    case CmdEquals:
      EqualsCommand();
      break;
    case CmdOpenParen:
      OpenParenCommand();
      break;
    case CmdCloseParen:
      CloseParenCommand();
      break;
    case CmdMemoryClear:
      e.memory = ratioFromInt(0);
      WriteMemoryIndicator();
      break;
    case CmdMemoryStore:
      e.memory = ratioCopy(e.current);
      WriteMemoryIndicator();
      break;
    case CmdMemoryAdd:
      ratioAdd(e.memory, e.current);
      WriteMemoryIndicator();
      break;
    case CmdMemoryRecall:
      e.current = ratioCopy(e.memory);
      RefreshDisplay();
      break;
    case CmdExp:
      if (e.entryActive && Radix() == 10 && EntryStartExponent()) {
        RefreshDisplay();
      } else {
        WindowBeep();
      }
      break;
    case CmdInverse:
      e.inverse = !e.inverse;
      WindowCheckButton(CmdInverse, e.inverse);
      break;
    case CmdHyperbolic:
      e.hyperbolic = !e.hyperbolic;
      WindowCheckButton(CmdHyperbolic, e.hyperbolic);
      break;
    case CmdMode1:
    case CmdMode2:
    case CmdMode3:
      ModeCommand(id);
      break;
    case CmdCopy:
    case CmdPaste:
    case CmdAbout:
    case CmdScientificLayout:
    case CmdStandardLayout:
    case CmdHelp:
      RunShellCommand(id);
      // While an error is shown (Help is accepted then) the message stays: current may
      // hold what a failed operation left in it.
      if (!e.errorLocked) RefreshDisplay();
      break;
    default:
      break;
  }
}

void DispatchCommand(unsigned id) {
  Engine& e = engine;
  if (!KeepsHistory(id)) {
    e.previousCommand = e.lastCommand;
    e.lastCommand = id;
  }
  if (e.errorLocked && id != CmdClear && id != CmdClearEntry && id != CmdHelp) {
    WindowBeep();
    return;
  }

  bool digitOrPoint = (id >= CmdDigit0 && id <= CmdDigitF) || id == CmdPoint;
  if (!e.entryActive && digitOrPoint) {
    e.entryActive = true;
    ResetEntry();
  } else if (e.entryActive && EndsEntry(id)) {
    e.entryActive = false;
    WaitCursor wait;
    e.current = EntryToRatio();
    RefreshDisplay();
  }

  if (id >= CmdDigit0 && id <= CmdDigitF) {
    int digit = static_cast<int>(id - CmdDigit0);
    if (digit < Radix() && EntryAddDigit(digit)) {
      RefreshDisplay();
    } else {
      WindowBeep();
    }
  } else if (id >= CmdAverage && id <= CmdData) {
    StatisticsCommand(id);
  } else if (IsBinaryOperator(id)) {
    BinaryOperatorCommand(id);
  } else if (id >= CmdInt && id <= CmdPercent) {
    UnaryCommand(id);
  } else if (id >= CmdRadix2 && id <= CmdRadix16) {
    SelectRadix(IsStandardLayout() ? static_cast<int>(CmdRadix10) : static_cast<int>(id));
  } else {
    OtherCommand(id);
  }
}

// The message of an error code: label 66 + code; out of memory has its own text (72).
void ShowError(ErrorCode code) {
  int index = code == OutOfMemory ? 72 : 66 + static_cast<int>(code);
  if (index < 66 || index > 72) index = 72;
  WindowSetText(kDisplay, LabelTable[index]);
  engine.errorLocked = true;
  if (IsScientificLayout()) EnableModeButtons(false);
}

void ShowArithmeticError(const ArithmeticError& err) {
  std::uint32_t code = err.payload - kErrorBase;
  if (code > Aborted && code != OutOfMemory) throw err;
  ShowError(err.code());
}

void EnableModeButtons(bool enable) {
  WindowFocusMain();
  for (int id = CmdRadix2; id <= static_cast<int>(CmdMode3); ++id) WindowEnableItem(id, enable);
}

bool SetWaitCursor(bool show) {
  Engine& e = engine;
  if (show) {
    if (e.savedCursor == nullptr) e.savedCursor = WindowShowWaitCursor();
    return e.savedCursor != nullptr;
  }
  if (e.savedCursor != nullptr) {
    WindowRestoreCursor(e.savedCursor);
    e.savedCursor = nullptr;
  }
  return false;
}

void InitEngine() {
  Engine& e = engine;
  ResetEntry();
  e.entryActive = true;
  UpdatePrecision();
  e.wordMasks[0] = ratioCopy(kMask32);
  e.wordMasks[1] = ratioCopy(kMask16);
  e.wordMasks[2] = ratioCopy(kMask8);
  ResetRegisters();
  e.memory = ratioFromInt(0);
}

void ResetRegisters() {
  Engine& e = engine;
  ResetEntry();
  e.entryActive = true;
  e.current = ratioFromInt(0);
  e.accumulator = ratioFromInt(0);
  for (int i = 0; i < kStackCapacity; ++i) {
    e.operandStack[i].reset();
    e.parenAccStack[i].reset();
  }
  e.displayText = "0";
}
