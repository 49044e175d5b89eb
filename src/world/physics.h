// The physics world: gravity, the player's capsule and the course's boxes.
#pragma once

#include <btBulletDynamicsCommon.h>

#include <vector>

namespace ruma {

extern btDbvtBroadphase* broadphase;
extern btDefaultCollisionConfiguration* collisionConfiguration;
extern btCollisionDispatcher* dispatcher;
extern btSequentialImpulseConstraintSolver* solver;
extern btDiscreteDynamicsWorld* dynamicsWorld;

// Creates the five physics objects; gravity (0, -10, 0).
void initPhysics();
// Advances the world by dt in fixed 1/60 s steps, at most ten of them.
void stepPhysics(double dt);

// A body added to the world together with the shape and motion state it was
// made from, so that all three can be freed at the end.
struct OwnedBody {
    btRigidBody* body = nullptr;
    btCollisionShape* shape = nullptr;
    btMotionState* motionState = nullptr;
};
// Every body of the world, in the order they were added.
extern std::vector<OwnedBody> ownedBodies;

// Adds a body made from info to the world and remembers it for release.
btRigidBody* addOwnedBody(const btRigidBody::btRigidBodyConstructionInfo& info);
// Removes and frees every owned body, then the five physics objects.
void releasePhysics();

} // namespace ruma
