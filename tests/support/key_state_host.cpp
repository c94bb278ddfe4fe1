// Key state through our host's key table (systems without Windows).

#include "support/key_state.h"

#include "platform/host/input.h"

void holdKey(int virtualKey, bool down) {
    tess::host::setKeyDown(virtualKey, down);
}
