// Draw calls made and programs built since the program started; the
// benchmark reads how many one frame makes.
#pragma once

namespace ruma {

inline unsigned long drawCallCount = 0;
// Programs built during play (a light count met for the first time): such a
// frame compiles, which is the driver's warm-up rather than steady play.
inline unsigned long programBuildCount = 0;

} // namespace ruma
