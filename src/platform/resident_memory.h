// How much of the process is in memory, for soak runs that watch for leaks.
#pragma once

namespace ruma {

// Resident set size in kilobytes, or -1 where the system does not say.
long residentKilobytes();

} // namespace ruma
