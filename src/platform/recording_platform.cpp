#include "platform/recording_platform.h"

#include "platform/file_read.h"

#include <algorithm>
#include <cerrno>

namespace ruma {

namespace {

std::string cannotWrite(const std::string& path, int error)
{
    return "cannot write " + path + ": " + errorText(error ? error : EIO);
}

} // namespace

bool RecordingPlatform::openJournal(const std::string& path, std::ofstream& out, std::string& error)
{
    errno = 0;
    out.open(path);
    if (out) return true;
    error = cannotWrite(path, errno);
    return false;
}

RecordingPlatform::RecordingPlatform(Platform& inner, std::ofstream out, std::string path, std::vector<int> keys)
    : inner_(inner), out_(std::move(out)), path_(std::move(path)), keys_(std::move(keys))
{
    // 17 significant digits read back as the same double.
    out_.precision(17);
    out_ << kJournalHeader << '\n';
    inner_.getCursorPos(realX_, realY_);
}

RecordingPlatform::~RecordingPlatform() = default;

std::string RecordingPlatform::close()
{
    if (out_.is_open()) {
        errno = 0;
        out_.close();
        if (out_.fail() && writeError_.empty()) writeError_ = cannotWrite(path_, errno);
    }
    return writeError_;
}

bool RecordingPlatform::isKeyPressed(int key)
{
    return std::find(frame_.keys.begin(), frame_.keys.end(), key) != frame_.keys.end();
}

void RecordingPlatform::getCursorPos(double& x, double& y)
{
    x = cursorX_;
    y = cursorY_;
}

void RecordingPlatform::setCursorPos(double x, double y)
{
    inner_.setCursorPos(x, y);
    realX_ = cursorX_ = x;
    realY_ = cursorY_ = y;
}

void RecordingPlatform::pollEvents()
{
    inner_.pollEvents();
    double now = inner_.time();
    FrameInput frame;
    frame.dt = lastPollTime_ < 0.0 ? previous_.dt : now - lastPollTime_;
    lastPollTime_ = now;
    for (int key : keys_)
        if (inner_.isKeyPressed(key)) frame.keys.push_back(key);
    double x, y;
    inner_.getCursorPos(x, y);
    frame.cursorDx = x - realX_;
    frame.cursorDy = y - realY_;
    realX_ = x;
    realY_ = y;
    frame.focused = inner_.hasFocus();
    frame.pad = inner_.padState();
    if (out_) {
        errno = 0;
        writeFrame(out_, frame, previous_);
        out_.flush();
        if (!out_) writeError_ = cannotWrite(path_, errno);
    }
    previous_ = frame;
    clock_ += frame.dt;
    cursorX_ += frame.cursorDx;
    cursorY_ += frame.cursorDy;
    frame_ = std::move(frame);
}

} // namespace ruma
