// The command-line tail as the Windows start-up code hands it to WinMain, made
// from the argument vector of a system that splits the line itself; and the
// numbers that command lines, settings and the environment give.
#pragma once

#include <string>

// The arguments after the program name, joined by single blanks; an argument that
// is empty or holds a blank or tab is quoted, so it reads back as one.
std::string commandTailOf(int argc, const char* const* argv);

// `s` as a number in `base` (10 or 16): digits only, at least one, at most `max`.
// Anything else (a sign, a blank, too large) is false and leaves `out` as it was.
bool parseNumber(const char* s, int base, unsigned long long max, unsigned long long& out);
