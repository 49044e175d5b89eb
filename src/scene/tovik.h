// The player character's scene object. The controls move its body and copy the
// body's position into its model matrix; it does nothing on its own.
#pragma once

#include "scene/imported_object.h"

namespace ruma::scene {

constexpr const char* kTovikModelFile = "Resources/Models/tovk.obj";

class Tovik : public ImportedObject {
public:
    Tovik(const glm::mat4& model, Shader* shader);

    // A capsule standing upright, quarter-turned about y, at the player's position.
    btRigidBody::btRigidBodyConstructionInfo genPhysics(float mass) override;
};

} // namespace ruma::scene
