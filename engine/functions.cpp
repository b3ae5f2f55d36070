// Unary and scientific functions with their Inv and Hyp variants, and the conversions the
// engine computes itself: Not, reciprocal, ten to the power, degrees-minutes-seconds and
// percent.
#include "engine/engine_internal.h"

void BitwiseNot(Ratio& x) {
  if (Radix() != 10) {
    ratioXor(x, engine.wordMasks[engine.wordSizeIndex]);
  } else {
    // -(trunc(x) + 1): Not 5 is -6, Not 2.7 is -3, Not -3 is 2.
    ratioIntegerPart(x);
    ratioAdd(x, kOne);
    ratioNegate(x);
  }
}

void Reciprocal(Ratio& x) {
  Ratio result = ratioCopy(kOne);
  ratioDivide(result, x);
  x = std::move(result);
}

void TenToThePower(Ratio& x) {
  Ratio result = ratioFromInt(10);
  ratioPow(result, x);
  x = std::move(result);
}

// Decimal degrees to degrees.minutes-seconds (or back with Inv): with D the integer part
// and F the fraction, t = F*f1, M = trunc(t), S = (t - M)*f1, result D + (M + S/f2)/f2.
static void DegreesMinutesSeconds(Ratio& x, bool back) {
  Ratio f1 = ratioFromInt(back ? 100 : 60);
  Ratio f2 = ratioFromInt(back ? 60 : 100);
  Ratio degrees = ratioCopy(x);
  ratioIntegerPart(degrees);
  Ratio t = ratioCopy(x);
  ratioSubtract(t, degrees);
  ratioMultiply(t, f1);
  Ratio minutes = ratioCopy(t);
  ratioIntegerPart(minutes);
  Ratio seconds = std::move(t);
  ratioSubtract(seconds, minutes);
  ratioMultiply(seconds, f1);
  ratioDivide(seconds, f2);
  ratioAdd(seconds, minutes);
  ratioDivide(seconds, f2);
  ratioAdd(seconds, degrees);
  x = std::move(seconds);
}

static void Percent(Ratio& x) {
  Ratio base = ratioCopy(engine.accumulator);
  Ratio hundred = ratioFromInt(100);
  ratioDivide(base, hundred);
  ratioMultiply(x, base);
}


static void Trigonometric(Ratio& x, unsigned id) {
  const Engine& e = engine;
  if (Radix() != 10) {
    WindowBeep();
    return;
  }
  AngleUnit unit = e.angleUnit;
  if (e.hyperbolic) {
    switch (id) {
      case CmdSin: e.inverse ? ratioAsinh(x) : ratioSinh(x); break;
      case CmdCos: e.inverse ? ratioAcosh(x) : ratioCosh(x); break;
      default: e.inverse ? ratioAtanh(x) : ratioTanh(x); break;
    }
  } else {
    switch (id) {
      case CmdSin: e.inverse ? ratioAsin(x, unit) : ratioSin(x, unit); break;
      case CmdCos: e.inverse ? ratioAcos(x, unit) : ratioCos(x, unit); break;
      default: e.inverse ? ratioAtan(x, unit) : ratioTan(x, unit); break;
    }
  }
}

void ApplyUnaryOp(Ratio& x, unsigned id) {
  const Engine& e = engine;
  try {
    switch (id) {
      case CmdInt:
        e.inverse ? ratioFraction(x) : ratioIntegerPart(x);
        break;
      case CmdNot:
        BitwiseNot(x);
        break;
      case CmdSin:
      case CmdCos:
      case CmdTan:
        Trigonometric(x, id);
        break;
      case CmdLn:
        e.inverse ? ratioExp(x) : ratioLn(x);
        break;
      case CmdLog:
        e.inverse ? TenToThePower(x) : ratioLog10(x);
        break;
      case CmdSqrt:
      case CmdSquare:
        if (e.inverse || !IsScientificLayout()) {
          ratioSquareRoot(x);
        } else {
          ratioIntPower(x, 2);
        }
        break;
      case CmdCube:
        if (e.inverse) {
          ratioRoot(x, ratioFromInt(3));
        } else {
          ratioIntPower(x, 3);
        }
        break;
      case CmdFactorial:
        ratioFactorial(x);
        break;
      case CmdReciprocal:
        Reciprocal(x);
        break;
      case CmdDms:
        if (Radix() != 10) {
          WindowBeep();
        } else {
          DegreesMinutesSeconds(x, e.inverse);
        }
        break;
      case CmdPercent:
        Percent(x);
        break;
      default:
        break;
    }
  } catch (const ArithmeticError& err) {
    ShowArithmeticError(err);
  }
}

static bool ClearsInverse(unsigned id) {
  switch (id) {
    case CmdInt: case CmdSin: case CmdCos: case CmdTan: case CmdLn: case CmdLog:
    case CmdSquare: case CmdCube: case CmdDms:
      return true;
    default:
      return false;
  }
}

void UnaryCommand(unsigned id) {
  Engine& e = engine;
  // A function right after an operator works on the operator's left operand.
  if (IsBinaryOperator(e.previousCommand)) e.current = ratioCopy(e.accumulator);
  {
    WaitCursor wait;
    ApplyUnaryOp(e.current, id);
  }
  if (e.errorLocked) return;
  RefreshDisplay();
  if (e.inverse && ClearsInverse(id)) ClearInverse();
  if (e.hyperbolic && id >= CmdSin && id <= CmdTan) ClearHyperbolic();
  e.freshOperand = true;
}
