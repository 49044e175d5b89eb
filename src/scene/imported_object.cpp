#include "scene/imported_object.h"

#include "platform/math_conventions.h"
#include "scene/model_import.h"
#include "scene/physics_body.h"

#include <cstdio>

namespace ruma::scene {

ImportedObject::ImportedObject(const glm::mat4& model_, Shader* shader_, const std::string& path)
    : SceneObject(model_, shader_)
{
    loadModel(*this, path);
    // Level pieces carry their light in their textures.
    transparent = false;
    unlit = true;
}

void ImportedObject::update(double) {}

btRigidBody::btRigidBodyConstructionInfo ImportedObject::genPhysics(float mass)
{
    std::printf("genphysics in imported object called\n");
    std::fflush(stdout);
    return boxBodyInfo(mass, meshes, translationOf(model));
}

} // namespace ruma::scene
