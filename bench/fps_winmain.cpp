// The frame counter build of the program: WinMain with its frames counted.

#include "app/frame_count.h"
#include "app/shell.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandTail, int showCommand) {
    ProgramFrame frame;
    return runProgram(instance, commandTail, showCommand, countedLoop(programLoop(frame, 0)));
}
