// Helpers shared by the engine's source files; not part of its interface.
#pragma once
#include "engine/engine.h"
#include "engine/window_port.h"
#include "numbers/numbers.h"

// Shows the wait cursor for a scope and restores it on every path.
struct WaitCursor {
  WaitCursor() { SetWaitCursor(true); }
  ~WaitCursor() { SetWaitCursor(false); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;
};

inline bool IsBinaryOperator(unsigned id) { return id >= CmdAnd && id <= CmdPower; }
inline char DecimalSymbol() { return numbers.decimalSymbol[0]; }
inline int Radix() { return numbers.radix; }

// A deep copy of a register, or 0 when it is absent.
inline Ratio CopyOrZero(const Ratio& r) { return r ? ratioCopy(r) : ratioFromInt(0); }

void ClearInverse();
void ClearHyperbolic();

// Command procedures of the dispatcher.
void BinaryOperatorCommand(unsigned id);
void EqualsCommand();
void OpenParenCommand();
void CloseParenCommand();
void UnaryCommand(unsigned id);
void ModeCommand(unsigned id);
