// How much of the process is in memory, for soak runs that watch for leaks,
// and how big buffers are kept.
#pragma once

namespace ruma {

// Resident set size in kilobytes, or -1 where the system does not say.
long residentKilobytes();

// Big buffers (decoded pictures, models and sounds, all freed once loading is
// over) get pages of their own, given back when freed. Left to itself the C
// library keeps freed big buffers for reuse, in a pool per thread, so what the
// loading thread decoded would stay in memory all game long.
void returnBigBuffersWhenFreed();

// Seconds since the system started this process, loading its libraries
// included (to the system's clock tick); 0 where the system does not say.
double secondsSinceProcessStart();

} // namespace ruma
