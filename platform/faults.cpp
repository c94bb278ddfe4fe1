// The set of injected faults: one bit per service, off unless a test sets it.

#include "platform/faults.h"

namespace tess {
namespace {

unsigned& faultBits() {
    static unsigned bits = 0;
    return bits;
}

unsigned bitOf(Fault fault) {
    return 1u << static_cast<unsigned>(fault);
}

} // namespace

void injectFault(Fault fault, bool on) {
    if (on) {
        faultBits() |= bitOf(fault);
    } else {
        faultBits() &= ~bitOf(fault);
    }
}

bool faultInjected(Fault fault) {
    return (faultBits() & bitOf(fault)) != 0;
}

void clearFaults() {
    faultBits() = 0;
}

} // namespace tess
