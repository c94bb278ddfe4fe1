// Whether stderr is a terminal, on POSIX systems.

#include "tools/progress.h"

#include <unistd.h>

bool stderrIsTerminal() {
    return isatty(STDERR_FILENO) == 1;
}
