// The start before the window: the three questions (words are read one per
// question, whatever the lines), the options answered or refused, and the
// fatal wait.
#include "app/startup.h"
#include "support/process.h"
#include "world/start_answers.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <poll.h>
#include <pty.h>
#include <regex>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace ruma {
namespace {

const char* const kQuestions[] = {"Do you want to start in FullScreen? (y/n)\n",
                                  "Do you want to use High-Res Textures? (y/n)\n",
                                  "Do you want to play in GODMODE? (y/n)\n"};

// The three answers as "full screen, high res, god mode", e.g. "nyn".
std::string ask(const std::string& input, std::string* printed = nullptr, StartupAnswers* kept = nullptr,
                const GivenAnswers& given = {})
{
    std::istringstream in(input);
    std::ostringstream out;
    StartupAnswers answers;
    bool fullScreen = askStartupQuestions(in, out, answers, given);
    if (printed) *printed = out.str();
    if (kept) *kept = answers;
    return std::string() + (fullScreen ? 'y' : 'n') + (highResTextures ? 'y' : 'n') + (godMode ? 'y' : 'n');
}

TEST(StartupQuestions, OnlyALowerCaseYWordMeansYesAndClosedInputMeansNo)
{
    std::string printed;
    EXPECT_EQ(ask("n\ny\nY\n", &printed), "nyn");
    EXPECT_EQ(printed, std::string(kQuestions[0]) + kQuestions[1] + kQuestions[2]);
    // Words, not lines: three on one line answer all three; blanks and empty
    // lines are skipped; input that ends early answers no.
    for (auto [input, expected] : {std::pair{"Y\nyes\nyy\n", "nnn"}, std::pair{"y y y\n", "yyy"},
                                   std::pair{"\n\n   n\n\t\n  y   \n\ny", "nyy"}, std::pair{"", "nnn"},
                                   std::pair{"y", "ynn"}})
        EXPECT_EQ(ask(input), expected) << input;
    StartupAnswers kept;
    ask("y", nullptr, &kept);   // the answers not given stay empty
    EXPECT_EQ(kept.fullScreen, "y");
    EXPECT_TRUE(kept.highRes.empty());
    EXPECT_TRUE(kept.godMode.empty());
}

TEST(StartupQuestions, AnswersGivenAsOptionsAreNotAsked)
{
    struct Case {
        std::vector<const char*> options;
        std::string expected;   // the answers with "y y y" on the console
        std::vector<int> asked;
    };
    for (const Case& c : {Case{{"--windowed"}, "nyy", {1, 2}}, Case{{"--low-res"}, "yny", {0, 2}},
                          Case{{"--god"}, "yyy", {0, 1}}, Case{{"--no-god", "--fullscreen"}, "yyn", {1}},
                          Case{{"--fullscreen", "--high-res", "--no-god"}, "yyn", {}},
                          Case{{"--windowed", "--low-res", "--no-god"}, "nnn", {}}}) {
        std::vector<char*> argv = {const_cast<char*>("tovik3d")};
        for (const char* option : c.options) argv.push_back(const_cast<char*>(option));
        CommandLine options = parseCommandLine(int(argv.size()), argv.data());
        ASSERT_TRUE(options.error.empty()) << options.error;
        std::string printed, expectedPrinted;
        StartupAnswers kept;
        // The console's words go to the questions still asked, in order.
        EXPECT_EQ(ask("y y y\n", &printed, &kept, options.answers), c.expected) << c.options[0];
        for (int question : c.asked) expectedPrinted += kQuestions[question];
        EXPECT_EQ(printed, expectedPrinted) << c.options[0];
        EXPECT_EQ(kept.fullScreen + kept.highRes + kept.godMode, c.expected) << c.options[0];
    }
}

// Options answered before any question: the version, the help (naming the data
// it would read), and what is refused with status 2 (an unknown option, two
// answers to one question, scripts, routes and journals that cannot be read or
// written).
TEST(StartOptions, AreAnsweredOrRefusedBeforeAnyQuestion)
{
    test::ScratchDir dir("options");
    dir.write("runs/keep", "");
    dir.write("bad.txt", "wait 2\nlook 1e308 0\n");
    dir.write("bad.route", "walkto 1 nan\n");
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string out, err;   // regular expressions the whole output matches
    };
    auto refused = [](const std::string& message) { return "tovik3d: " + message + "[^]*"; };
    const std::string pair = "--record journals live play; it cannot go with --script or --autopilot\nusage: ";
    for (const Case& c : std::vector<Case>{
             {{"--version"}, 0, "Tovik3D [0-9]+\\.[0-9]+\\.[0-9]+\n", ""},
             {{"--help"}, 0, "usage: tovik3d [^]*--version[^]*TOVIK3D_DATA[^]*share/tovik3d[^]*reads " +
                                 test::sourceDir() + "/Resources\\.\n", ""},
             {{"--fly"}, 2, "", refused("unknown option --fly\nusage: tovik3d ")},
             {{"--help", "--bogus"}, 2, "", refused("unknown option --bogus\nusage: tovik3d ")},
             {{"--fullscreen", "--windowed"}, 2, "", refused("--fullscreen and --windowed answer the same question")},
             {{"--low-res", "--high-res"}, 2, "", refused("--high-res and --low-res answer the same question")},
             {{"--god", "--low-res", "--no-god"}, 2, "", refused("--god and --no-god answer the same question")},
             {{"--script", dir.file("runs")}, 2, "", refused("cannot open " + dir.file("runs") + ": is a directory")},
             {{"--script", dir.file("none")}, 2, "", refused("cannot open " + dir.file("none") + ": no such file")},
             {{"--script", dir.file("bad.txt")}, 2, "", refused(dir.file("bad.txt") + ": line 2: look needs dx dy")},
             {{"--autopilot", dir.file("bad.route")}, 2, "", refused(dir.file("bad.route") + ": line 1: walkto")},
             {{"--record", dir.file("runs")}, 2, "", refused("cannot write " + dir.file("runs") + ": is a directory")},
             {{"--record", "/proc/journal"}, 2, "", refused("cannot write /proc/journal: ")},
             // A script or a route is the run's whole input: no journal beside it.
             {{"--record", dir.file("j.txt"), "--script", dir.file("bad.txt")}, 2, "", refused(pair)},
             {{"--autopilot", dir.file("bad.route"), "--record", dir.file("j.txt")}, 2, "", refused(pair)}}) {
        std::vector<std::string> argv = {test::gameBinary()};
        argv.insert(argv.end(), c.args.begin(), c.args.end());
        test::ProcessOptions options;
        options.input = "n n n\n";
        auto result = test::runProcess(argv, options);
        EXPECT_EQ(result.exitStatus, c.status) << c.args.back();
        EXPECT_TRUE(std::regex_match(result.out, std::regex(c.out))) << c.args.back() << ": " << result.out;
        EXPECT_TRUE(std::regex_match(result.err, std::regex(c.err))) << c.args.back() << ": " << result.err;
    }
    EXPECT_FALSE(std::filesystem::exists(dir.file("j.txt")));
}

