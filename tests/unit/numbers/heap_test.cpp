// Every allocation of a number operation may fail: the operation then raises OutOfMemory
// and leaves no block behind.
#include <gtest/gtest.h>

#include <functional>

#include "unit/numbers/support.h"

TEST_F(NumbersTest, EveryFailedAllocationRaisesOutOfMemoryWithoutLeaking) {
  struct Row { const char* name; std::function<void()> run; };
  const Row rows[] = {
      {"divide and render", [] {
         Ratio a = parse("2");
         ratioDivide(a, parse("3"));
         HeapText t = ratioToText(a, 10, FormatAutomatic);
       }},
      {"sum of unlike denominators", [] {
         Ratio a = parse("0.125");
         ratioAdd(a, parse("1.7"));
       }},
      {"integer part and bitwise", [] {
         Ratio a = parse("12345.678");
         ratioIntegerPart(a);
         ratioXor(a, parse("255"));
       }},
      {"power and modulo", [] {
         Ratio a = parse("1.5");
         ratioIntPower(a, 77);
         ratioModulo(a, parse("7"));
       }},
      {"set-up", [] { setRadixAndPrecision(16, 9); }},
  };
  for (const Row& row : rows) {
    const std::uint64_t before = heapAllocationCount();
    row.run();
    const std::uint64_t needed = heapAllocationCount() - before;
    ASSERT_GT(needed, 0u) << row.name;
    for (std::uint64_t n = 1; n <= needed; ++n) {
      setRadixAndPrecision(10, 33);
      const std::int64_t live = heapLiveBlocks();
      heapFailAllocationAt(n);
      bool raised = false;
      try {
        row.run();
      } catch (const ArithmeticError& e) {
        raised = e.code() == OutOfMemory;
      }
      heapFailAllocationAt(0);
      EXPECT_TRUE(raised) << row.name << ": allocation " << n << " of " << needed;
      // The set-up replaces constants, which may change the count of live blocks by design.
      if (std::string(row.name) != "set-up")
        EXPECT_EQ(heapLiveBlocks(), live) << row.name << ": allocation " << n;
    }
  }
  setRadixAndPrecision(10, 33);
}
