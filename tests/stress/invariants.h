// What must hold between any two commands, whatever keys came before: the checks the random
// key driver, the failing-allocation walks and the fuzz targets run after every command.
#pragma once
#include <string>

// The first broken invariant of the engine as it stands after a command, or "" when all
// hold: stack depths, the entry buffer, the working precision, every register in normal
// form, the display text and its length, the error lock, the indicators, the wait cursor.
std::string BrokenEngineInvariant();

// The text the display shows for the empty entry in the current radix ("0." in radix 10).
std::string EmptyEntryText();

// True when text is one of the error messages ShowError writes.
bool IsErrorMessage(const std::string& text);

// The message shown when a command was stopped.
const char* AbortedMessage();
// The message shown when an operation ran out of memory.
const char* OutOfMemoryMessage();
