// The player's controls and the third-person camera: keys and mouse set the
// player body's velocity, jump, turn the player model, and place the camera.
#pragma once

#include "places/start_places.h"
#include "render/camera_view.h"

#include <btBulletDynamicsCommon.h>
#include <glm/glm.hpp>

namespace ruma {

namespace scene {
class SceneObject;
}

class Controls {
public:
    // Reads the window size (through the platform), the physics world and god mode.
    Controls();
    // Lets go of the physics world's step hooks.
    virtual ~Controls();

    virtual void startBoost();
    virtual bool isFast() { return fast; }
    virtual bool hasJumped() { return jumped; }
    virtual bool hasStartedMoving() { return startedMoving; }

    // Wraps the yaw by whole turns and clamps the pitch to the current view's range.
    void clampAngles();
    // Puts the cursor at the window centre, so the next frame sees no motion.
    void recentreCursor();
    // The camera as the renderer needs it.
    CameraView cameraView() const;
    // Sets direction and up from the yaw and pitch; returns the right vector.
    glm::vec3 lookFromAngles();
    // Puts the camera cameraDistance behind the player standing at feet (in
    // front of it while inFront) and rebuilds the view matrices.
    void placeCamera(const glm::vec3& feet, bool inFront);

    glm::vec3 position = kPlayerStart;   // the point looked at: the player raised by 1
    glm::vec3 cameraPosition = glm::vec3(0.0f);
    glm::vec3 direction = glm::vec3(0.0f, 0.0f, 1.0f);
    glm::vec3 up = glm::vec3(0.0f);
    glm::mat4 projection = glm::mat4(1.0f);
    glm::mat4 view = glm::mat4(1.0f);
    glm::mat4 viewProjection = glm::mat4(1.0f);
    glm::mat4 previousViewProjection = glm::mat4(1.0f);
    glm::mat4 inverseViewProjection = glm::mat4(1.0f);
    btDiscreteDynamicsWorld* world = nullptr;
    int windowWidth = 0;    // last seen client size
    int windowHeight = 0;
    float horizontalAngle = 0.0f;   // yaw, radians
    float verticalAngle = 0.0f;     // pitch, radians
    float speed = 5.0f;
    float mouseSpeed = 0.003f;
    float cameraDistance = 2.0f;
    bool jumped = false;
    bool frontView = false;
    bool fast = false;
    bool boostKeyHeld = false;
    double boostStartTime = 0.0;
    double jumpStartTime = 0.0;
    bool startedMoving = false;
    float jumpForce = 30.0f;
    // No earlier view worth blurring from (none yet, or a new projection):
    // the next frame is drawn without motion blur.
    bool freshView = true;

    // The jump pushes inside the physics, once per 1/60 s step, so that it is
    // the same jump at every frame rate: each step is pushed while Space is
    // held and the ground was under the feet one step before, exactly as when
    // every frame holds one step.
    btRigidBody* jumpBody = nullptr;   // the body Space pushes
    bool jumpHeld = false;             // Space (or the pad's jump) at the last update
    btVector3 lastStepEnd = btVector3(0, 0, 0);     // the body's origin after the latest step
    btVector3 earlierStepEnd = btVector3(0, 0, 0);  // ... and after the one before
    // Whether the next physics step pushes the body up.
    bool pushesNextStep() const;
    // Starts the step record from where the body stands.
    void watchJumpBody(btRigidBody& body);

    // Rebuilds the projection for the last seen size; a zero-sized (minimised)
    // window keeps the last valid projection.
    void rebuildProjection();
};

// One frame of input: movement, jump, facing and camera, on the globals
// controls, player and playerBody. The body moves by velocity; dt only sets
// how far the pad's right stick turns the camera.
void updateControls(double dt);
// The same on explicit objects (tests).
void updateControls(Controls& controls, scene::SceneObject& playerObject, btRigidBody& body, double dt);
// The camera of the player standing where it was put, as the first frame of
// play will see it, so that even that frame is drawn from the right place.
void settleCamera(Controls& controls, scene::SceneObject& playerObject, btRigidBody& body);

} // namespace ruma
