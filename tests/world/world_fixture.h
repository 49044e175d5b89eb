// A physics world with the real player (model, capsule body, controls) on a
// flat floor, driven frame by frame through the scripted platform.
#pragma once

#include "platform/scripted_platform.h"
#include "world/controls.h"
#include "world/world.h"

#include <btBulletDynamicsCommon.h>
#include <gtest/gtest.h>

#include <vector>

namespace ruma::test {

class PlayerWorld : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A static box from (x0, y0, z0) to (x1, y1, z1).
    void addBox(float x0, float y0, float z0, float x1, float y1, float z1);
    // Steps physics and the controls for one frame of dt with keys held and mouse motion.
    void frame(std::vector<int> keys = {}, double dx = 0.0, double dy = 0.0, double dt = 1.0 / 60.0);
    void frames(int count, std::vector<int> keys = {}, double dt = 1.0 / 60.0)
    {
        for (int i = 0; i < count; ++i) frame(keys, 0.0, 0.0, dt);
    }
    // Puts the body at the position, at rest.
    void placeBody(float x, float y, float z);
    btVector3 bodyOrigin() const { return playerBody->getWorldTransform().getOrigin(); }
    btVector3 bodyVelocity() const { return playerBody->getLinearVelocity(); }

    ScriptedPlatform scripted{{}};
    PadState pad;   // the gamepad during the frames that follow
    bool skipped = false;
};

} // namespace ruma::test
