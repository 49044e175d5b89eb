#include "scene/slime.h"

#include "platform/platform.h"

#include <cmath>

namespace ruma::scene {

namespace {

const glm::vec3 kLift(0.0f, 1000.0f, 0.0f);
const glm::vec3 kYAxis(0.0f, 1.0f, 0.0f);
constexpr double kAwaySeconds = 5.0;
constexpr float kSwaySpeed = 0.8f;
constexpr double kSpinDegreesPerSecond = 60.0;

} // namespace

Slime::Slime(const glm::mat4& model_, Shader* shader_, bool moving_)
    : ImportedObject(model_, shader_, kSlimeModelFile), moving(moving_)
{
    name = "Slime";
    transparent = true;
    unlit = false;
}

void Slime::take()
{
    if (!available) return;
    translate(kLift);
    takenAt = platform().time();
    available = false;
}

glm::vec3 Slime::getTouchPoint()
{
    return glm::vec3(model[3].x, model[3].y + 1.0f, model[3].z);
}

void Slime::update(double dt)
{
    if (!available && platform().time() >= takenAt + kAwaySeconds) {
        translate(-kLift);
        available = true;
    }
    if (!moving) return;

    // A sixth of a turn a second, whatever the frame rate.
    const double turn = kSpinDegreesPerSecond * dt;
    rotate(static_cast<float>(turn), kYAxis);
    spin = static_cast<float>(std::fmod(static_cast<double>(spin) + turn, 360.0));
    // Slide along the placement's x axis, not the spun one.
    rotate(-spin, kYAxis);
    const float step = static_cast<float>(dt);
    if (!swayingBack) {
        translate(glm::vec3(step * kSwaySpeed, 0.0f, 0.0f));
        rotate(spin, kYAxis);
        swayOffset = step + swayOffset;
    } else {
        translate(glm::vec3(step * -kSwaySpeed, 0.0f, 0.0f));
        rotate(spin, kYAxis);
        swayOffset = swayOffset - step;
    }
    if (swayOffset >= 1.0f) swayingBack = true;
    if (swayOffset <= -1.0f) swayingBack = false;
}

} // namespace ruma::scene
