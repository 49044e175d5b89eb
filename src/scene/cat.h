// The chasing cat. It does not steer towards the player: once started it runs a
// fixed route of timed waypoints through the four sections, then circles a
// closing loop for as long as the game goes on, facing its way. While the
// player is far away it is drawn 3.5 times larger.
#pragma once

#include "places/start_places.h"
#include "scene/imported_object.h"

#include <deque>

namespace ruma::scene {

constexpr const char* kCatModelFile = "Resources/Models/cat.obj";

struct Waypoint {
    double time = 0.0;          // game time at which the cat stands here
    glm::vec3 position = glm::vec3(0.0f);
};

class Cat : public ImportedObject {
public:
    std::deque<Waypoint> route;                 // waypoints still ahead, earliest first
    double segmentStartTime = 0.0;              // the waypoint reached last...
    glm::vec3 segmentStart = glm::vec3(0.0f);   // ...and where it is
    glm::vec3 position = kCatStart;
    glm::vec3 lastPosition = glm::vec3(0.0f);   // where this frame's move began
    glm::vec3 direction = glm::vec3(0.0f, 0.0f, 1.0f);   // of the last real move
    glm::vec3 lastDirection = glm::vec3(0.0f);
    float yaw = 0.0f;                           // degrees turned about y so far
    glm::vec3 scale = glm::vec3(1.0f);
    bool enlarged = false;
    double routeClock = 0.0;                    // time of the last waypoint appended
    bool started = false;

    // Stands at kCatStart facing +z until started.
    Cat(const glm::mat4& model, Shader* shader);

    // Moves the cat to where its route puts it at gameTime and returns that
    // position; before start the cat stays where it is.
    virtual glm::vec3 followRoute(double gameTime);
    // The cat grows while the player is 10 or more away, and shrinks back when closer.
    virtual void adjustSize(float catDistance);
    virtual void start(double gameTime);
    // Appends the whole route after routeClock.
    virtual void buildRoute();
    virtual Waypoint makeWaypoint(double time, float x, float y, float z);

private:
    void appendClosingLoop();
    void turnTowardsDirection();
};

// The skateboard's model matrix while it rides under a cat with this model matrix.
glm::mat4 boardUnderCat(const glm::mat4& catModel);

} // namespace ruma::scene
