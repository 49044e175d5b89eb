// What start-up and shutdown call in the rest of the game.
#pragma once

// initPhysics and loadGameObjects come from the world (world/physics.h, world/world.h).

namespace ruma {

// Releases everything start-up made, in a fixed order, then terminates GLFW.
void shutdown();
// The same without terminating GLFW (the window and context stay).
void releaseGame();

} // namespace ruma
