#include "scene/physics_body.h"

namespace ruma::scene {

namespace {

// Zero local inertia: contacts never make the body spin.
btRigidBody::btRigidBodyConstructionInfo bodyInfo(float mass, btCollisionShape* shape,
                                                  const btQuaternion& rotation, const glm::vec3& origin)
{
    auto* motionState = new btDefaultMotionState(
        btTransform(rotation, btVector3(origin.x, origin.y, origin.z)), btTransform::getIdentity());
    return btRigidBody::btRigidBodyConstructionInfo(mass, motionState, shape, btVector3(0, 0, 0));
}

} // namespace

btRigidBody::btRigidBodyConstructionInfo boxBodyInfo(float mass, const std::vector<MeshRecord>& meshes,
                                                     const glm::vec3& origin)
{
    btVector3 size(0, 0, 0);
    if (!meshes.empty()) {
        const MeshRecord& first = meshes.front();
        size = btVector3(first.maxX - first.minX, first.maxY - first.minY, first.maxZ - first.minZ);
    }
    return bodyInfo(mass, new btBoxShape(size), btQuaternion(0, 0, 0, 1), origin);
}

btRigidBody::btRigidBodyConstructionInfo capsuleBodyInfo(float mass, const glm::vec3& origin)
{
    return bodyInfo(mass, new btCapsuleShape(0.375f, 0.75f), btQuaternion(0, 1, 0, 1), origin);
}

} // namespace ruma::scene
