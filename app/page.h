// The program as a page: the page address's query stands in for the command
// line. ?res=c is the letter (none: 800x600, as on the command line), ?seed=N
// the twin of TESSALINE_SEED, ?delay=N the microseconds from one frame's start
// to the next (none: the savers' pace, so an open tab stays light; 0: as fast
// as the program runs), ?feathered=1 the savers' thin, faint threads instead of
// the program's picture.
#pragma once

#include "app/frames.h"

// Runs the program as the page's settings say and tells the page its exit
// code; `around`, when given, wraps the frame loop's client (the benchmarks
// count its frames).
int runPage(FrameLoop (*around)(const FrameLoop& inner));
