#include "app/bench.h"

#include "platform/alloc_count.h"
#include "platform/window.h"
#include "render/draw_stats.h"
#include "render/gl.h"

#include <sys/resource.h>

#include <algorithm>
#include <iomanip>
#include <ostream>

namespace ruma {

FrameBench* frameBench = nullptr;

namespace {

double millisecondsBetween(FrameBench::Clock::time_point from, FrameBench::Clock::time_point to)
{
    return std::chrono::duration<double, std::milli>(to - from).count();
}

// The value below which the given share of the samples lie.
float percentile(std::vector<float> values, double share)
{
    if (values.empty()) return 0.0f;
    size_t index = static_cast<size_t>(share * static_cast<double>(values.size() - 1) + 0.5);
    std::nth_element(values.begin(), values.begin() + static_cast<long>(index), values.end());
    return values[index];
}

// The first frames of a screen compile the driver's shader variants and fill
// caches; steady figures leave them out.
constexpr size_t kWarmUpFrames = 10;

struct AllocationSummary {
    size_t frames = 0;
    double perFrame = 0.0;
    long most = 0;
    double bytesPerFrame = 0.0;
    // Frames that built a program: counted apart, with what they allocated.
    size_t buildingFrames = 0;
    long mostWhileBuilding = 0;
};

AllocationSummary steadyAllocations(const std::vector<BenchFrame>& frames, Phase screen)
{
    AllocationSummary summary;
    size_t seen = 0;
    double count = 0.0, bytes = 0.0;
    for (const BenchFrame& frame : frames) {
        if (frame.screen != screen || ++seen <= kWarmUpFrames) continue;
        if (frame.builtProgram) {
            ++summary.buildingFrames;
            summary.mostWhileBuilding = std::max(summary.mostWhileBuilding, frame.allocations);
            continue;
        }
        ++summary.frames;
        count += static_cast<double>(frame.allocations);
        bytes += static_cast<double>(frame.allocatedBytes);
        summary.most = std::max(summary.most, frame.allocations);
    }
    if (summary.frames > 0) {
        summary.perFrame = count / static_cast<double>(summary.frames);
        summary.bytesPerFrame = bytes / static_cast<double>(summary.frames);
    }
    return summary;
}

} // namespace

FrameBench::FrameBench(Clock::time_point processStart_) : processStart(processStart_)
{
    frames.reserve(1 << 16);
}

void FrameBench::beginFrame()
{
    current = BenchFrame{};
    frameStart = lastMark = Clock::now();
    drawsAtStart = drawCallCount;
    buildsAtStart = programBuildCount + warmUpDrawCount;
    countAllocations(true);
}

void FrameBench::mark(BenchPhase phase)
{
    // The scene's fragments that pass the depth test are the ones the driver
    // shades: per window pixel, how many layers the scene really costs.
    if (phase == BenchPhase::Scene && counting) {
        glEndQuery(GL_SAMPLES_PASSED);
        counting = false;
        GLuint passed = 0;
        glGetQueryObjectuiv(fragmentQuery, GL_QUERY_RESULT, &passed);
        const double pixels = static_cast<double>(windowWidth) * static_cast<double>(windowHeight);
        if (pixels > 0.0) current.sceneFragments = static_cast<float>(passed / pixels);
    }
    glFinish();
    Clock::time_point now = Clock::now();
    current.phase[static_cast<int>(phase)] += static_cast<float>(millisecondsBetween(lastMark, now));
    lastMark = now;
    if (phase == BenchPhase::Update) {
        if (fragmentQuery == 0) glGenQueries(1, &fragmentQuery);
        glBeginQuery(GL_SAMPLES_PASSED, fragmentQuery);
        counting = true;
    }
}

void FrameBench::endFrame(Phase screen)
{
    if (counting) {
        glEndQuery(GL_SAMPLES_PASSED);
        counting = false;
    }
    glFinish();
    Clock::time_point now = Clock::now();
    AllocationCount allocated = allocationsSoFar();
    countAllocations(false);
    current.screen = screen;
    current.total = static_cast<float>(millisecondsBetween(frameStart, now));
    current.draws = drawCallCount - drawsAtStart;
    current.builtProgram = programBuildCount + warmUpDrawCount != buildsAtStart;
    current.allocations = allocated.count;
    current.allocatedBytes = allocated.bytes;
    if (firstDrawnSeconds < 0.0) firstDrawnSeconds = millisecondsBetween(processStart, now) / 1000.0;
    if (frames.size() < frames.capacity()) frames.push_back(current);
}

void FrameBench::report(std::ostream& out) const
{
    std::vector<float> total, phases[4], draws, fragments;
    double firstPlayFrame = -1.0;
    size_t controlsFrames = 0, buildingFrames = 0;
    for (const BenchFrame& frame : frames) {
        if (frame.screen == Phase::Controls) ++controlsFrames;
        if (frame.screen != Phase::Play) continue;
        if (firstPlayFrame < 0.0) firstPlayFrame = frame.total / 1000.0;
        if (frame.builtProgram) ++buildingFrames;
        total.push_back(frame.total);
        for (int p = 0; p < 4; ++p) phases[p].push_back(frame.phase[p]);
        draws.push_back(static_cast<float>(frame.draws));
        fragments.push_back(frame.sceneFragments);
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const AllocationSummary controls = steadyAllocations(frames, Phase::Controls);
    const AllocationSummary play = steadyAllocations(frames, Phase::Play);

    out << std::fixed << std::setprecision(2);
    // A player who starts at once pays the first play frame (the driver builds
    // the scene's shaders then) on top of the first picture.
    out << "bench: start-up to the first drawn frame " << firstDrawnSeconds << " s, to the first playable frame "
        << firstDrawnSeconds + std::max(firstPlayFrame, 0.0) << " s\n";
    out << "bench: " << frames.size() << " frames (" << controlsFrames << " controls screen, " << total.size()
        << " play)\n";
    out << "bench: play frame p50 " << percentile(total, 0.5) << " ms, p95 " << percentile(total, 0.95)
        << " ms, p99 " << percentile(total, 0.99) << " ms; p50 of update " << percentile(phases[0], 0.5)
        << ", scene " << percentile(phases[1], 0.5) << ", blur " << percentile(phases[2], 0.5) << ", HUD "
        << percentile(phases[3], 0.5) << " ms\n";
    out << std::setprecision(0) << "bench: draw calls per play frame p50 " << percentile(draws, 0.5) << ", max "
        << percentile(draws, 1.0) << std::setprecision(2) << "; scene fragments per window pixel p50 "
        << percentile(fragments, 0.5) << ", p95 " << percentile(fragments, 0.95) << "\n";
    out << std::setprecision(1) << "bench: heap allocations per steady frame: controls screen "
        << controls.perFrame << " (max " << controls.most << ", " << controls.frames << " frames), play "
        << play.perFrame << " (max " << play.most << ", " << play.frames << " frames), "
        << play.bytesPerFrame / 1024.0 << " KiB a play frame; apart from these, " << controls.buildingFrames
        << " controls screen and " << play.buildingFrames << " play frames built a program or drew to warm one (at most "
        << std::max(controls.mostWhileBuilding, play.mostWhileBuilding) << " allocations, the driver's compiler included)\n";
    // Hitches: every play frame counts here, the first after F1 and those that
    // met a light count for the first time included.
    const float median = percentile(total, 0.5);
    const float longest = percentile(total, 1.0);
    size_t overTwice = 0;
    for (float frame : total)
        if (frame > 2.0f * median) ++overTwice;
    out << std::setprecision(2) << "bench: longest play frame " << longest << " ms (" << (median > 0.0f ? longest / median : 0.0f)
        << " x the median), " << overTwice << " play frames over twice the median; F1 to the first play frame "
        << 1000.0 * std::max(firstPlayFrame, 0.0) << " ms; " << buildingFrames << " play frames built a program\n";
    out << "bench: peak resident memory " << static_cast<double>(usage.ru_maxrss) / 1024.0 << " MiB\n";
    // One line for scripts/bench to compute ratios from.
    out << std::setprecision(3) << "bench-data: first_drawn=" << firstDrawnSeconds
        << " first_playable=" << firstDrawnSeconds + std::max(firstPlayFrame, 0.0)
        << " frame_p50=" << percentile(total, 0.5) << " scene_p50=" << percentile(phases[1], 0.5)
        << " blur_p50=" << percentile(phases[2], 0.5) << " hud_p50=" << percentile(phases[3], 0.5)
        << " allocs_play=" << play.perFrame << " allocs_controls=" << controls.perFrame
        << " fragments_p50=" << percentile(fragments, 0.5) << " longest=" << longest
        << " over_twice=" << overTwice << " f1_to_play_ms=" << 1000.0 * std::max(firstPlayFrame, 0.0) << " rss_mib=" << static_cast<double>(usage.ru_maxrss) / 1024.0 << std::endl;
}

void FrameBench::release()
{
    if (fragmentQuery != 0) glDeleteQueries(1, &fragmentQuery);
    fragmentQuery = 0;
}

} // namespace ruma
