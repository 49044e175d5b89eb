// The controls against a real Bullet world and the real player object.
#include "platform/math_conventions.h"
#include "scene/tovik.h"
#include "world/physics.h"
#include "world/start_answers.h"
#include "world/world.h"
#include "world/world_fixture.h"

#include <cmath>

namespace ruma::test {
namespace {

class ControlsTest : public PlayerWorld {
protected:
    void SetUp() override
    {
        PlayerWorld::SetUp();
        if (skipped) return;
        addBox(-50, -2.2f, -50, 50, -1.2f, 50);   // a floor whose top is at -1.2
    }
    void update() { updateControls(*controls, *player, *playerBody, 1.0 / 60.0); }

    // A jump in place from rest, Space held for a quarter second at frame step
    // dt: how high the body rises. Between frames the flight is ballistic, so
    // the top of the arc is read from height and upward speed.
    float jumpApex(bool boosted, double dt)
    {
        placeBody(0.0f, -0.45f, 0.0f);
        frames(60);
        controls->fast = false;
        if (boosted) controls->startBoost();
        const float rest = bodyOrigin().y();
        float highest = rest;
        for (double t = 0.0; t < 1.6; t += dt) {
            frame(t < 0.25 ? std::vector<int>{GLFW_KEY_SPACE} : std::vector<int>{}, 0.0, 0.0, dt);
            const float up = std::max(bodyVelocity().y(), 0.0f);
            highest = std::max(highest, bodyOrigin().y() + up * up / 20.0f);
        }
        return highest - rest;
    }
};

TEST_F(ControlsTest, KeysMoveThePlayerRelativeToWhereItFacesAndKeepTheFall)
{
    playerBody->setLinearVelocity(btVector3(3, -2, 4));
    update();   // no key: the body stops at once but keeps falling
    EXPECT_EQ(bodyVelocity(), btVector3(0, -2, 0));
    EXPECT_FALSE(controls->hasStartedMoving());

    // Facing (sin h, cos h) on the ground, the player's right hand is (-cos h, sin h).
    struct Case {
        std::vector<int> keys;
        float forward, right;   // units a second at the normal speed
    };
    const Case cases[] = {{{GLFW_KEY_W}, 5, 0},  {{GLFW_KEY_S}, -3, 0}, {{GLFW_KEY_A}, 0, -4},
                          {{GLFW_KEY_D}, 0, 4},  {{GLFW_KEY_W, GLFW_KEY_D}, 5, 4}, {{GLFW_KEY_A, GLFW_KEY_D}, 0, 0}};
    for (float h : {0.0f, 1.0f, -2.5f})
        for (bool boosted : {false, true})
            for (const Case& c : cases) {
                controls->fast = false;
                controls->speed = 5.0f;
                if (boosted) controls->startBoost();
                controls->horizontalAngle = h;
                controls->verticalAngle = 0.0f;
                frame(c.keys);
                const float scale = boosted ? 2.0f : 1.0f;
                const glm::vec2 forward(std::sin(h), std::cos(h)), right(-std::cos(h), std::sin(h));
                const glm::vec2 expected = scale * (c.forward * forward + c.right * right);
                EXPECT_NEAR(bodyVelocity().x(), expected.x, 0.01f) << h << " " << c.keys[0] << " " << boosted;
                EXPECT_NEAR(bodyVelocity().z(), expected.y, 0.01f) << h << " " << c.keys[0] << " " << boosted;
            }
    EXPECT_TRUE(controls->hasStartedMoving());
}

TEST_F(ControlsTest, ABoostLastsOnePointEightSecondsAndIsNeverExtended)
{
    scripted.setTime(10.0);
    controls->startBoost();
    EXPECT_TRUE(controls->isFast());
    EXPECT_FLOAT_EQ(controls->speed, 10.0f);
    scripted.setTime(11.0);
    controls->startBoost();   // a second slime while boosted is wasted
    scripted.setTime(10.0 + 1.79);
    update();
    EXPECT_TRUE(controls->isFast());
    scripted.setTime(10.0 + 1.8);   // the boost ends at the first update 1.8 s after it began
    update();
    EXPECT_FALSE(controls->isFast());
    EXPECT_FLOAT_EQ(controls->speed, 5.0f);
    EXPECT_FLOAT_EQ(controls->cameraDistance, 2.0f);

    // In god mode Shift starts one boost per press.
    godMode = true;
    frame({GLFW_KEY_LEFT_SHIFT});
    ASSERT_TRUE(controls->isFast());
    const double started = controls->boostStartTime;
    frames(5, {GLFW_KEY_LEFT_SHIFT});
    frame();
    frame({GLFW_KEY_LEFT_SHIFT});
    EXPECT_DOUBLE_EQ(controls->boostStartTime, started);
}

TEST_F(ControlsTest, JumpingNeedsGroundUnderTheFeetExceptInGodMode)
{
    frames(120);
    const float rest = bodyOrigin().y();
    EXPECT_NEAR(rest, -1.2f + 0.75f, 0.02f);

    // The upward force acts while Space is held and the ground ray still
    // reaches the floor; once the body is up, holding Space does nothing.
    float highest = rest;
    double lastHeldAt = 0.0;
    for (int i = 0; i < 50; ++i) {
        frame(i < 20 ? std::vector<int>{GLFW_KEY_SPACE} : std::vector<int>{});
        if (i < 20) lastHeldAt = scripted.time();
        highest = std::max(highest, bodyOrigin().y());
    }
    EXPECT_GT(highest, rest + 0.4f);
    EXPECT_LT(highest, rest + 1.2f);
    const double lastJump = controls->jumpStartTime;
    EXPECT_LT(lastJump, lastHeldAt - 0.05);
    // The jump flag stays up for one second after the last push.
    scripted.setTime(lastJump + 0.99);
    update();
    EXPECT_TRUE(controls->hasJumped());
    scripted.setTime(lastJump + 1.0);
    update();
    EXPECT_FALSE(controls->hasJumped());

    placeBody(0, 10, 0);   // in the air (the model follows in the next frame)
    frame();
    frames(5, {GLFW_KEY_SPACE});
    EXPECT_FALSE(controls->hasJumped());
    EXPECT_LT(bodyVelocity().y(), 0.0f);
    godMode = true;
    placeBody(0, 20, 0);
    frames(30, {GLFW_KEY_SPACE});
    EXPECT_TRUE(controls->hasJumped());
    EXPECT_GT(bodyOrigin().y(), 20.0f);
}

// The jump is the same at every frame rate: as high as with one physics step a
// frame (0.70 units, 1.74 boosted: a boosted jump never clears a 3-unit wall),
// within 2%, from 15 to 240 frames a second.
TEST_F(ControlsTest, AJumpRisesAsHighAtEveryFrameRate)
{
    for (bool boosted : {false, true}) {
        const float atSixty = jumpApex(boosted, 1.0 / 60.0);
        EXPECT_NEAR(atSixty, boosted ? 1.738f : 0.700f, 0.002f) << (boosted ? "boosted" : "normal");
        for (double fps : {15.0, 30.0, 144.0, 240.0})
            EXPECT_NEAR(jumpApex(boosted, 1.0 / fps), atSixty, 0.02f * atSixty)
                << (boosted ? "boosted at " : "normal at ") << fps << " fps";
    }
}

TEST_F(ControlsTest, TheGamepadWalksTurnsAndJumpsLikeTheKeysAndMouse)
{
    frames(60);   // standing on the floor
    controls->horizontalAngle = 0.4f;
    pad = {0.1f, -0.1f, 0.1f, 0.05f, 0};   // a resting stick drifts inside the dead zone
    frames(10);
    EXPECT_EQ(bodyVelocity().x(), 0.0f);
    EXPECT_EQ(bodyVelocity().z(), 0.0f);
    EXPECT_FLOAT_EQ(controls->horizontalAngle, 0.4f);
    EXPECT_FALSE(controls->hasStartedMoving());

    // Full tilt is the key; a partial tilt counts from the dead zone's edge.
    struct Case {
        PadState stick;
        int key;
        float share;
    };
    for (Case c : {Case{{0, -1}, GLFW_KEY_W, 1}, Case{{0, 1}, GLFW_KEY_S, 1}, Case{{-1, 0}, GLFW_KEY_A, 1},
                   Case{{1, 0}, GLFW_KEY_D, 1}, Case{{0, -0.575f}, GLFW_KEY_W, 0.5f}}) {
        const btVector3 start = bodyOrigin();
        placeBody(start.x(), start.y(), start.z());
        pad = {};
        frames(20, {c.key});
        const btVector3 keyVelocity = bodyVelocity();
        placeBody(start.x(), start.y(), start.z());
        pad = c.stick;
        frames(20);
        EXPECT_NEAR(bodyVelocity().x(), c.share * keyVelocity.x(), 1e-4) << c.key;
        EXPECT_NEAR(bodyVelocity().z(), c.share * keyVelocity.z(), 1e-4) << c.key;
    }
    EXPECT_TRUE(controls->hasStartedMoving());

    // The right stick turns half a turn a second leftwards-positive like the
    // mouse, a third of that while boosted.
    pad = {0, 0, 1, 0};
    frames(30);
    EXPECT_NEAR(controls->horizontalAngle, 0.4f - 3.14159265f / 2, 1e-4);
    controls->startBoost();
    frames(30);
    EXPECT_NEAR(controls->horizontalAngle, 0.4f - 3.14159265f * 2 / 3, 1e-4);

    // A jumps with the ground ray, like Space.
    pad = {0, 0, 0, 0, kPadA};
    frame();
    EXPECT_TRUE(controls->hasJumped());
    placeBody(0, 10, 0);
    scripted.setTime(scripted.time() + 2.0);
    pad = {};
    frame();
    pad = {0, 0, 0, 0, kPadA};
    frames(5);
    EXPECT_FALSE(controls->hasJumped());
}

TEST_F(ControlsTest, ThePitchStaysBelowTheHorizonBehindAndAboveItInFront)
{
    frame({}, 0, -1000);   // the mouse far up
    EXPECT_FLOAT_EQ(controls->verticalAngle, 0.0f);
    frame({}, 0, 1000);    // far down
    EXPECT_FLOAT_EQ(controls->verticalAngle, -0.6f);

    // The first frame with C still clamps to the old range; then the front range holds.
    frame({GLFW_KEY_C}, 0, -1000);
    EXPECT_FLOAT_EQ(controls->verticalAngle, 0.0f);
    frame({GLFW_KEY_C});
    EXPECT_FLOAT_EQ(controls->verticalAngle, 0.14f);
    frame({GLFW_KEY_C}, 0, -1000);
    EXPECT_FLOAT_EQ(controls->verticalAngle, 0.6f);
    // In front of the player the camera looks back at it.
    EXPECT_GT(glm::dot(controls->cameraPosition - controls->position, controls->direction), 0.0f);
}

TEST_F(ControlsTest, TheModelFollowsTheBodyAndTurnsWithTheCamera)
{
    frames(20, {GLFW_KEY_W});
    const btVector3 origin = bodyOrigin();
    const glm::vec3 translation = translationOf(player->model);
    EXPECT_EQ(translation, glm::vec3(origin.x(), origin.y() - 0.625f, origin.z()));
    EXPECT_EQ(controls->position, translation + glm::vec3(0, 1, 0));

    frame({}, -100, 0);   // turn left by 0.3 rad
    const float h = controls->horizontalAngle;
    EXPECT_NEAR(h, 0.3f, 1e-5);
    // The model's forward axis (+x in model space) points where the camera looks.
    const glm::vec3 forward = glm::normalize(glm::vec3(player->model[0]));
    EXPECT_LT(glm::distance(forward, glm::vec3(std::sin(h), 0, std::cos(h))), 1e-4f);
    EXPECT_NEAR(glm::distance(controls->cameraPosition, controls->position), 2.0f, 1e-5);

    // The yaw is in radians and wraps by whole turns: 9 radians more keeps the look direction.
    frame({}, -3000, 0);
    EXPECT_LT(std::fabs(controls->horizontalAngle), 6.2832f);
    EXPECT_NEAR(controls->direction.x, std::sin(h + 9.0f), 1e-3);
    EXPECT_NEAR(controls->direction.z, std::cos(h + 9.0f), 1e-3);
}

TEST_F(ControlsTest, ANewWindowSizeKeepsTheViewAndAMinimisedWindowTheLastProjection)
{
    // Resizing moves the window's centre, where the cursor was put: not a turn.
    frame({}, -100, 50);
    const float yaw = controls->horizontalAngle, pitch = controls->verticalAngle;
    scripted.setWindowSize(960, 540);
    frame();
    EXPECT_EQ(controls->horizontalAngle, yaw);
    EXPECT_EQ(controls->verticalAngle, pitch);
    scripted.setWindowSize(1280, 720);
    frame({}, -100, 0);   // and the mouse still turns
    EXPECT_NEAR(controls->horizontalAngle, yaw + 0.3f, 1e-5);

    const glm::mat4 before = controls->projection;
    scripted.setWindowSize(1280, 0);
    frame();
    EXPECT_EQ(controls->projection, before);
    EXPECT_FALSE(std::isinf(controls->inverseViewProjection[0][0]));
    scripted.setWindowSize(1000, 1000);
    frame();
    EXPECT_NE(controls->projection[0][0], before[0][0]);
}

TEST_F(ControlsTest, AnAirbornePlayerWalkingIntoAWallSlidesDown)
{
    addBox(5, -1.2f, -10, 6, 20, 10);
    controls->horizontalAngle = 1.5707964f;   // looking along +x, at the wall
    placeBody(4.0f, 8.0f, 0.0f);
    frames(90, {GLFW_KEY_W});
    EXPECT_LT(bodyOrigin().y(), 1.0f);   // it fell, instead of hanging on the wall
    EXPECT_LT(bodyOrigin().x(), 5.0f - 0.3f);
}

} // namespace
} // namespace ruma::test
