// What gdiscript needs from the system it runs on: byte-exact standard streams
// and, on a real GDI, a guard that ends the run with "crash N" when a drawing
// call faults or "hang N" when one runs past GDISCRIPT_LIMIT seconds (30 by
// default). Our own device context neither faults nor hangs: no guard there.
#pragma once

namespace gdiscript {

// `finish` writes the pending output and then the given last line.
void hostStart(void (*finish)(const char* lastLine));
void hostEnter(long line); // the command on `line` starts
void hostLeave();          // and is done

} // namespace gdiscript
