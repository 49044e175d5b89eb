#include "platform/scripted_platform.h"

#include <algorithm>

namespace ruma {

ScriptedPlatform::ScriptedPlatform(std::vector<FrameInput> frames, Platform* window)
    : frames_(std::move(frames)), window_(window)
{
}

const FrameInput* ScriptedPlatform::currentFrame() const
{
    if (index_ == 0 || index_ > frames_.size()) return nullptr;
    return &frames_[index_ - 1];
}

bool ScriptedPlatform::isKeyPressed(int key)
{
    const FrameInput* frame = currentFrame();
    return frame && std::find(frame->keys.begin(), frame->keys.end(), key) != frame->keys.end();
}

void ScriptedPlatform::getCursorPos(double& x, double& y)
{
    x = cursorX_;
    y = cursorY_;
}

PadState ScriptedPlatform::padState()
{
    const FrameInput* frame = currentFrame();
    return frame ? frame->pad : PadState{};
}

void ScriptedPlatform::setCursorPos(double x, double y)
{
    cursorX_ = x;
    cursorY_ = y;
}

bool ScriptedPlatform::hasFocus()
{
    const FrameInput* frame = currentFrame();
    return frame ? frame->focused : true;
}

void ScriptedPlatform::getWindowSize(int& width, int& height)
{
    if (window_) {
        window_->getWindowSize(width, height);
        return;
    }
    width = width_;
    height = height_;
}

void ScriptedPlatform::setWindowSize(int width, int height)
{
    if (window_) {
        window_->setWindowSize(width, height);
        return;
    }
    width_ = width;
    height_ = height;
}

void ScriptedPlatform::setWindowTitle(const char* title)
{
    if (window_) window_->setWindowTitle(title);
}

void ScriptedPlatform::pollEvents()
{
    if (index_ <= frames_.size()) ++index_;
    const FrameInput* frame = currentFrame();
    // Resized from outside, as a window manager would, before the frame sees it.
    if (frame && frame->resizeWidth >= 0) setWindowSize(frame->resizeWidth, frame->resizeHeight);
    if (window_) window_->pollEvents();
    if (frame) {
        clock_ += frame->dt;
        cursorX_ += frame->cursorDx;
        cursorY_ += frame->cursorDy;
    }
}

bool ScriptedPlatform::shouldClose()
{
    // The run ends with its last frame, as the live run it may journal ended.
    if (index_ >= frames_.size()) return true;
    return windowShouldClose();
}

bool ScriptedPlatform::windowShouldClose() { return window_ && window_->shouldClose(); }

void ScriptedPlatform::swapBuffers()
{
    if (window_) window_->swapBuffers();
}

std::string ScriptedPlatform::screenshotRequest()
{
    const FrameInput* frame = currentFrame();
    return frame ? frame->screenshot : std::string();
}

bool ScriptedPlatform::memoryReportRequest()
{
    const FrameInput* frame = currentFrame();
    return frame && frame->reportMemory;
}

void ScriptedPlatform::appendFrames(const std::vector<FrameInput>& frames)
{
    frames_.insert(frames_.end(), frames.begin(), frames.end());
}

} // namespace ruma
