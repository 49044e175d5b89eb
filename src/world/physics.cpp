#include "world/physics.h"

namespace ruma {

btDbvtBroadphase* broadphase = nullptr;
btDefaultCollisionConfiguration* collisionConfiguration = nullptr;
btCollisionDispatcher* dispatcher = nullptr;
btSequentialImpulseConstraintSolver* solver = nullptr;
btDiscreteDynamicsWorld* dynamicsWorld = nullptr;
std::vector<OwnedBody> ownedBodies;

void initPhysics()
{
    broadphase = new btDbvtBroadphase();
    collisionConfiguration = new btDefaultCollisionConfiguration();
    dispatcher = new btCollisionDispatcher(collisionConfiguration);
    solver = new btSequentialImpulseConstraintSolver();
    dynamicsWorld = new btDiscreteDynamicsWorld(dispatcher, broadphase, solver, collisionConfiguration);
    dynamicsWorld->setGravity(btVector3(0, -10, 0));
}

void stepPhysics(double dt)
{
    dynamicsWorld->stepSimulation(static_cast<float>(dt), 10, 1.0f / 60.0f);
}

btRigidBody* addOwnedBody(const btRigidBody::btRigidBodyConstructionInfo& info)
{
    auto* body = new btRigidBody(info);
    ownedBodies.push_back({body, info.m_collisionShape, info.m_motionState});
    dynamicsWorld->addRigidBody(body);
    return body;
}

void releasePhysics()
{
    for (auto it = ownedBodies.rbegin(); it != ownedBodies.rend(); ++it) {
        if (dynamicsWorld) dynamicsWorld->removeRigidBody(it->body);
        delete it->body;
        delete it->motionState;
        delete it->shape;
    }
    ownedBodies.clear();
    delete dynamicsWorld;
    dynamicsWorld = nullptr;
    delete solver;
    solver = nullptr;
    delete collisionConfiguration;
    collisionConfiguration = nullptr;
    delete dispatcher;
    dispatcher = nullptr;
    delete broadphase;
    broadphase = nullptr;
}

} // namespace ruma
