#pragma once

#include <cstdio>

// Standard output is unbuffered on a terminal, so that every message is on the
// screen before a wait begins, and fully buffered when it goes to a file or a
// pipe (flushed by the normal exit).
void configureStandardOutput();

// Standard input as a Windows console program's text mode delivers it: a CR is
// dropped, and the character 26 (Ctrl+Z) ends the input for good.
struct TextInput {
  std::FILE *stream;
  bool ended;
};

// The next character, or EOF at the end of the input or on a read error.
int readTextModeCharacter(TextInput &input);

// Reads one character from standard input and discards it; returns at once at
// the end of the input.
void waitForEnter();
