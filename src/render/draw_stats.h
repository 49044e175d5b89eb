// Draw calls made since the program started; the benchmark reads how many one
// frame makes.
#pragma once

namespace ruma {

inline unsigned long drawCallCount = 0;

} // namespace ruma
