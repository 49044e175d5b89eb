#include "app/frame_loop.h"

#include "app/bench.h"
#include "app/function_keys.h"
#include "app/game_rules.h"
#include "app/screenshot_key.h"
#include "app/startup.h"
#include "platform/platform.h"
#include "platform/resident_memory.h"
#include "platform/window.h"
#include "render/gl.h"
#include "render/gl_error.h"
#include "render/screenshot.h"
#include "world/pad_input.h"

#include <cstdio>
#include <iostream>

namespace ruma {

std::uint32_t frameCounter = 0;
float fps = 60.0f;
std::string fpsText = "FPS: ";
std::string frameTimeText = "Frametime: ";

namespace {

// Rewrites a counter line in place with four significant digits. The string
// keeps room for any line, so a frame of play allocates nothing.
void rewriteCounter(std::string& line, const char* format, double value)
{
    char text[48];
    std::snprintf(text, sizeof text, format, value);
    if (line.capacity() < sizeof text) line.reserve(sizeof text);
    line.assign(text);
}

// The smallest window the keeper asks for: a window dragged or tiled down to a
// sliver would otherwise be asked for a side of 0 pixels.
constexpr int kMinWindowWidth = 16;
constexpr int kMinWindowHeight = 9;

} // namespace

void keepAspect()
{
    int w = 0, h = 0;
    platform().getWindowSize(w, h);
    if (w != windowWidth) {
        h = static_cast<int>(static_cast<float>(w) * 9.0f * 0.0625f);
    } else if (h != windowHeight) {
        w = static_cast<int>(static_cast<float>(h) * 16.0f / 9.0f);
    } else {
        return;
    }
    if (w < kMinWindowWidth || h < kMinWindowHeight) {
        w = kMinWindowWidth;
        h = kMinWindowHeight;
    }
    platform().setWindowSize(w, h);
    glViewport(0, 0, w, h);
    windowWidth = w;
    windowHeight = h;
}

void updateCounters(double dt)
{
    ++frameCounter;
    if (frameCounter <= 150) return;
    rewriteCounter(frameTimeText, "Frametime: %.4gms", dt * 1000.0);
    fps = static_cast<float>(1000.0 / (dt * 1000.0));
    rewriteCounter(fpsText, "FPS: %.4g", fps);
    frameCounter = 0;
    expireSettingNotices();
}

long runFrameLoop(void (*afterFirstFrame)())
{
    long frames = 0;
    double previous = platform().time();
    if (!running) return frames;
    do {
        if (platform().shouldClose()) break;
        if (frameBench) frameBench->beginFrame();
        ++frames;
        double now = platform().time();
        platform().pollEvents();
        if (keyOrPadHeld(GLFW_KEY_ESCAPE)) quitGame();
        double dt = now - previous;
        updateFrame(dt);
        benchMark(BenchPhase::Update);
        // The screen drawn this frame, decided by the update.
        const Phase shown = runPhase().phase;
        renderFrame(dt);
        handleScreenshotKey(windowWidth, windowHeight);
        std::string shot = platform().screenshotRequest();
        if (!shot.empty() && !saveScreenshot(shot, windowWidth, windowHeight))
            std::cerr << "could not save the picture " << shot << std::endl;
        if (platform().memoryReportRequest())
            std::cout << "memory: frame " << frames << ", game time " << currentGameTime() << " s, resident "
                      << residentKilobytes() << " kB" << std::endl;
        platform().swapBuffers();
        previous = now;
        checkGlError(141);
        if (frameBench) frameBench->endFrame(shown);
        if (frames == 1 && afterFirstFrame && running) afterFirstFrame();
    } while (running);
    return frames;
}

} // namespace ruma
