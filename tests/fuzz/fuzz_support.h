// Shared by the fuzz targets: a check that ends the run with a message, and a stand-in for
// the long-computation guard, so that an input asking for an unbounded exact computation
// (a power of ten with a billion digits) is stopped as the user would stop it.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// Prints the message and the input's size and aborts: libFuzzer saves the input.
[[noreturn]] void FuzzFail(const std::string& message);
inline void FuzzCheck(bool condition, const std::string& message) {
  if (!condition) FuzzFail(message);
}

// Marks the work of one input: once it has run FuzzBudgetMs the stop flag is raised (and
// raised again whenever a command clears it), and work that a stop does not end within
// FuzzHangMs is a failure.
void FuzzWorkBegin();
void FuzzWorkEnd();
constexpr int FuzzBudgetMs = 100;
constexpr int FuzzHangMs = 5000;
