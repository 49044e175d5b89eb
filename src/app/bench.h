// --bench: how long start-up and frames really take on this machine, split by
// pass, with the draw calls and heap allocations of each frame and the peak
// resident memory. Printed when the game ends; a figure, never a test. Passes
// are separated by glFinish only while a bench runs.
#pragma once

#include "render/gl.h"
#include "world/run_phase.h"

#include <chrono>
#include <iosfwd>
#include <vector>

namespace ruma {

enum class BenchPhase { Update, Scene, Blur, Hud };

struct BenchFrame {
    Phase screen = Phase::Controls;
    float total = 0.0f;   // milliseconds, the whole loop iteration
    float phase[4] = {};  // milliseconds per BenchPhase
    unsigned long draws = 0;
    bool builtProgram = false;   // the frame built a program, or drew to have the driver finish one
    long allocations = 0;
    unsigned long allocatedBytes = 0;
    float sceneFragments = 0.0f;   // fragments that passed the depth test in the scene, per window pixel
};

class FrameBench {
public:
    using Clock = std::chrono::steady_clock;
    explicit FrameBench(Clock::time_point processStart);

    void beginFrame();
    // Finishes the GL work so far and books the time since the last mark to the phase.
    void mark(BenchPhase phase);
    void endFrame(Phase screen);
    void report(std::ostream& out) const;
    // Frees the fragment counter (needs the GL context).
    void release();

private:
    Clock::time_point processStart;
    Clock::time_point frameStart;
    Clock::time_point lastMark;
    double firstDrawnSeconds = -1.0;
    std::vector<BenchFrame> frames;
    BenchFrame current;
    unsigned long drawsAtStart = 0;
    unsigned long buildsAtStart = 0;
    GLuint fragmentQuery = 0;
    bool counting = false;
};

// The running benchmark, or null when the game runs without --bench.
extern FrameBench* frameBench;

inline void benchMark(BenchPhase phase)
{
    if (frameBench) frameBench->mark(phase);
}

} // namespace ruma
