// The one seam to the platform: on Windows the real <windows.h>; elsewhere our
// own declarations of the same names, implemented by the rest of platform/.
#pragma once

#ifdef _WIN32
#include <windows.h>
#else
#include "platform/win32_decls.h"
#endif
