// Counts heap allocations made while counting is on (the test binary replaces
// the global operator new), to show that a call does not touch the heap.
#pragma once

namespace alloc {

void count(bool on);
int made(); // allocations since counting was last switched on

} // namespace alloc
