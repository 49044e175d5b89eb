// A player made of code: it walks the player along a route as a person at the
// keyboard would, turning with the mouse and holding W, jumping where told, and
// waiting for the run to end. Routes extend input scripts with
//
//   walkto X Z            turn toward (X, Z) and walk there
//   jumpto X Z            the same, holding Space for the first fifth of a second
//   waitend [SECONDS]     stand still until an end picture shows (default 300 s)
//
// and every command of an input script (wait, hold, tap, look, dt, shot). A
// walk to a slime's point goes on until the slime is taken: a swaying slime is
// aimed at where it has swayed to, a resting one is fetched if the point fell
// short of it. It is a platform: the game reads its keys, cursor and clock
// through it, and the real window still shows every frame.
#pragma once

#include "platform/scripted_platform.h"
#include "world/run_phase.h"

#include <memory>
#include <string>
#include <vector>

namespace ruma {

namespace scene {
class Slime;
}

struct AutopilotStep {
    enum class Kind { Frames, WalkTo, WaitEnd, Shot };
    Kind kind = Kind::Frames;
    std::vector<FrameInput> frames;   // Frames
    double x = 0.0, z = 0.0;          // WalkTo
    bool jump = false;                // WalkTo: jump at the start
    double seconds = 300.0;           // WaitEnd: give up after this much play
    double dt = 1.0 / 60.0;           // frame time of the frames the step makes
    std::string path;                 // Shot
};

bool parseRoute(std::istream& in, std::vector<AutopilotStep>& route, std::string& error);
bool loadRoute(const std::string& path, std::vector<AutopilotStep>& route, std::string& error);

class AutopilotPlatform : public Platform {
public:
    // It watches the run's phase through the given reference, which the rules keep.
    AutopilotPlatform(std::vector<AutopilotStep> route, Platform* window, const RunPhase& phase);
    // Says how close the cat came, how many slimes were taken, and when and how the run ended.
    ~AutopilotPlatform() override;

    double time() override { return scripted_.time(); }
    bool isKeyPressed(int key) override { return scripted_.isKeyPressed(key); }
    void getCursorPos(double& x, double& y) override { scripted_.getCursorPos(x, y); }
    PadState padState() override { return scripted_.padState(); }
    void setCursorPos(double x, double y) override { scripted_.setCursorPos(x, y); }
    bool hasFocus() override { return scripted_.hasFocus(); }
    void getWindowSize(int& width, int& height) override { scripted_.getWindowSize(width, height); }
    void setWindowSize(int width, int height) override { scripted_.setWindowSize(width, height); }
    void setWindowTitle(const char* title) override { scripted_.setWindowTitle(title); }
    void pollEvents() override;
    // The route feeds one frame at a time: only its end or the window ends the run.
    bool shouldClose() override { return finished_ || scripted_.windowShouldClose(); }
    void swapBuffers() override { scripted_.swapBuffers(); }
    std::string screenshotRequest() override { return scripted_.screenshotRequest(); }

    // The route step being played (route size when done).
    size_t stepIndex() const { return step_; }

private:
    // The next frame's input, or false when the route is done.
    bool nextFrame(FrameInput& frame);
    FrameInput steer(const AutopilotStep& step, bool& arrived);

    std::vector<AutopilotStep> route_;
    ScriptedPlatform scripted_;
    const RunPhase& phase_;
    size_t step_ = 0;
    size_t frameInStep = 0;
    double stepStartTime_ = 0.0;
    std::string pendingShot_;
    bool finished_ = false;
    double closestCat_ = -1.0;
    double closestCatAt_ = 0.0;
    std::vector<bool> slimeAway_;
    int slimesTaken_ = 0;
    double endedAt_ = -1.0;
    const char* endedHow_ = "";
    scene::Slime* chasedSlime_ = nullptr;   // the slime the walk's point stands for
    bool atPoint_ = false;                  // the walk has come to its point
};

} // namespace ruma
