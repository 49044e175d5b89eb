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
    auto key = [](int code, auto act) {
        if (!latchPress(code)) return;
        act();
        sound->playButton();
    };
    key(GLFW_KEY_F3, [] { wireframe = !wireframe; });
    key(GLFW_KEY_F4, [] {
        textureSampling = textureSampling == 0 ? 1 : 0;
        showSamplingLine = samplingChanged = true;
    });
    key(GLFW_KEY_F5, [] {
        mipmapQuality = (mipmapQuality + 1) % 3;
        mipmapChanged = showMipmapLine = true;
    });
    key(GLFW_KEY_F7, [] { sound->toggleMute(); });
    key(GLFW_KEY_F8, [] { frustumCulling = !frustumCulling; });
    key(GLFW_KEY_F9, [] { transparency = !transparency; });
}

void expireSettingNotices() { showSamplingLine = showMipmapLine = false; }

} // namespace ruma
