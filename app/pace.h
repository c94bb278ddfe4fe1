// The pace of the screensavers and the browser page when nobody asks for
// another: microseconds from one frame's start to the next's. The program
// itself never waits (delay 0).
#pragma once

constexpr unsigned kDefaultDelay = TESS_DEFAULT_DELAY;
