// The pace of the screensavers and the browser page when nobody asks for
// another: microseconds from one frame's start to the next's. The program
// itself never waits (delay 0).
#pragma once

constexpr unsigned kDefaultDelay = TESS_DEFAULT_DELAY;
// The feathered threads' own pace when none is given: the one they were first
// drawn at, which their look depends on (a longer one draws them fainter).
constexpr unsigned kFeatheredDelay = 7000;
