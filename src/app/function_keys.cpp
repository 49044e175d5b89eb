#include "app/function_keys.h"

#include "platform/platform.h"
#include "render/render_settings.h"
#include "sound/sound_player.h"
#include "world/pad_input.h"
#include "world/world.h"

#include <cassert>

namespace ruma {

namespace {

constexpr int kLatchedKeys[] = {GLFW_KEY_F1, GLFW_KEY_F2, GLFW_KEY_F3, GLFW_KEY_F4,
                                GLFW_KEY_F5, GLFW_KEY_F7, GLFW_KEY_F8, GLFW_KEY_F9};
bool latches[sizeof(kLatchedKeys) / sizeof(kLatchedKeys[0])] = {};

} // namespace

bool& keyLatch(int key)
{
    for (size_t i = 0; i < sizeof(kLatchedKeys) / sizeof(kLatchedKeys[0]); ++i)
        if (kLatchedKeys[i] == key) return latches[i];
    assert(false && "key without a latch");
    static bool none = false;
    return none;
}

bool latchPress(int key)
{
    bool& latch = keyLatch(key);
    if (latch || !keyOrPadHeld(key)) return false;
    latch = true;
    return true;
}

void releaseKeyLatches()
{
    for (size_t i = 0; i < sizeof(kLatchedKeys) / sizeof(kLatchedKeys[0]); ++i)
        if (!keyOrPadHeld(kLatchedKeys[i])) latches[i] = false;
}

void clearKeyLatches()
{
    for (bool& latch : latches) latch = false;
}

void handleRenderSettingKeys()
{
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

void expireSettingNotices()
{
    showSamplingLine = false;
    showMipmapLine = false;
}

} // namespace ruma
