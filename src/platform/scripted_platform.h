// A platform that plays back a list of frames: keys held, mouse motion, focus
// and a fixed frame time. Each pollEvents() starts the next frame and moves the
// clock on by that frame's dt. Window operations go to an optional real window
// (so a scripted run still draws); without one the window is imaginary.
#pragma once

#include "platform/input_script.h"
#include "platform/platform.h"

#include <vector>

namespace ruma {

class ScriptedPlatform : public Platform {
public:
    explicit ScriptedPlatform(std::vector<FrameInput> frames, Platform* window = nullptr);

    double time() override { return clock_; }
    bool isKeyPressed(int key) override;
    void getCursorPos(double& x, double& y) override;
    PadState padState() override;
    void setCursorPos(double x, double y) override;
    bool hasFocus() override;
    void getWindowSize(int& width, int& height) override;
    void setWindowSize(int width, int height) override;
    void setWindowTitle(const char* title) override;
    void pollEvents() override;
    // True once every frame has been played, or when the real window closes.
    bool shouldClose() override;
    bool windowShouldClose();
    void swapBuffers() override;
    std::string screenshotRequest() override;
    bool memoryReportRequest() override;

    // For tests that drive the clock themselves.
    void setTime(double t) { clock_ = t; }
    void appendFrames(const std::vector<FrameInput>& frames);
    // Frames started so far (0 before the first pollEvents).
    size_t framesStarted() const { return index_; }
    const FrameInput* currentFrame() const;
    size_t frameCount() const { return frames_.size(); }

private:
    std::vector<FrameInput> frames_;
    Platform* window_;
    size_t index_ = 0;       // 1-based number of the current frame; 0 before the first
    double clock_ = 0.0;
    double cursorX_ = 0.0;
    double cursorY_ = 0.0;
    int width_ = 1280;       // used when there is no real window
    int height_ = 720;
};

} // namespace ruma
