// Whether stderr is a terminal (a console), on Windows.

#include "tools/progress.h"

#include <io.h>

bool stderrIsTerminal() {
    return _isatty(2) != 0;
}
