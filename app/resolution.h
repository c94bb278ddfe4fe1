// The run's one screen resolution, and its choice from the command line.
// Default 800 by 600; nothing else in the program stores a width or height.
#pragma once

// workRes(true, non-zero, _) is the width, workRes(true, 0, _) the height;
// workRes(false, w, h) stores w by h (its result then means nothing).
int workRes(bool query, int first, int second);

// Looks at the first character only: 'a'..'e' store 320x240, 640x480, 800x600,
// 1024x768, 1280x1024 and return 1; anything else (null and "" too) returns 0.
int checkRes(const char* text);
