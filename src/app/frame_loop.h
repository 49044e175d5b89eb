// The frame loop, its timing, the 16:9 keeper and the frame-rate counters.
#pragma once

#include "app/game_rules.h"

#include <cstdint>
#include <string>

namespace ruma {

extern std::uint32_t frameCounter;   // frames since the last counter refresh
extern float fps;                    // last computed frames per second
extern std::string fpsText;          // "FPS: ..." HUD line
extern std::string frameTimeText;    // "Frametime: ...ms" HUD line

// Runs frames until the window closes or running turns false and returns how
// many ran; a running benchmark (app/bench.h) times each of them.
// afterFirstFrame, when given, runs once, right after the first frame is shown.
long runFrameLoop(void (*afterFirstFrame)() = nullptr);

// Per-frame update and composition (frame_update.cpp, frame_render.cpp). The
// update changes the game; the composition only draws the phase it is given.
void updateFrame(double dt);
void renderFrame(double dt, const RunPhase& shown = runPhase());

// Keeps the window at 16:9; width wins when both sides changed.
void keepAspect();
// Every 151st frame: refreshes the two counter texts from this frame's dt.
void updateCounters(double dt);

} // namespace ruma
