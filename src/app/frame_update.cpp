// One frame of game logic, in a fixed order.
#include "app/frame_loop.h"
#include "app/function_keys.h"
#include "app/game_rules.h"
#include "platform/platform.h"
#include "render/gl_error.h"
#include "render/drawable.h"
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
    if (latchPress(GLFW_KEY_F1)) changePhase(Phase::Controls);
    handleRenderSettingKeys();
}

// Focus as of the last frame: the first frame back in focus must not read the
// pointer's travels elsewhere as a turn of the camera.
bool focusedLastFrame = true;

} // namespace

void updateFrame(double dt)
{
    // Last frame's filter change has reached the textures it drew, and the
    // count the statistics line showed starts again.
    samplingChanged = mipmapChanged = false;
    if (showStats) renderer->objectsDrawn = 0;
    keepAspect();
    updateCounters(dt);
    const bool focused = platform().hasFocus();
    if (focused && !focusedLastFrame && controls) controls->recentreCursor();
    focusedLastFrame = focused;
    // In the background nothing moves, but the play clock goes on.
    const Phase shown = runPhase().phase;
    if (focused) {
        if (shown == Phase::Ended) {
            if (platform().isKeyPressed(GLFW_KEY_ENTER) || padEnterPressed()) quitGame();
        } else {
            padAReleasedOnEndScreen = false;
            if (latchPress(GLFW_KEY_F2)) {
                showStats = !showStats;
                sound->playButton();
            }
            if (shown == Phase::Controls) {
                if (latchPress(GLFW_KEY_F1)) changePhase(Phase::Play);
            } else {
                playUpdate(dt);
            }
            releaseKeyLatches();
        }
    }
    // The end jingle plays again and again while the end picture shows, in focus or not.
    if (runPhase().phase == Phase::Ended) sound->playEnd(runPhase().outcome == Outcome::Won);
    checkGlError(221);
}

} // namespace ruma
