// One frame of game logic, in a fixed order.
#include "app/frame_loop.h"
#include "app/function_keys.h"
#include "app/game_rules.h"
#include "app/startup.h"
#include "platform/platform.h"
#include "render/gl_error.h"
#include "render/drawable.h"
#include "render/picture_screen.h"
#include "render/render_settings.h"
#include "render/renderer.h"
#include "render/video_texture.h"
#include "scene/animated_object.h"
#include "scene/cat.h"
#include "sound/sound_player.h"
#include "world/controls.h"
#include "world/pad_input.h"
#include "world/physics.h"
#include "world/world.h"

namespace ruma {

namespace {

// The render-setting keys of play; each acts once per press and clicks.
void handleFunctionKeys()
{
    if (latchPress(GLFW_KEY_F1)) pausePlay();
    if (latchPress(GLFW_KEY_F3)) {
        wireframe = !wireframe;
        sound->playButton();
    }
    if (latchPress(GLFW_KEY_F4)) {
        textureSampling = textureSampling == 0 ? 1 : 0;
        showSamplingLine = true;
        samplingChanged = true;
        sound->playButton();
    }
    if (latchPress(GLFW_KEY_F5)) {
        mipmapQuality = (mipmapQuality + 1) % 3;
        mipmapChanged = true;
        showMipmapLine = true;
        sound->playButton();
    }
    if (latchPress(GLFW_KEY_F7)) {
        sound->toggleMute();
        sound->playButton();
    }
    if (latchPress(GLFW_KEY_F8)) {
        frustumCulling = !frustumCulling;
        sound->playButton();
    }
    if (latchPress(GLFW_KEY_F9)) {
        transparency = !transparency;
        sound->playButton();
    }
}

// A held A jumps, so on the end picture it quits only when pressed afresh:
// the jump that reached the goal does not close the game at once.
bool padAReleasedOnEndScreen = false;

bool padEnterPressed()
{
    bool held = platform().padState().held(kPadA);
    if (!held) padAReleasedOnEndScreen = true;
    return held && padAReleasedOnEndScreen;
}

// The skateboard rides under the cat, where the cat is after this frame's move.
void placeSkateboardUnderCat() { skateboard->model = scene::boardUnderCat(cat->model); }

void updateObjects(double dt)
{
    for (const RenderEntry& entry : renderList) {
        entry.object->update(dt);
        if (entry.hasVideo && entry.videoTexture) entry.videoTexture->advance(dt);
    }
}

void playUpdate(double dt)
{
    stepPhysics(dt);
    updateControls(dt);
    startCatOnFirstMove();
    renderer->frustum->updateFromCamera(controls->cameraPosition, controls->position, controls->up);
    if (controls->isFast()) sound->playFast();
    if (controls->hasJumped()) sound->playJump();
    updateObjects(dt);
    updateChaseAndPickups();
    placeSkateboardUnderCat();
    handleFunctionKeys();
}

// Focus as of the last frame: the first frame back in focus must not read the
// pointer's travels elsewhere as a turn of the camera.
bool focusedLastFrame = true;

} // namespace

void updateFrame(double dt)
{
    keepAspect();
    updateCounters(dt);
    const bool focused = platform().hasFocus();
    if (focused && !focusedLastFrame && controls) controls->recentreCursor();
    focusedLastFrame = focused;
    // In the background nothing moves, but the play clock goes on.
    if (focused) {
        if (endScreen->showing) {
            if (platform().isKeyPressed(GLFW_KEY_ENTER) || padEnterPressed()) running = false;
        } else {
            padAReleasedOnEndScreen = false;
            if (latchPress(GLFW_KEY_F2)) {
                showStats = !showStats;
                sound->playButton();
            }
            if (controlsScreen->showing) {
                if (latchPress(GLFW_KEY_F1)) resumePlay();
            } else {
                playUpdate(dt);
            }
            releaseKeyLatches();
        }
    }
    checkGlError(221);
}

} // namespace ruma
