// Draw calls made and programs built since the program started; the
// benchmark reads how many one frame makes.
#pragma once

namespace ruma {

inline unsigned long drawCallCount = 0;
// Programs built: all of them while the game loads, none in play.
inline unsigned long programBuildCount = 0;
// Draws made only for the driver to finish a program for its state (the
// controls screen's frames make them, before play).
inline unsigned long warmUpDrawCount = 0;

} // namespace ruma
