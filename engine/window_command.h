// The main window's command logic, written once for both front ends: the command line,
// the handling of WM_COMMAND, the shell commands 300-305 (copy, paste, layout switch), and
// the engine's part of creating the main window.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// --- Command line -----------------------------------------------------------------------
// Reads the options /P, /R and /W from a whole command line (program name first) into
// settings.precisionSetting (1..64), numbers.radix (2..16) and the word size (8, 16 or 32;
// any other value gives 32). The letter may be preceded by anything ('/', '-') and followed
// by ':' and blanks.
void ParseCommandLine(const char* commandLine);
// Reads the run of digits at text into *value (0 when there is none; saturates at
// INT32_MAX) and returns the position of the first other character.
const char* ReadDecimalNumber(const char* text, std::int32_t* value);

// --- WM_COMMAND -------------------------------------------------------------------------
// What MainWndProc does with WM_COMMAND (id = low word, notificationCode = high word of
// wParam): only codes 0 (a click) and 1 (an accelerator, a pasted character, a double
// click) reach the engine; % becomes percent (109) in the standard layout; code 1 flashes
// the key; the display and the indicators (401-403) run nothing.
void HandleCommand(unsigned id, unsigned notificationCode);

// --- Shell commands ---------------------------------------------------------------------
// Commands 300-305, called by the engine: copy, paste, About, the layout switch, Help.
void RunShellCommand(unsigned id);
// The text that copy puts on the clipboard: the display text, without the trailing decimal
// symbol of a whole number (a point typed by the user stays).
std::string CopyDisplayText();
// Replays paste bytes (below) as the commands of the keys that type them, sent with
// WindowSendCommand; only the first few flash their keys. Blanks are skipped; a line break
// (CR LF, LF, CR) or a tab ends a line: with the statistics box open the line's value is
// added (Dat, unless the line ended with it), with the box closed the paste ends there, with
// a beep when more text follows. Stops at a character without a key, at a zero byte, as soon
// as an error locks the engine, or at a stop.
void PasteText(const char* text, std::size_t length);
// The paste byte of a character (a Unicode code point): ASCII as itself; the no-break, figure,
// thin and narrow no-break spaces as a blank; the minus sign as '-'; the line and paragraph
// separators as a line break; any other character as a byte without a key. The one mapping
// that both front ends use, through the two functions below.
char PasteByteOf(char32_t c);
// Clipboard text to paste bytes: the console's UTF-8, the window program's UTF-16. A
// malformed sequence is a character without a key.
std::string PasteTextFromUtf8(const char* text, std::size_t length);
std::string PasteTextFromUtf16(const char16_t* text, std::size_t length);

struct PasteKey {
  unsigned char key;   // the upper-case character; + 128 for one that follows ':'
  unsigned char command;
};
// Made from the command table's paste characters; no key appears twice.
extern const PasteKey* const PasteKeyTable;
extern const std::size_t PasteKeyCount;

// --- Main window ------------------------------------------------------------------------
// The engine's part of creating the main window, in order: PrepareMainWindow (registers
// reset, typing ended), then the platform reads the decimal symbol and makes its window,
// then FinishMainWindow (radix 10 selected and rendered, memory indicator written).
void PrepareMainWindow();
void FinishMainWindow();
// Commands 303 (layout 0) and 304 (layout 1).
void SwitchLayout(int layout);
