// The real program, from outside: its options, its data folder, its window,
// its console lines, its exit.
#include "app/game_data.h"
#include "support/image.h"
#include "support/process.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <future>
#include <regex>
#include <thread>

namespace ruma {
namespace {

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

test::ProcessResult runGame(std::vector<std::string> unsetEnv, double timeoutSeconds,
                            std::vector<std::string> args = {})
{
    test::ProcessOptions options;
    options.input = "n n n\n";
    options.unsetEnv = std::move(unsetEnv);
    options.workingDirectory = test::sourceDir();
    options.timeoutSeconds = timeoutSeconds;
    args.insert(args.begin(), test::gameBinary());
    return test::runProcess(args, options);
}

// Waits for the loaded game's window (its title turns to "Tovik3D" when loading
// is done); false when the game ended first.
bool waitForLoadedWindow(std::future<test::ProcessResult>& game, std::string& tree)
{
    for (int i = 0; i < 1200; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        tree = test::runProcess({"xwininfo", "-root", "-tree"}).out;
        if (contains(tree, "\"Tovik3D\": (") && contains(tree, "1280x720+")) return true;
        if (game.wait_for(std::chrono::seconds(0)) == std::future_status::ready) return false;
    }
    return false;
}

// Presses long enough for a game polling the key once a frame, again while a
// slow frame (a busy machine, a software renderer) missed the press.
void pressEscape(std::future<test::ProcessResult>& game)
{
    for (int i = 0; i < 20 && game.wait_for(std::chrono::seconds(0)) != std::future_status::ready; ++i) {
        test::runProcess({"xdotool", "keydown", "Escape"});
        std::this_thread::sleep_for(std::chrono::milliseconds(400));
        test::runProcess({"xdotool", "keyup", "Escape"});
        game.wait_for(std::chrono::seconds(3));
    }
}

TEST(GameWindow, OptionsAnswerBeforeAnyQuestion)
{
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string out, err;   // regular expressions the whole output matches
    };
    for (const Case& c : std::vector<Case>{
             {{"--version"}, 0, "Tovik3D [0-9]+\\.[0-9]+\\.[0-9]+\n", ""},
             {{"--help"}, 0, "", "usage: tovik3d [^]*--version[^]*TOVIK3D_DATA[^]*share/tovik3d[^]*"},
             {{"--fly"}, 2, "", "tovik3d: unknown option --fly\nusage: tovik3d [^]*"},
         }) {
        std::vector<std::string> argv = {test::gameBinary()};
        argv.insert(argv.end(), c.args.begin(), c.args.end());
        auto result = test::runProcess(argv);
        EXPECT_EQ(result.exitStatus, c.status) << c.args[0];
        EXPECT_TRUE(std::regex_match(result.out, std::regex(c.out))) << c.args[0] << ": " << result.out;
        EXPECT_TRUE(std::regex_match(result.err, std::regex(c.err))) << c.args[0] << ": " << result.err;
    }
}

TEST(GameWindow, WithoutItsDataAnywhereItNamesThePlacesItLookedIn)
{
    namespace fs = std::filesystem;
    if (fs::exists(std::string(installedDataFolder()) + "/Resources")) GTEST_SKIP() << "the game is installed";
    // A copy of the program with no data beside it, started from a folder without Resources/.
    test::ScratchDir dir("no-data");
    fs::create_directories(dir.file("bin"));
    fs::create_directories(dir.file("empty"));
    fs::copy_file(test::gameBinary(), dir.file("bin/tovik3d"));
    test::ProcessOptions options;
    options.workingDirectory = dir.path();
    options.env = {{"TOVIK3D_DATA", dir.file("empty")}};
    auto result = test::runProcess({dir.file("bin/tovik3d")}, options);
    EXPECT_EQ(result.exitStatus, 255);
    EXPECT_TRUE(contains(result.out, "Cannot find the game's Resources/ folder; looked in " + dir.path() +
                                         " (the working directory), " + dir.file("empty") + ", " + dir.file("bin") +
                                         ", " + dir.file("share/tovik3d") + ", " + installedDataFolder() + "\n"))
        << result.out;
    EXPECT_FALSE(contains(result.out, "Do you want")) << "asked before finding the data";
}

TEST(GameWindow, WithoutADisplayItSaysSoAndExitsWithoutHanging)
{
    auto result = runGame({"DISPLAY", "WAYLAND_DISPLAY"}, 60);
    EXPECT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitStatus, 255);
    EXPECT_TRUE(contains(result.out, "Do you want to play in GODMODE? (y/n)\nGLFW failed\n")) << result.out;
}

TEST(GameWindow, OpensTheTitledWindowAndQuitsOnEscape)
{
    if (!test::haveDisplay()) GTEST_SKIP() << "no display";
    test::ScratchDir dir("window");

    // The game runs on the real keyboard here; this test plays the player.
    auto game = std::async(std::launch::async, [] { return runGame({}, 240); });

    std::string tree;
    ASSERT_TRUE(waitForLoadedWindow(game, tree)) << tree;
    std::this_thread::sleep_for(std::chrono::milliseconds(500));

    std::string shot = dir.file("screen.png");
    auto import = test::runProcess({"import", "-window", "root", shot});
    EXPECT_EQ(import.exitStatus, 0) << import.err;

    pressEscape(game);

    auto result = game.get();
    EXPECT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitStatus, 0) << result.out << result.err;
    for (const char* line : {"Welcome!\nOpenGL version: ", "\nGLSL version: ", "\nRenderer: ", "\n---------------------------\n"})
        EXPECT_TRUE(contains(result.out, line)) << line << " in " << result.out;

    test::Image screen = test::loadImage(shot);
    ASSERT_FALSE(screen.empty());
    // The window sits at the screen's top-left corner and is not the bare
    // black of the X server: something was drawn into it.
    test::Colour window = test::meanColour(screen, 0, 0, 1280, 720);
    EXPECT_GT(window.r + window.g + window.b, 3 * 8.0);
}

TEST(GameWindow, AJournalThatRanOutOfDiskIsReportedAtTheEnd)
{
    if (!test::haveDisplay()) GTEST_SKIP() << "no display";
    auto game = std::async(std::launch::async, [] { return runGame({}, 240, {"--record", "/dev/full"}); });
    std::string tree;
    ASSERT_TRUE(waitForLoadedWindow(game, tree)) << tree;
    pressEscape(game);
    auto result = game.get();
    EXPECT_EQ(result.exitStatus, 1) << result.err;
    EXPECT_TRUE(contains(result.err, "tovik3d: cannot write /dev/full: no space left on device\n")) << result.err;
}

} // namespace
} // namespace ruma
