#include "platform/recording_platform.h"

namespace ruma {

RecordingPlatform::RecordingPlatform(Platform& inner, const std::string& path, std::vector<int> keys)
    : inner_(inner), out_(path), keys_(std::move(keys))
{
    out_.precision(17);
    out_ << "# journal of a live run of tovik3d; replay with --script\n";
    inner_.getCursorPos(cursorX_, cursorY_);
}

RecordingPlatform::~RecordingPlatform() = default;

void RecordingPlatform::setCursorPos(double x, double y)
{
    inner_.setCursorPos(x, y);
    cursorX_ = x;
    cursorY_ = y;
}

void RecordingPlatform::pollEvents()
{
    inner_.pollEvents();
    double now = inner_.time();
    FrameInput frame;
    frame.dt = lastPollTime_ < 0.0 ? previousDt_ : now - lastPollTime_;
    lastPollTime_ = now;
    for (int key : keys_)
        if (inner_.isKeyPressed(key)) frame.keys.push_back(key);
    double x, y;
    inner_.getCursorPos(x, y);
    frame.cursorDx = x - cursorX_;
    frame.cursorDy = y - cursorY_;
    cursorX_ = x;
    cursorY_ = y;
    frame.focused = inner_.hasFocus();
    if (out_) {
        writeFrame(out_, frame, previousDt_, previousFocus_);
        out_.flush();
    }
    previousDt_ = frame.dt;
    previousFocus_ = frame.focused;
}

} // namespace ruma
