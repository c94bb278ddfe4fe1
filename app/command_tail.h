// The command-line tail as the Windows start-up code hands it to WinMain, made
// from the argument vector of a system that splits the line itself.
#pragma once

#include <string>

// The arguments after the program name, joined by single blanks; an argument that
// is empty or holds a blank or tab is quoted, so it reads back as one.
std::string commandTailOf(int argc, const char* const* argv);
