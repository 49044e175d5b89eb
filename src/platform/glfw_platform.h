// The real platform: GLFW's timer, keyboard, cursor and window.
#pragma once

#include "platform/platform.h"

namespace ruma {

class GlfwPlatform : public Platform {
public:
    explicit GlfwPlatform(GLFWwindow* window) : window_(window) {}

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

    void setWindow(GLFWwindow* window) { window_ = window; }
    GLFWwindow* glfwWindow() const { return window_; }

private:
    GLFWwindow* window_;
    PadState pad_;
};

// While on, each GLFW error prints GLFW's own reason as a line on standard
// output, where the game's message about the failure follows it ("GLFW failed").
void reportGlfwErrors(bool on);

// Adds the gamepad mappings of $SDL_GAMECONTROLLERCONFIG, when set, to GLFW's
// own (after glfwInit). A text GLFW cannot read is reported in one line.
void loadGamepadMappings();

} // namespace ruma
