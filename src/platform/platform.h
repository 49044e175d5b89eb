// The one seam between the game and the machine: every read of keys, cursor,
// focus, window size and time goes through here, so a run can be scripted,
// journaled and replayed, and update logic can be tested without a window.
#pragma once

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>

#include "platform/pad_state.h"

#include <string>

namespace ruma {

class Platform {
public:
    virtual ~Platform() = default;

    // Seconds since start-up (the GLFW timer in the real game).
    virtual double time() = 0;
    // True while the key (a GLFW key code) is held down.
    virtual bool isKeyPressed(int key) = 0;
    virtual void getCursorPos(double& x, double& y) = 0;
    // The first connected gamepad as of the last pollEvents(); at rest when there is none.
    virtual PadState padState() = 0;
    virtual void setCursorPos(double x, double y) = 0;
    // True while the window has input focus.
    virtual bool hasFocus() = 0;
    // Client size in pixels.
    virtual void getWindowSize(int& width, int& height) = 0;
    virtual void setWindowSize(int width, int height) = 0;
    virtual void setWindowTitle(const char* title) = 0;
    // One frame boundary: window events are processed and input becomes current.
    virtual void pollEvents() = 0;
    virtual bool shouldClose() = 0;
    virtual void swapBuffers() = 0;
    // A path when the picture of the frame being drawn should be saved, else empty.
    virtual std::string screenshotRequest() { return {}; }
    // True when the resident memory should be printed after the frame being drawn.
    virtual bool memoryReportRequest() { return false; }
};

// The platform in use; the GLFW one in the game, a scripted one in tests.
Platform& platform();
// Installs p (not owned). Passing nullptr restores the previous default (none).
void setPlatform(Platform* p);
bool hasPlatform();

} // namespace ruma
