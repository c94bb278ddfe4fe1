// gdiscript on our device context: plain streams, nothing to guard.

#include "gdiscript_host.h"

namespace gdiscript {

void hostStart(void (*)(const char*)) {}
void hostEnter(long) {}
void hostLeave() {}

} // namespace gdiscript
