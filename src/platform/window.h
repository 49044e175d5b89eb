// The game's one window and its client size, shared by every subsystem.
#pragma once

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>

namespace ruma {

// The only window; null until the window is created.
extern GLFWwindow* window;
// Client size in pixels, kept current by the 16:9 keeper of the frame loop.
extern int windowWidth;
extern int windowHeight;

} // namespace ruma
