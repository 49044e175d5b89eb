// Rigid bodies that scene objects describe for themselves. The shape and the
// motion state are new on every call and belong to the caller.
#pragma once

#include "render/mesh_record.h"

#include <btBulletDynamicsCommon.h>
#include <glm/vec3.hpp>

#include <vector>

namespace ruma::scene {

// A box whose half extents are the first mesh's full size per axis, unturned,
// at origin. Without a mesh the box has zero size.
btRigidBody::btRigidBodyConstructionInfo boxBodyInfo(float mass, const std::vector<MeshRecord>& meshes,
                                                     const glm::vec3& origin);

// The player's capsule (radius 0.375, height 0.75), a quarter turn about y, at origin.
btRigidBody::btRigidBodyConstructionInfo capsuleBodyInfo(float mass, const glm::vec3& origin);

} // namespace ruma::scene
