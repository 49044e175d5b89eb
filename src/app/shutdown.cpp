// The end of a run: everything start-up made is released once, in a fixed
// order, while the GL context still exists.
#include "app/game_start.h"

#include "platform/window.h"
#include "render/drawable.h"
#include "render/motion_blur.h"
#include "render/picture_screen.h"
#include "render/renderer.h"
#include "render/shader.h"
#include "render/texture.h"
#include "render/video_texture.h"
#include "sound/sound_player.h"
#include "text/text_renderer.h"
#include "world/controls.h"
#include "world/game_clock.h"
#include "world/physics.h"
#include "world/world.h"

#include <algorithm>
#include <vector>

namespace ruma {

namespace {

// For the objects that hold GL or sound resources: release them, then the object.
template <typename T>
void releaseAndDelete(T*& object)
{
    if (!object) return;
    object->release();
    delete object;
    object = nullptr;
}

} // namespace

void releaseGame()
{
    std::vector<Texture*> freed;
    for (RenderEntry& entry : renderList) {
        // The player's entry holds one of the two player textures, freed below;
        // the slimes share one texture, freed once.
        if (entry.object->kind != DrawableKind::Player &&
            std::find(freed.begin(), freed.end(), entry.texture) == freed.end()) {
            freed.push_back(entry.texture);
            deleteTexture(entry.texture);
        }
        if (entry.hasVideo) releaseAndDelete(entry.videoTexture);
        delete entry.object;
        entry.object = nullptr;
    }
    // The programs the objects shared, after the objects.
    for (Shader*& shader : sceneShaders) deleteShader(shader);
    sceneShaders.clear();
    deleteTexture(playerBoostTexture);
    deleteTexture(playerTexture);

    delete controls;
    controls = nullptr;
    releaseAndDelete(controlsScreen);
    releaseAndDelete(textRenderer);
    releaseAndDelete(renderer);
    releaseAndDelete(motionBlur);
    delete gameClock;
    gameClock = nullptr;
    releaseAndDelete(endScreen);
    releaseAndDelete(sound);
    releasePhysics();

    renderList.clear();
    slimeList.clear();
    player = nullptr;
    playerBody = nullptr;
    skateboard = nullptr;
    cat = nullptr;
}

void shutdown()
{
    releaseGame();
    // Last: the window and its context go with GLFW.
    glfwTerminate();
    window = nullptr;
}

} // namespace ruma