// The game on a terminal of its own, without a display, so that it ends at
// "GLFW failed" (after GLFW's reason) right after the three answers and waits for Enter.
TEST(FatalWait, OnATerminalWaitsForAFreshLineAndNotForWhatWasTypedBefore)
{
    struct Case {
        const char* typed;   // the answers, and what the player typed after them
        const char* then;    // what ends the wait
    };
    for (Case c : {Case{"n n n\n", "\n"}, Case{"n n n and more\ntyped ahead\n", "\n"}, Case{"n n n\n", "\x04"}}) {
        int terminal = -1;
        pid_t pid = forkpty(&terminal, nullptr, nullptr, nullptr);
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            unsetenv("DISPLAY");
            unsetenv("WAYLAND_DISPLAY");
            execl(test::gameBinary().c_str(), "tovik3d", static_cast<char*>(nullptr));
            _exit(127);
        }
        ASSERT_EQ(write(terminal, c.typed, std::strlen(c.typed)), static_cast<ssize_t>(std::strlen(c.typed)));
        std::string shown;
        auto waitFor = [&](const std::string& text, double seconds) {
            auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
            while (shown.find(text) == std::string::npos && std::chrono::steady_clock::now() < until) {
                pollfd fd{terminal, POLLIN, 0};
                char buffer[4096];
                if (poll(&fd, 1, 100) > 0) {
                    ssize_t n = read(terminal, buffer, sizeof buffer);
                    if (n <= 0) break;
                    shown.append(buffer, static_cast<size_t>(n));
                }
            }
            return shown.find(text) != std::string::npos;
        };
        EXPECT_TRUE(waitFor("GLFW failed", 30)) << shown;
        // GLFW's own reason comes on the line before.
        EXPECT_NE(shown.find("GLFW: X11: The DISPLAY environment variable is missing\r\nGLFW failed"), std::string::npos)
            << shown;
        int status = 0;
        waitFor("never shown", 1.0);
        EXPECT_EQ(waitpid(pid, &status, WNOHANG), 0) << "did not wait after: " << c.typed;
        ASSERT_EQ(write(terminal, c.then, 1), 1);
        for (int i = 0; i < 100 && waitpid(pid, &status, WNOHANG) == 0; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        if (waitpid(pid, &status, WNOHANG) == 0) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            ADD_FAILURE() << "still waiting after " << (c.then[0] == '\n' ? "Enter" : "end of input");
        }
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 255) << status;
        close(terminal);
    }
}

} // namespace
} // namespace ruma
