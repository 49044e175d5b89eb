#include "world/controls.h"

#include "platform/math_conventions.h"
#include "platform/platform.h"
#include "scene/tovik.h"
#include "world/pad_input.h"
#include "world/physics.h"
#include "world/start_answers.h"
#include "world/world.h"

#include <cmath>

namespace ruma {

namespace {

constexpr double kBoostSeconds = 1.8;
constexpr double kJumpFlagSeconds = 1.0;
constexpr float kTurn = 6.2831853f;   // whole turn in radians
constexpr float kPadTurnPerSecond = 3.1415927f;   // the right stick at full tilt: half a turn a second
constexpr double kLongestPadTurnFrame = 0.1;      // a stalled frame does not spin the camera round

// The signed angle in degrees from b to a about the y axis, NaN when either
// has no horizontal part.
float signedYawDegrees(const glm::vec3& from, const glm::vec3& to)
{
    glm::vec3 a = glm::normalize(glm::vec3(to.x, 0.0f, to.z));
    glm::vec3 b = glm::normalize(glm::vec3(from.x, 0.0f, from.z));
    float angle = std::acos(glm::clamp(glm::dot(b, a), -1.0f, 1.0f)) * kDegreesPerRadian;
    if (glm::cross(b, a).y < 0.0f) angle = -angle;
    return angle;
}

// Whether ground lies under the feet of a body standing at this origin: a ray
// from a unit above the feet to 0.3 below them.
bool groundUnder(btCollisionWorld& world, const btVector3& origin)
{
    const float feetY = origin.y() - 0.625f;
    btVector3 from(origin.x(), feetY + 1.0f, origin.z());
    btVector3 to(origin.x(), feetY - 0.3f, origin.z());
    btCollisionWorld::ClosestRayResultCallback ray(from, to);
    world.rayTest(from, to, ray);
    return ray.hasHit();
}

// Before each physics step: the body carries gravity and, while the jump
// holds, this step's push, never what an earlier step of the frame was given.
void pushBeforeStep(btDynamicsWorld* world, btScalar)
{
    auto* controls = static_cast<Controls*>(world->getWorldUserInfo());
    if (!controls || !controls->jumpBody) return;
    btRigidBody& body = *controls->jumpBody;
    body.clearForces();
    body.applyGravity();
    if (controls->pushesNextStep())
        body.applyForce(btVector3(0.0f, controls->jumpForce, 0.0f), btVector3(0.0f, 0.0f, 0.0f));
}

void recordStepEnd(btDynamicsWorld* world, btScalar)
{
    auto* controls = static_cast<Controls*>(world->getWorldUserInfo());
    if (!controls || !controls->jumpBody) return;
    controls->earlierStepEnd = controls->lastStepEnd;
    controls->lastStepEnd = controls->jumpBody->getWorldTransform().getOrigin();
}

// The player model stands on the capsule's bottom.
void followBody(scene::SceneObject& playerObject, const btRigidBody& body)
{
    const btVector3& origin = body.getWorldTransform().getOrigin();
    playerObject.model[3][0] = origin.x();
    playerObject.model[3][1] = origin.y() - 0.625f;
    playerObject.model[3][2] = origin.z();
}

} // namespace

Controls::Controls()
    : world(dynamicsWorld)
{
    platform().getWindowSize(windowWidth, windowHeight);
    rebuildProjection();
    if (world) {
        world->setInternalTickCallback(pushBeforeStep, this, true);
        world->setInternalTickCallback(recordStepEnd, this, false);
    }
}

Controls::~Controls()
{
    if (world && world->getWorldUserInfo() == this) {
        world->setInternalTickCallback(nullptr, nullptr, true);
        world->setInternalTickCallback(nullptr, nullptr, false);
    }
}

bool Controls::pushesNextStep() const
{
    return jumpHeld && (godMode || groundUnder(*world, earlierStepEnd));
}

void Controls::watchJumpBody(btRigidBody& body)
{
    jumpBody = &body;
    lastStepEnd = earlierStepEnd = body.getWorldTransform().getOrigin();
}

void Controls::rebuildProjection()
{
    if (windowWidth <= 0 || windowHeight <= 0) return;
    freshView = true;
    projection = perspectiveDegrees(60.0f, static_cast<float>(windowWidth) / static_cast<float>(windowHeight),
                                    0.1f, 100.0f);
}

void Controls::startBoost()
{
    if (fast) return;
    speed = 10.0f;
    cameraDistance = 2.5f;
    fast = true;
    boostStartTime = platform().time();
}

void Controls::clampAngles()
{
    // The yaw is in radians: wrapping by whole turns leaves the look direction alone.
    horizontalAngle = std::fmod(horizontalAngle, kTurn);
    float low = frontView ? 0.14f : -0.6f;
    float high = frontView ? 0.6f : 0.0f;
    if (verticalAngle > high) verticalAngle = high;
    if (verticalAngle < low) verticalAngle = low;
}

void Controls::recentreCursor()
{
    platform().setCursorPos(windowWidth / 2, windowHeight / 2);
}

CameraView Controls::cameraView() const
{
    CameraView camera;
    camera.projection = projection;
    camera.view = view;
    camera.cameraPosition = cameraPosition;
    camera.lookAt = position;
    return camera;
}

glm::vec3 Controls::lookFromAngles()
{
    float h = horizontalAngle, v = verticalAngle;
    direction = glm::vec3(std::cos(v) * std::sin(h), std::sin(v), std::cos(v) * std::cos(h));
    glm::vec3 right(std::sin(h - 1.57f), 0.0f, std::cos(h - 1.57f));
    up = glm::normalize(glm::cross(right, direction));
    return right;
}

void Controls::placeCamera(const glm::vec3& feet, bool inFront)
{
    position = feet + glm::vec3(0.0f, 1.0f, 0.0f);
    const glm::vec3 offset = glm::normalize(direction) * cameraDistance;
    cameraPosition = inFront ? position + offset : position - offset;
    frontView = inFront;

    view = glm::lookAt(cameraPosition, position, up);
    const glm::mat4 previous = viewProjection;
    viewProjection = projection * view;
    previousViewProjection = freshView ? viewProjection : previous;
    inverseViewProjection = glm::inverse(viewProjection);
    freshView = false;
}

void settleCamera(Controls& c, scene::SceneObject& playerObject, btRigidBody& body)
{
    c.lookFromAngles();
    c.watchJumpBody(body);
    followBody(playerObject, body);
    c.placeCamera(translationOf(playerObject.model), false);
    // Play starts from this very view: its first frame has nothing to blur.
    c.freshView = true;
}

void updateControls(Controls& c, scene::SceneObject& playerObject, btRigidBody& body, double dt)
{
    Platform& input = platform();
    const PadState pad = input.padState();

    if (c.fast && input.time() >= c.boostStartTime + kBoostSeconds) {
        c.speed = 5.0f;
        c.cameraDistance = 2.0f;
        c.fast = false;
    }
    if (c.jumped && input.time() >= c.jumpStartTime + kJumpFlagSeconds) c.jumped = false;

    // The cursor was put at the centre of the window as it was last frame: a
    // new window size moves the centre, not the mouse.
    const int centreX = c.windowWidth / 2, centreY = c.windowHeight / 2;
    int width = 0, height = 0;
    input.getWindowSize(width, height);
    if (width != c.windowWidth || height != c.windowHeight) {
        c.windowWidth = width;
        c.windowHeight = height;
        c.rebuildProjection();
    }

    double cursorX = 0.0, cursorY = 0.0;
    input.getCursorPos(cursorX, cursorY);
    input.setCursorPos(c.windowWidth / 2, c.windowHeight / 2);

    c.mouseSpeed = c.fast ? 0.001f : 0.003f;
    c.jumpForce = c.fast ? 75.0f : 30.0f;

    c.horizontalAngle += c.mouseSpeed * static_cast<float>(static_cast<double>(centreX) - cursorX);
    c.verticalAngle += c.mouseSpeed * static_cast<float>(static_cast<double>(centreY) - cursorY);
    // The right stick turns like the mouse, and like the mouse slower while boosted.
    glm::vec2 look = stickTilt(pad.rightX, pad.rightY);
    if (look != glm::vec2(0.0f)) {
        float turn = kPadTurnPerSecond * (c.mouseSpeed / 0.003f) *
                     static_cast<float>(std::min(std::max(dt, 0.0), kLongestPadTurnFrame));
        c.horizontalAngle -= look.x * turn;
        c.verticalAngle -= look.y * turn;
    }
    c.clampAngles();

    glm::vec3 oldDirection = c.direction;
    const glm::vec3 right = c.lookFromAngles();

    float vx = 0.0f, vz = 0.0f;
    bool moved = false;
    if (input.isKeyPressed(GLFW_KEY_A)) {
        vx -= 0.8f * c.speed * right.x;
        vz -= 0.8f * c.speed * right.z;
        moved = true;
    }
    if (input.isKeyPressed(GLFW_KEY_D)) {
        vx += 0.8f * c.speed * right.x;
        vz += 0.8f * c.speed * right.z;
        moved = true;
    }
    if (input.isKeyPressed(GLFW_KEY_W)) {
        vx += c.speed * c.direction.x;
        vz += c.speed * c.direction.z;
        moved = true;
    }
    if (input.isKeyPressed(GLFW_KEY_S)) {
        vx -= 0.6f * c.speed * c.direction.x;
        vz -= 0.6f * c.speed * c.direction.z;
        moved = true;
    }
    // The left stick walks and strafes like the keys, in proportion to its tilt;
    // pulled back it walks back at the slower speed of S.
    glm::vec2 walk = stickTilt(pad.leftX, pad.leftY);
    if (walk != glm::vec2(0.0f)) {
        float forward = walk.y > 0.0f ? -0.6f * walk.y : -walk.y;
        float side = 0.8f * walk.x;
        vx += side * c.speed * right.x;
        vz += side * c.speed * right.z;
        vx += forward * c.speed * c.direction.x;
        vz += forward * c.speed * c.direction.z;
        moved = true;
    }
    if (moved) c.startedMoving = true;

    if (godMode) {
        if (!c.boostKeyHeld && keyOrPadHeld(GLFW_KEY_LEFT_SHIFT)) {
            c.startBoost();
            c.boostKeyHeld = true;
        }
        if (!keyOrPadHeld(GLFW_KEY_LEFT_SHIFT)) c.boostKeyHeld = false;
    }

    // The physics steps push (pushBeforeStep); here the jump is only held, and
    // it counts as a jump once the next step will push.
    if (c.jumpBody != &body) c.watchJumpBody(body);
    c.jumpHeld = keyOrPadHeld(GLFW_KEY_SPACE);
    if (c.pushesNextStep()) {
        c.jumped = true;
        c.jumpStartTime = input.time();
    }

    btVector3 velocity = body.getLinearVelocity();
    body.setLinearVelocity(btVector3(vx, velocity.y(), vz));
    followBody(playerObject, body);

    if (c.direction != oldDirection) {
        float angle = signedYawDegrees(oldDirection, c.direction);
        if (!std::isnan(angle)) playerObject.rotate(angle, glm::vec3(0.0f, 1.0f, 0.0f));
    }

    c.placeCamera(translationOf(playerObject.model), input.isKeyPressed(GLFW_KEY_C));
}

void updateControls(double dt)
{
    updateControls(*controls, *player, *playerBody, dt);
}

} // namespace ruma
