// Frame counting for the benchmark builds of the program: a client of the frame
// loop wrapped so that it counts its frames, quits TESS_COUNT_FRAMES seconds
// after its first and then prints what it counted. The shipped program has none
// of it and prints nothing.
#pragma once

#include "app/frames.h"

// `inner`, counted. One line on stderr at its stop: the frames counted, the
// seconds they took, frames per second, and the wall-clock times (seconds since
// 1970) of the first and last. One counted loop per process.
FrameLoop countedLoop(const FrameLoop& inner);
