// The picture that window managers and taskbars show for the game's window.
#pragma once

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>

namespace ruma {

constexpr const char* kWindowIconFile = "Resources/Images/icon.png";

// Sets kWindowIconFile as the window's icon. A missing or damaged icon leaves
// the window manager's own; the resource check names the damaged file.
void setWindowIcon(GLFWwindow* window);

} // namespace ruma
