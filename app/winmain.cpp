// The program's entry point: its frame loop's client is its own frame, as fast
// as the machine allows.

#include "app/shell.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandTail, int showCommand) {
    ProgramFrame frame;
    return runProgram(instance, commandTail, showCommand, programLoop(frame, 0));
}
