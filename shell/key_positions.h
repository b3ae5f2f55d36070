// Symbol shortcuts by key position: in another keyboard layout (Russian) a key keeps the
// shortcut it has in the English (US) layout. Portable (no <windows.h>); the message loop
// (win_main.cpp) applies it to every WM_CHAR for the main window before the accelerators.
#pragma once

// The character that the key with this virtual key types in the English (US) layout, with
// or without Shift; 0 for keys outside the table (letters, the numpad, function keys).
int EnglishLayoutCharacter(unsigned virtualKey, bool shift);

// The character the accelerators are given for a typed character (the ANSI code 0-255 of
// WM_CHAR) from the key with this virtual key and Shift state: either the typed one or the
// one the same key types in the English layout. In the English layout it is always the
// typed one.
int PositionalCharacter(int typed, unsigned virtualKey, bool shift);

// The virtual key ('A'-'Z') of the English letter on the key that types this Russian letter
// (code page 1251, either case); 0 for any other character and for the letters on the
// punctuation keys. Where the system gives such a key no virtual key of its place (Wine with
// a Russian keymap alone), the letter shortcuts find their key through it.
unsigned LatinKeyOfCyrillicLetter(int typed);
