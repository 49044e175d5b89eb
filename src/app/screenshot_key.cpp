#include "app/screenshot_key.h"

#include "platform/pictures_folder.h"
#include "platform/platform.h"
#include "render/screenshot.h"
#include "sound/sound_player.h"
#include "world/world.h"

#include <filesystem>
#include <iostream>

namespace ruma {

namespace {

bool screenshotLatch = false;   // F12 acts once per press, on every screen

} // namespace

std::string screenshotFolder()
{
    std::string pictures = picturesFolder();
    return pictures.empty() ? std::string(".") : pictures + "/tovik3d";
}

std::string freeScreenshotPath(const std::string& folder, std::time_t when)
{
    std::tm local{};
    localtime_r(&when, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    std::string base = folder + "/tovik3d-" + stamp;
    std::string path = base + ".png";
    for (int n = 2; std::filesystem::exists(path); ++n) path = base + "-" + std::to_string(n) + ".png";
    return path;
}

void handleScreenshotKey(int width, int height)
{
    bool held = platform().isKeyPressed(GLFW_KEY_F12);
    bool press = held && !screenshotLatch;
    screenshotLatch = held;
    if (!press) return;
    std::string folder = screenshotFolder();
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    std::string path = freeScreenshotPath(folder, std::time(nullptr));
    if (error || !saveScreenshot(path, width, height)) {
        std::filesystem::remove(path, error);   // FreeImage may leave an empty file behind
        std::cout << "Cannot save a screenshot in " << folder << std::endl;
        return;
    }
    std::cout << "Screenshot: " << path << std::endl;
    if (sound) sound->playButton();
}

} // namespace ruma
