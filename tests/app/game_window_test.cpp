// The real program, from outside: its data folder, its window (with the class and icon taskbars go by),
// its console lines, its exit, and a run played on the real keyboard and mouse that replays exactly.
#include "app/game_data.h"
#include "support/game_run.h"
#include "support/image.h"
#include "support/process.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <future>
#include <numeric>
#include <sstream>
#include <thread>

namespace ruma {
namespace {

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

test::ProcessResult runGame(std::vector<std::string> args)
{
    test::ProcessOptions options;
    // God mode: however slowly the machine draws, the cat never ends a run early.
    options.input = "n n y\n";
    options.workingDirectory = test::sourceDir();
    options.timeoutSeconds = 240;
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

// The id of the loaded window in xwininfo's tree ("0x400007 "Tovik3D": (...").
std::string loadedWindowId(const std::string& tree)
{
    size_t start = tree.rfind("0x", tree.find("\"Tovik3D\": ("));
    return start == std::string::npos ? "" : tree.substr(start, tree.find(' ', start) - start);
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

// A few seconds of play on the real keyboard and mouse: start, walk ahead onto
// the first slime while turning a little either way (a few pixels at a time,
// as a hand does), jump on the way, and quit. Each step is an xdotool command
// and the pause after it, long enough for a game polling once a frame.
void playAFewSeconds()
{
    std::vector<std::pair<std::string, int>> steps = {{"keydown F1", 300}, {"keyup F1", 0}, {"keydown w", 500}};
    for (int i = 0; i < 6; ++i) steps.push_back({"mousemove_relative -- 5 0", 40});
    steps.insert(steps.end(), {{"keydown space", 250}, {"keyup space", 0}});
    for (int i = 0; i < 6; ++i) steps.push_back({"mousemove_relative -- -5 0", 40});
    steps.insert(steps.end(), {{"sleep 5", 0}, {"keyup w", 300}, {"keydown Escape", 400}, {"keyup Escape", 0}});
    for (const auto& [command, milliseconds] : steps) {
        std::vector<std::string> argv = {"xdotool"};
        std::istringstream words(command);
        for (std::string word; words >> word;) argv.push_back(word);
        test::runProcess(argv);
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    }
}

TEST(GameWindow, WithoutItsDataAnywhereItNamesThePlacesItLookedIn)
{
    namespace fs = std::filesystem;
    if (fs::exists(std::string(installedDataFolder()) + "/Resources")) GTEST_SKIP() << "the game is installed";
    // A copy of the program with no data beside it: a Resources/ without the manifest is not the data.
    test::ScratchDir dir("no-data");
    fs::create_directories(dir.file("bin"));
    fs::create_directories(dir.file("Resources"));
    fs::create_directories(dir.file("empty/Resources"));
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

TEST(GameWindow, OpensTheTitledWindowPlaysAndItsJournalReplaysExactly)
{
    if (!test::haveDisplay()) GTEST_SKIP() << "no display";
    test::ScratchDir dir("window");

    // The game runs on the real keyboard here; this test plays the player.
    const std::string journal = dir.file("journal.txt");
    auto game = std::async(std::launch::async, [&] { return runGame({"--record", journal}); });

    std::string tree;
    ASSERT_TRUE(waitForLoadedWindow(game, tree)) << tree;
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    // Taskbars know the window by its class, as the desktop entry's
    // StartupWMClass names it, and show its icon.
    const std::string id = loadedWindowId(tree);
    EXPECT_EQ(test::runProcess({"xprop", "-id", id, "WM_CLASS"}).out, "WM_CLASS(STRING) = \"tovik3d\", \"tovik3d\"\n");
    EXPECT_TRUE(contains(test::runProcess({"xprop", "-id", id, "_NET_WM_ICON"}).out, "Icon (64 x 64):")) << id;

    std::string shot = dir.file("screen.png");
    auto import = test::runProcess({"import", "-window", "root", shot});
    EXPECT_EQ(import.exitStatus, 0) << import.err;

    playAFewSeconds();
    pressEscape(game);

    auto result = game.get();
    EXPECT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitStatus, 0) << result.out << result.err;
    for (const char* line : {"Welcome!\nOpenGL version: ", "\nGLSL version: ", "\nRenderer: ", "\n---------------------------\n"})
        EXPECT_TRUE(contains(result.out, line)) << line << " in " << result.out;

    // The window sits at the screen's top-left corner and is not the bare
    // black of the X server: something was drawn into it.
    test::Image screen = test::loadImage(shot);
    ASSERT_EQ(screen.width, 1280);
    EXPECT_GT(std::accumulate(screen.rgb.begin(), screen.rgb.end(), 0L), 8L * long(screen.rgb.size()));

    // The journal played back meets the same numbers: the same frames, play
    // time and places of the player and the cat, to the last bit.
    std::string live = test::finalStateLine(result.out);
    ASSERT_FALSE(live.empty()) << result.out;
    // The keys arrived: the player walked ahead from z = -4 (on a quiet machine
    // past the first slime at z = 9, which boosts it).
    const char* player = live.c_str() + live.find(", player ") + 9;
    char* end = nullptr;
    for (int axis = 0; axis < 2; ++axis) std::strtod(player, &end), player = end;
    EXPECT_GT(std::strtod(player, nullptr), 0.0) << live;
    auto replay = runGame({"--script", journal});
    EXPECT_EQ(replay.exitStatus, 0) << replay.err;
    EXPECT_EQ(test::finalStateLine(replay.out), live);
}

// A player's run ends on Escape without the replay line; a journal that ran
// out of disk is reported at the end, with status 1.
TEST(GameWindow, APlayersRunEndsOnEscapeAndAJournalThatRanOutOfDiskIsReported)
{
    if (!test::haveDisplay()) GTEST_SKIP() << "no display";
    for (bool journal : {false, true}) {
        auto game = std::async(std::launch::async, [&] {
            return runGame(journal ? std::vector<std::string>{"--record", "/dev/full"} : std::vector<std::string>{});
        });
        std::string tree;
        ASSERT_TRUE(waitForLoadedWindow(game, tree)) << tree;
        pressEscape(game);
        auto result = game.get();
        EXPECT_EQ(result.exitStatus, journal ? 1 : 0) << result.err;
        EXPECT_TRUE(contains(result.out, "---------------------------\n")) << result.out;
        if (journal)
            EXPECT_TRUE(contains(result.err, "tovik3d: cannot write /dev/full: no space left on device\n")) << result.err;
        else
            EXPECT_FALSE(contains(result.out, "final state:")) << result.out;
    }
}

} // namespace
} // namespace ruma
