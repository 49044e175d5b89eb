#include "world/pad_input.h"

#include "platform/platform.h"

#include <cmath>

namespace ruma {

namespace {

constexpr float kDeadZone = 0.15f;

} // namespace

bool keyOrPadHeld(int key)
{
    if (platform().isKeyPressed(key)) return true;
    PadState pad = platform().padState();
    switch (key) {
    case GLFW_KEY_SPACE: return pad.held(kPadA);
    case GLFW_KEY_LEFT_SHIFT: return pad.held(kPadRightTrigger);
    case GLFW_KEY_F1: return pad.held(kPadStart);
    case GLFW_KEY_ESCAPE: return pad.held(kPadBack);
    default: return false;
    }
}

glm::vec2 stickTilt(float x, float y)
{
    float lean = std::hypot(x, y);
    if (lean < kDeadZone) return glm::vec2(0.0f);
    // Full tilt is exactly 1, so a stick pushed all the way is exactly the key.
    float amount = lean >= 1.0f ? 1.0f : (lean - kDeadZone) / (1.0f - kDeadZone);
    return glm::vec2(x / lean, y / lean) * amount;
}

} // namespace ruma
