// In the sanitizer build (TOVIK3D_SANITIZE=ON): a few hundred frames of play,
// pause and wireframe, then Escape; and an autopilot run through a slime, a
// jump and a fall. Each must end with status 0 and without a report from
// AddressSanitizer, LeakSanitizer or UndefinedBehaviorSanitizer.
#include "support/game_run.h"

#include <gtest/gtest.h>

#include <filesystem>

#if defined(__SANITIZE_ADDRESS__)
#define TOVIK3D_SANITIZED 1
#else
#define TOVIK3D_SANITIZED 0
#endif

namespace ruma::test {
namespace {

std::string firstLine(const std::string& text) { return text.substr(0, text.find('\n')); }

// Runs the game under the sanitizers and expects a clean exit without a report.
GameRun runSanitized(const std::string& kind, const std::string& text, const ScratchDir& dir)
{
    // Mesa's software driver is loaded with dlopen and unloaded when GLFW ends;
    // LeakSanitizer then finds two small blocks that only the driver's own
    // globals pointed to, in a module it can no longer name. Loading the driver
    // for the whole run keeps them reachable. Nothing of the game is hidden.
    std::string asan = firstLine(runProcess({"gcc", "-print-file-name=libasan.so"}).out);
    std::string multiarch = firstLine(runProcess({"gcc", "-print-multiarch"}).out);
    std::string driver = "/usr/lib/" + multiarch + "/dri/swrast_dri.so";
    std::string preload = asan;
    if (std::filesystem::exists(driver)) preload += " " + driver;

    GameRunOptions options;
    options.timeoutSeconds = 1500;
    options.env = {{"LD_PRELOAD", preload}, {"ASAN_OPTIONS", "detect_leaks=1"},
                   {"UBSAN_OPTIONS", "print_stacktrace=1"}};
    GameRun run = runGameWith(kind, text, dir, options);
    EXPECT_EQ(run.process.exitStatus, 0) << run.process.err;
    for (const char* report : {"ERROR: AddressSanitizer", "ERROR: LeakSanitizer", "runtime error"})
        EXPECT_EQ(run.process.err.find(report), std::string::npos) << run.process.err;
    return run;
}

class SanitizedRun : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!TOVIK3D_SANITIZED) GTEST_SKIP() << "not a sanitizer build";
        if (!haveDisplay()) GTEST_SKIP() << "no display";
    }
};

// A few hundred frames of play, pause and wireframe, then Escape; then a run
// through a slime, a jump and a fall into a hole, to the end picture and Enter.
TEST_F(SanitizedRun, APlayedRunAndAnAutopilotRunEndCleanly)
{
    ScratchDir dir("sanitized");
    runSanitized("--script",
                 "wait 5\ntap F1\nhold 120 W\nhold 60 W look 8 0\ntap F3\nhold 30 W\ntap F3\n"
                 "hold 60 D\ntap F1\nwait 10\nhold 2 ESC\n",
                 dir);
    std::string route = routeText("hole.route");
    for (auto [from, to] : {std::pair{"walkto 5.3 22.35", "jumpto 5.3 22.35"}, std::pair{"wait 600", "wait 30"}}) {
        size_t at = route.find(from);
        ASSERT_NE(at, std::string::npos) << from;
        route.replace(at, std::string(from).size(), to);
    }
    GameRun run = runSanitized("--autopilot", route, dir);
    EXPECT_NE(run.process.err.find("autopilot: took "), std::string::npos) << run.process.err;
    EXPECT_EQ(run.process.err.find("autopilot: took 0 slimes"), std::string::npos) << run.process.err;
}

} // namespace
} // namespace ruma::test
