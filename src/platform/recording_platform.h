// Wraps the real platform and journals every frame's input as an input script,
// so a live run can be replayed with --script. The game is shown exactly what
// the journal says and nothing else: the clock moves once per frame by the
// journaled frame time, keys, focus and cursor are those read at the frame's
// start, so a replay of the journal meets the same numbers to the last bit.
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

    double time() override { return clock_; }
    bool isKeyPressed(int key) override;
    void getCursorPos(double& x, double& y) override;
    PadState padState() override { return frame_.pad; }
    void setCursorPos(double x, double y) override;
    bool hasFocus() override { return frame_.focused; }
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
    FrameInput frame_;                       // what the game is shown this frame
    FrameInput previous_;                    // the frame journaled last, for the lines that only say what changed
    double clock_ = 0.0;                     // sum of the journaled frame times, as a replay adds them
    double lastPollTime_ = -1.0;             // real time of the last frame start
    double realX_ = 0.0, realY_ = 0.0;       // where the real cursor was last seen or put
    double cursorX_ = 0.0, cursorY_ = 0.0;   // the cursor the game sees, moved as a replay moves it
};

} // namespace ruma
