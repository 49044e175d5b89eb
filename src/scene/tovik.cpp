#include "scene/tovik.h"

#include "platform/math_conventions.h"
#include "scene/physics_body.h"

#include <cstdio>

namespace ruma::scene {

Tovik::Tovik(const glm::mat4& model_, Shader* shader_)
    : ImportedObject(model_, shader_, kTovikModelFile)
{
    name = "Tovik";
    kind = DrawableKind::Player;
    transparent = true;
    unlit = false;
}

btRigidBody::btRigidBodyConstructionInfo Tovik::genPhysics(float mass)
{
    std::printf("genphysics in tovik called\n");
    std::fflush(stdout);
    return capsuleBodyInfo(mass, translationOf(model));
}

} // namespace ruma::scene
