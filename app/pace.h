// The pace of the screensavers when nobody asks for another: microseconds from one frame's start to
// the next's. The program itself never waits (delay 0).
#pragma once

constexpr unsigned kDefaultDelay = TESS_DEFAULT_DELAY;
// The browser page's: 20 pictures a second. A browser's cost is per canvas
// update, whatever its size: at the savers' 30 a second the page costs several
// points of a core more than any page that animates nothing.
constexpr unsigned kPageDelay = 50000;
// The feathered threads' own pace when none is given: the one they were first
// drawn at, which their look depends on (a longer one draws them fainter).
constexpr unsigned kFeatheredDelay = 7000;
