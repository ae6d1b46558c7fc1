#pragma once
// The little the tool needs from the terminal: whether a stream is one, and a line typed without
// echo. Kept apart so another platform only adds its own terminal_*.cpp.

#include <QString>

#include <cstdio>
#include <optional>

bool isTerminal(std::FILE *stream);

// Shows the prompt on the terminal, reads one line with echo off and restores the terminal.
// No value when there is no terminal or the input ends before a line.
std::optional<QString> readHiddenLine(const QString &prompt);

// One line from standard input, without its line end; no value at the end of the input.
std::optional<QString> readStdinLine();
