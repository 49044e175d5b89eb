#include "platform/window.h"

namespace ruma {

GLFWwindow* window = nullptr;
int windowWidth = 1280;
int windowHeight = 720;

} // namespace ruma
