// A scene object drawn from a static model file: the level sections, and the
// base of the player, the cat and the slimes.
#pragma once

#include "scene/scene_object.h"

#include <string>

namespace ruma::scene {

class ImportedObject : public SceneObject {
public:
    std::string name = "Imported Object";

    // Loads path (relative to the working directory). A file that cannot be
    // read leaves an object without meshes, which draws nothing.
    ImportedObject(const glm::mat4& model, Shader* shader, const std::string& path);

    void update(double dt) override;
    std::string getName() override { return name; }
    void setName(std::string newName) override { name = std::move(newName); }
    // A box as large as the first mesh, at the object's position.
    btRigidBody::btRigidBodyConstructionInfo genPhysics(float mass) override;
};

} // namespace ruma::scene
