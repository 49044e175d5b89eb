#include "world/world_fixture.h"

#include "render/shader.h"
#include "scene/tovik.h"
#include "support/gl_context.h"
#include "world/physics.h"
#include "world/start_answers.h"
#include "world/world.h"

namespace ruma::test {

void PlayerWorld::SetUp()
{
    skipped = true;
    TOVIK3D_REQUIRE_GL();
    skipped = false;
    setPlatform(&scripted);
    godMode = false;
    initPhysics();
    createPlayer(new Shader("Resources/Shader/basic.vert", "Resources/Shader/toon.frag"));
    controls = new Controls();
    controls->recentreCursor();
}

void PlayerWorld::TearDown()
{
    if (skipped) return;
    delete controls;
    controls = nullptr;
    Shader* shader = player->getShader();
    delete player;
    deleteShader(shader);
    player = nullptr;
    playerBody = nullptr;
    releasePhysics();
    setPlatform(nullptr);
}

void PlayerWorld::addBox(float x0, float y0, float z0, float x1, float y1, float z1)
{
    auto* shape = new btBoxShape(btVector3((x1 - x0) / 2, (y1 - y0) / 2, (z1 - z0) / 2));
    auto* motion = new btDefaultMotionState(
        btTransform(btQuaternion(0, 0, 0, 1), btVector3((x0 + x1) / 2, (y0 + y1) / 2, (z0 + z1) / 2)));
    addOwnedBody(btRigidBody::btRigidBodyConstructionInfo(0.0f, motion, shape, btVector3(0, 0, 0)));
}

void PlayerWorld::frame(std::vector<int> keys, double dx, double dy, double dt)
{
    FrameInput input;
    input.keys = std::move(keys);
    input.cursorDx = dx;
    input.cursorDy = dy;
    input.dt = dt;
    input.pad = pad;
    scripted.appendFrames({input});
    scripted.pollEvents();
    stepPhysics(dt);
    updateControls(*controls, *player, *playerBody, dt);
}

void PlayerWorld::placeBody(float x, float y, float z)
{
    btTransform transform = playerBody->getWorldTransform();
    transform.setOrigin(btVector3(x, y, z));
    playerBody->setWorldTransform(transform);
    playerBody->getMotionState()->setWorldTransform(transform);
    playerBody->setLinearVelocity(btVector3(0, 0, 0));
}

} // namespace ruma::test
