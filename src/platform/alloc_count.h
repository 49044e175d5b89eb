// Counts heap allocations made through operator new on the thread that asked
// for counting; the benchmark uses it to see what a frame allocates. Off, the
// count costs one thread-local test per allocation.
#pragma once

#include <cstddef>

namespace ruma {

struct AllocationCount {
    long count = 0;
    std::size_t bytes = 0;
};

// Starts or stops counting on the calling thread (other threads, such as the
// sound mixer's, are never counted).
void countAllocations(bool on);
// What the calling thread allocated since counting started on it.
AllocationCount allocationsSoFar();

} // namespace ruma
