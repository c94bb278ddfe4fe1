// Frame counting for the benchmark build of the program (TESS_COUNT_FRAMES set
// to a number of seconds): the shipped program has none of it and prints nothing.
#pragma once

// Counts one presented frame. The count runs from the first frame; true once the
// given number of seconds has passed since then.
bool countFrame(double seconds);
// One line on stderr: the frames counted, the seconds they took, frames per
// second, and the wall-clock times (seconds since 1970) of the first and last.
void reportFrames();
