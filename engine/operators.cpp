// Binary operators with precedence, the stack of deferred operations, parentheses, and =
// with its repetition. In the scientific layout an operator of higher precedence defers the
// pending one; in the standard layout every operator evaluates at once, left to right.
#include <string>

#include "engine/engine_internal.h"

// Precedence levels; an id not listed has level 0.
static int Level(int op) {
  switch (op) {
    case CmdAnd:
      return 1;
    case CmdAdd:
    case CmdSubtract:
      return 2;
    case kRightShift:
    case CmdLsh:
    case CmdMod:
    case CmdDivide:
    case CmdMultiply:
      return 3;
    case CmdPower:
      return 4;
    default:
      return 0;
  }
}

char* FormatDecimal(unsigned value, char* buffer) {
  char digits[12];
  int n = 0;
  do {
    digits[n++] = static_cast<char>('0' + value % 10);
    value /= 10;
  } while (value != 0);
  for (int i = 0; i < n; ++i) buffer[i] = digits[n - 1 - i];
  buffer[n] = '\0';
  return buffer;
}

// left op right for the operators whose left operand comes first; current (the right
// operand) is replaced only when the operation succeeds.
template <typename Operation>
static void LeftFirst(Ratio& current, const Ratio& left, Operation operation) {
  Ratio result = ratioCopy(left);
  operation(result, current);
  current = std::move(result);
}

void ApplyBinaryOp(int op, Ratio& current, const Ratio& left) {
  try {
    switch (op) {
      case CmdAnd:
        ratioAnd(current, left);
        break;
      case CmdOr:
        ratioOr(current, left);
        break;
      case CmdXor:
        ratioXor(current, left);
        break;
      case CmdLsh:
        LeftFirst(current, left, ratioShiftLeft);
        break;
      case kRightShift:
        LeftFirst(current, left, ratioShiftRight);
        break;
      case CmdDivide:
        LeftFirst(current, left, ratioDivide);
        break;
      case CmdMultiply:
        ratioMultiply(current, left);
        break;
      case CmdAdd:
        ratioAdd(current, left);
        break;
      case CmdSubtract:
        ratioSubtract(current, left);
        ratioNegate(current);
        // A difference of equal numbers is a plain zero, not a negative one.
        if (ratioIsZero(current) && ratioSign(current) < 0) ratioNegate(current);
        break;
      case CmdMod:
        LeftFirst(current, left, ratioModulo);
        break;
      case CmdPower:
        if (engine.inverse) {
          ClearInverse();
          LeftFirst(current, left, ratioRoot);
        } else {
          LeftFirst(current, left, ratioPow);
        }
        break;
      default:
        break;
    }
  } catch (const ArithmeticError& err) {
    ShowArithmeticError(err);
  }
}

static void WriteParenIndicator() {
  int depth = engine.parenDepth;
  if (depth > 0) {
    char number[12];
    std::string text = "(=";
    text += FormatDecimal(static_cast<unsigned>(depth), number);
    WindowSetText(kParenIndicator, text.c_str());
  } else {
    WindowSetText(kParenIndicator, "");
  }
}

void BinaryOperatorCommand(unsigned id) {
  Engine& e = engine;
  int op = static_cast<int>(id);
  if (id == CmdLsh && e.inverse) {
    ClearInverse();
    op = kRightShift;
  }
  // A second operator in a row only replaces the first.
  if (IsBinaryOperator(e.previousCommand)) {
    e.pendingOp = op;
    return;
  }
  // Allocated before any register is moved, so a failure leaves every register in place.
  Ratio zero = ratioFromInt(0);
  if (e.pendingActive) {
    for (;;) {
      if (Level(op) > Level(e.pendingOp) && IsScientificLayout()) {
        if (e.opDepth == kStackCapacity) {
          WindowBeep();  // the pending operation is dropped
        } else {
          e.operandStack[e.opDepth] = std::move(e.accumulator);
          e.opStack[e.opDepth] = e.pendingOp;
          ++e.opDepth;
        }
        break;
      }
      {
        WaitCursor wait;
        ApplyBinaryOp(e.pendingOp, e.current, e.accumulator);
      }
      if (e.opDepth > 0 && e.opStack[e.opDepth - 1] != 0) {
        --e.opDepth;
        e.pendingOp = e.opStack[e.opDepth];
        e.accumulator = CopyOrZero(e.operandStack[e.opDepth]);
        continue;
      }
      if (!e.errorLocked) RefreshDisplay();
      break;
    }
  }
  e.accumulator = std::move(e.current);
  e.current = std::move(zero);
  e.pendingOp = op;
  e.pendingActive = true;
  e.freshOperand = true;
}

void EqualsCommand() {
  Engine& e = engine;
  for (;;) {
    if (IsBinaryOperator(e.previousCommand)) e.current = ratioCopy(e.accumulator);
    if (e.pendingOp == 0) {
      if (!e.errorLocked) RefreshDisplay();
    } else {
      if (e.freshOperand) {
        e.repeatOperand = ratioCopy(e.current);
      } else {
        e.current = CopyOrZero(e.repeatOperand);
      }
      ApplyBinaryOp(e.pendingOp, e.current, e.accumulator);
      e.accumulator = ratioCopy(e.current);
      if (!e.errorLocked) RefreshDisplay();
      e.freshOperand = false;
    }
    if (e.opDepth == 0 || IsStandardLayout()) break;
    --e.opDepth;
    e.pendingOp = e.opStack[e.opDepth];
    e.accumulator = CopyOrZero(e.operandStack[e.opDepth]);
    e.freshOperand = true;
  }
  e.pendingActive = false;
}

void OpenParenCommand() {
  Engine& e = engine;
  if (e.parenDepth == kStackCapacity || e.opDepth == kStackCapacity) {
    WindowBeep();
    return;
  }
  Ratio zero = ratioFromInt(0);
  e.parenAccStack[e.parenDepth] = std::move(e.accumulator);
  e.parenOpStack[e.parenDepth] = e.pendingOp;
  ++e.parenDepth;
  e.opStack[e.opDepth] = 0;
  ++e.opDepth;
  e.accumulator = std::move(zero);
  e.pendingOp = CmdAdd;  // the parenthesis starts as 0 + ...
  WriteParenIndicator();
  if (e.errorLocked) return;
  WindowSetText(kDisplay, std::string(static_cast<size_t>(e.parenDepth), '(').c_str());
  // The display no longer shows current: the next refresh must render it.
  ForgetDisplayedValue();
  e.pendingActive = false;
}

void CloseParenCommand() {
  Engine& e = engine;
  if (e.parenDepth == 0 ||
      (e.opDepth == kStackCapacity && e.opStack[kStackCapacity - 1] != 0)) {
    WindowBeep();
    return;
  }
  for (;;) {
    ApplyBinaryOp(e.pendingOp, e.current, e.accumulator);
    if (e.opDepth == 0) break;
    --e.opDepth;
    e.pendingOp = e.opStack[e.opDepth];
    if (e.pendingOp == 0) break;
    e.accumulator = CopyOrZero(e.operandStack[e.opDepth]);
  }
  --e.parenDepth;
  e.accumulator = CopyOrZero(e.parenAccStack[e.parenDepth]);
  e.pendingOp = e.parenOpStack[e.parenDepth];
  e.pendingActive = e.pendingOp != 0;
  WriteParenIndicator();
  if (e.errorLocked) return;
  RefreshDisplay();
}
