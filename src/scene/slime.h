// A pick-up lying on the course. Touched, it vanishes for five seconds (lifted
// far out of sight and reach) and the player gets a speed boost; then it is
// back in its place. Moving slimes sway to and fro while they spin.
#pragma once

#include "scene/imported_object.h"

namespace ruma::scene {

constexpr const char* kSlimeModelFile = "Resources/Models/slime.obj";

class Slime : public ImportedObject {
public:
    float swayOffset = 0.0f;      // seconds of sway, between -1 and 1
    bool swayingBack = false;     // true while moving towards -x
    double takenAt = 0.0;         // platform clock when last taken
    bool available = true;        // in place and can be taken
    float spin = 0.0f;            // degrees about its own y, in [0, 360)
    bool moving = false;

    Slime(const glm::mat4& model, Shader* shader, bool moving);

    // Returns the slime five seconds after it was taken; sways and spins.
    void update(double dt) override;
    // Vanishes, when it is in place.
    virtual void take();
    // The point the player has to come near: one unit above the slime.
    virtual glm::vec3 getTouchPoint();
};

} // namespace ruma::scene
