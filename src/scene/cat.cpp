#include "scene/cat.h"

#include "places/cat_route.h"
#include "platform/math_conventions.h"

#include <glm/geometric.hpp>

#include <algorithm>
#include <cmath>

namespace ruma::scene {

namespace {

constexpr float kEnlargement = 3.5f;
constexpr float kShrink = 0.2857143f;     // 1 / 3.5
constexpr float kFarDistance = 9.0f;

} // namespace

Cat::Cat(const glm::mat4& model_, Shader* shader_)
    : ImportedObject(model_, shader_, kCatModelFile)
{
    name = "Cat";
    kind = DrawableKind::Cat;
    transparent = false;
    unlit = false;
    translate(position);
    rotate(yaw, glm::vec3(0.0f, 1.0f, 0.0f));
}

Waypoint Cat::makeWaypoint(double time, float x, float y, float z)
{
    return Waypoint{time, glm::vec3(x, y, z)};
}

void Cat::start(double gameTime)
{
    started = true;
    // The first stretch runs from where the cat stands now.
    segmentStart = position;
    segmentStartTime = gameTime;
    routeClock = gameTime;
    buildRoute();
}

void Cat::buildRoute()
{
    for (const RouteStep& row : kRoute) {
        routeClock += row.step;
        route.push_back(makeWaypoint(routeClock, row.x, row.y, row.z));
    }
}

void Cat::appendClosingLoop()
{
    for (const RouteStep& row : kClosingLoop) {
        routeClock += row.step;
        route.push_back(makeWaypoint(routeClock, row.x, row.y, row.z));
    }
}

glm::vec3 Cat::followRoute(double gameTime)
{
    if (!started) return position;

    if (route.empty()) appendClosingLoop();
    lastPosition = position;
    lastDirection = direction;
    if (gameTime == segmentStartTime) return position;

    const Waypoint next = route.front();
    if (gameTime < next.time) {
        const glm::vec3 segment = next.position - segmentStart;
        const float length = glm::length(segment);
        const float f = static_cast<float>((gameTime - segmentStartTime) / (next.time - segmentStartTime));
        // Two waypoints on one spot: the cat waits there instead of dividing by zero.
        position = length > 0.0f ? segmentStart + (segment / length) * (length * f) : segmentStart;
    } else {
        // One waypoint per frame: after a long frame the cat snaps to it and goes on from there.
        route.pop_front();
        segmentStartTime = next.time;
        segmentStart = next.position;
        position = next.position;
    }

    // A move of zero length has no direction: keep the last one, so the cat
    // neither turns nor loses its heading.
    const glm::vec3 moved = position - lastPosition;
    if (glm::dot(moved, moved) > 0.0f) direction = glm::normalize(moved);
    if (direction != lastDirection) turnTowardsDirection();

    // Move along the world axes: take scale and heading off, move, put them back.
    model = glm::scale(model, 1.0f / scale);
    rotate(-yaw, glm::vec3(0.0f, 1.0f, 0.0f));
    translate(position - lastPosition);
    rotate(yaw, glm::vec3(0.0f, 1.0f, 0.0f));
    model = glm::scale(model, scale);
    return position;
}

void Cat::turnTowardsDirection()
{
    const glm::vec3 a = glm::normalize(glm::vec3(direction.x, 0.0f, direction.z));
    const glm::vec3 b = glm::normalize(glm::vec3(lastDirection.x, 0.0f, lastDirection.z));
    float angle = std::acos(std::clamp(glm::dot(b, a), -1.0f, 1.0f)) * kDegreesPerRadian;
    if (b.z * a.x - b.x * a.z < 0.0f) angle = -angle;
    // A straight climb or drop has no heading to turn to.
    if (std::isnan(angle)) return;
    rotate(angle, glm::vec3(0.0f, 1.0f, 0.0f));
    yaw += angle;
}

void Cat::adjustSize(float catDistance)
{
    float factor = 1.0f;
    if (enlarged) {
        if (catDistance <= kFarDistance) {
            factor = kShrink;
            enlarged = false;
        }
    } else if (catDistance > kFarDistance) {
        factor = kEnlargement;
        enlarged = true;
    }
    scale *= factor;
    model = glm::scale(model, glm::vec3(factor));
}

glm::mat4 boardUnderCat(const glm::mat4& catModel)
{
    glm::mat4 m = glm::translate(catModel, glm::vec3(0.0f, -0.1f, 0.0f));
    m = rotateDegrees(m, 90.0f, glm::vec3(1.0f, 0.0f, 0.0f));
    m = rotateDegrees(m, -90.0f, glm::vec3(0.0f, 0.0f, 1.0f));
    return glm::scale(m, glm::vec3(0.25f));
}

} // namespace ruma::scene
