#include "scene/cat.h"

#include "platform/math_conventions.h"

#include <glm/geometric.hpp>

#include <algorithm>
#include <cmath>

namespace ruma::scene {

namespace {

struct RouteStep {
    double step;   // seconds after the waypoint before
    float x, y, z;
};

// Through all four sections, ending on the last platform.
constexpr RouteStep kRoute[] = {
    {0.1, 2.0f, -0.95f, -10.0f},     {4.5, 2.0f, -0.95f, -6.0f},      {6.5, 2.0f, -0.95f, 25.0f},
    {4.0, 49.0f, -0.95f, 25.0f},     {2.0, 54.0f, 3.95f, 25.0f},      {3.0, 72.0f, 3.95f, 25.0f},
    {3.0, 77.3f, 3.95f, 19.9f},      {2.0, 73.0f, 3.95f, 1.7f},       {3.0, 82.7f, 3.95f, -18.5f},
    {2.0, 94.0f, 3.95f, -16.8f},     {3.0, 90.4f, 3.95f, 4.3f},       {2.0, 97.3f, 3.95f, 15.0f},
    {3.0, 93.3f, 3.95f, 24.7f},      {3.0, 117.5f, 3.95f, 25.2f},     {1.0, 117.8f, 3.95f, 15.2f},
    {0.5, 115.0f, 3.95f, 15.0f},     {2.0, 105.3f, 13.95f, 15.0f},    {4.0, 71.0f, 13.95f, 14.8f},
    {6.5, 71.9f, 13.95f, 58.9f},     {2.0, 62.9f, 13.95f, 59.0f},     {4.5, 63.3f, 13.95f, 15.0f},
    {2.0, 54.9f, 13.95f, 15.1f},     {5.5, 54.3f, 13.95f, 59.82f},    {2.0, 47.1f, 14.03f, 60.24f},
    {5.5, 47.5f, 13.95f, 14.6f},     {6.0, 15.3f, 13.95f, 15.6f},     {3.0, 9.9f, 18.95f, 15.2f},
    {5.5, -24.7f, 18.95f, 15.5f},    {5.5, -32.1f, 18.95f, 49.6f},    {5.0, -54.1f, 18.95f, 47.6f},
    {6.0, -51.3f, 18.95f, 15.71f},   {3.0, -40.7f, 18.95f, 24.1f},    {2.0, -40.1f, 18.95f, 32.51f},
    {3.0, -46.3f, 18.95f, 33.32f},   {2.0, -46.3f, 18.95f, 24.4f},
};

// Circled for as long as the game goes on once the route is done.
constexpr RouteStep kClosingLoop[] = {
    {3.0, -40.7f, 19.8f, 24.1f},
    {2.0, -40.1f, 19.8f, 32.51f},
    {3.0, -46.3f, 19.8f, 33.32f},
    {2.0, -46.3f, 19.8f, 24.4f},
};

constexpr float kEnlargement = 3.5f;
constexpr float kShrink = 0.2857143f;     // 1 / 3.5
constexpr float kFarDistance = 9.0f;

} // namespace

Cat::Cat(const glm::mat4& model_, Shader* shader_)
    : ImportedObject(model_, shader_, "Resources/Models/cat.obj")
{
    name = "Cat";
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

} // namespace ruma::scene
