// The real platform: GLFW's timer, keyboard, cursor and window.
#pragma once

#include "platform/platform.h"

#include <array>

namespace ruma {

class GlfwPlatform : public Platform {
public:
    explicit GlfwPlatform(GLFWwindow* window) { setWindow(window); }

    double time() override;
    bool isKeyPressed(int key) override;
    void getCursorPos(double& x, double& y) override;
    PadState padState() override { return pad_; }
    void setCursorPos(double x, double y) override;
    bool hasFocus() override;
    void getWindowSize(int& width, int& height) override;
    void setWindowSize(int width, int height) override;
    void setWindowTitle(const char* title) override;
    void pollEvents() override;
    bool shouldClose() override;
    void swapBuffers() override;

    void setWindow(GLFWwindow* window);
    GLFWwindow* glfwWindow() const { return window_; }

private:
    // Keys are read once a frame; a tap shorter than a frame, pressed and
    // released between two polls, counts as pressed in the next frame.
    void readKeys();

    GLFWwindow* window_ = nullptr;
    PadState pad_;
    std::array<bool, GLFW_KEY_LAST + 1> pressed_{};   // what the game sees this frame
    std::array<bool, GLFW_KEY_LAST + 1> held_{};      // down at the last poll
};

// While on, each GLFW error prints GLFW's own reason as a line on standard
// output, where the game's message about the failure follows it ("GLFW failed").
void reportGlfwErrors(bool on);

// Adds the gamepad mappings of $SDL_GAMECONTROLLERCONFIG, when set, to GLFW's
// own (after glfwInit). A text GLFW cannot read is reported in one line.
void loadGamepadMappings();

} // namespace ruma
