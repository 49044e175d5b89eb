// Wraps the real platform and journals every frame's input as an input script,
// so a live run can be replayed with --script.
#pragma once

#include "platform/input_script.h"
#include "platform/platform.h"

#include <fstream>
#include <vector>

namespace ruma {

class RecordingPlatform : public Platform {
public:
    // Opens the journal file before anything else is set up, so a place that
    // cannot be written is refused at once; on failure sets error to
    // "cannot write PATH: reason".
    static bool openJournal(const std::string& path, std::ofstream& out, std::string& error);

    // Journals to out (opened by openJournal); keys lists the key codes worth recording.
    RecordingPlatform(Platform& inner, std::ofstream out, std::string path, std::vector<int> keys);
    ~RecordingPlatform() override;

    // Closes the journal; returns "cannot write PATH: reason" when any of it
    // was lost (a full disk), else an empty string.
    std::string close();

    double time() override { return inner_.time(); }
    bool isKeyPressed(int key) override { return inner_.isKeyPressed(key); }
    void getCursorPos(double& x, double& y) override { inner_.getCursorPos(x, y); }
    PadState padState() override { return inner_.padState(); }
    void setCursorPos(double x, double y) override;
    bool hasFocus() override { return inner_.hasFocus(); }
    void getWindowSize(int& width, int& height) override { inner_.getWindowSize(width, height); }
    void setWindowSize(int width, int height) override { inner_.setWindowSize(width, height); }
    void setWindowTitle(const char* title) override { inner_.setWindowTitle(title); }
    void pollEvents() override;
    bool shouldClose() override { return inner_.shouldClose(); }
    void swapBuffers() override { inner_.swapBuffers(); }

private:
    Platform& inner_;
    std::ofstream out_;
    std::string path_;
    std::string writeError_;   // the reason of the first failed write
    std::vector<int> keys_;
    double lastPollTime_ = -1.0;
    double cursorX_ = 0.0, cursorY_ = 0.0;   // where the cursor was last left
    FrameInput previous_;   // the frame journaled last, for the lines that only say what changed
};

} // namespace ruma
