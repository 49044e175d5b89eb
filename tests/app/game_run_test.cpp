// Whole runs of the real game, played by scripts and the autopilot under Xvfb:
// what the player sees at the start, during play, and at each of the three ends.
#include "support/audio.h"
#include "support/game_run.h"
#include "support/image.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

namespace ruma::test {
namespace {

Image picture(const std::string& name) { return loadImage(sourceDir() + "/Resources/Images/" + name); }

// The screen shows the picture, stretched over the window, and not the others.
void expectShowsOnly(const Image& screen, const std::string& shown, const std::vector<std::string>& others)
{
    ASSERT_FALSE(screen.empty());
    EXPECT_LT(fractionDifferent(screen, picture(shown), 40), 0.02) << shown;
    for (const auto& other : others) EXPECT_GT(fractionDifferent(screen, picture(other), 40), 0.3) << other;
}

// Mean step between neighbouring pixels (all channels) below the HUD label: a
// blurred picture has softer edges.
double sharpness(const Image& image)
{
    if (image.empty()) return 0.0;
    double sum = 0.0;
    for (int y = 100; y + 1 < image.height; ++y)
        for (int x = 0; x + 1 < image.width; ++x)
            for (int c = 0; c < 3; ++c)
                sum += std::abs(image.at(x + 1, y)[c] - image.at(x, y)[c]) + std::abs(image.at(x, y + 1)[c] - image.at(x, y)[c]);
    return sum / (double(image.width) * image.height);
}

class GameRunTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!haveDisplay()) GTEST_SKIP() << "no display";
    }
};

TEST_F(GameRunTest, StartedElsewhereOpensOnTheControlsPictureAndPlaysWithTheHud)
{
    ScratchDir dir("run-play");
    // A folder without Resources/: the game finds its data beside the program.
    GameRunOptions options;
    options.workingDirectory = dir.path();
    GameRun run = runGameWith("--script",
                              "wait 3\n"
                              "shot @DIR@/controls.png\n"
                              "hold 1 F1\n"
                              "shot @DIR@/first.png\n"
                              "hold 1 W\n"
                              "shot @DIR@/moving.png\n"
                              "wait 9\n"
                              "shot @DIR@/settled.png\n"
                              "hold 60 W\n"
                              "shot @DIR@/play.png\n"
                              "resize 1 1\n"   // a sliver: kept at the smallest 16:9
                              "wait 2\n"
                              "shot @DIR@/sliver.png\n"
                              "hold 2 ESC\n",
                              dir, options);
    EXPECT_EQ(run.process.exitStatus, 0) << run.process.out << run.process.err;
    EXPECT_EQ(run.process.out.find(" - main:"), std::string::npos) << "a GL error:\n" << run.process.out;
    EXPECT_EQ(loadImage(dir.file("sliver.png")).width, 16);

    for (const char* warning : {" is damaged (", " is missing;"})
        EXPECT_EQ(run.process.out.find(warning), std::string::npos) << "a clean tree gets no warning";

    expectShowsOnly(loadImage(dir.file("controls.png")), "controls.jpg", {"win.jpg", "gameovercat.jpg", "gameoverloch.jpg"});
    keepForDocs(dir.file("controls.png"), "controls.png");
    keepForDocs(dir.file("play.png"), "play.png");

    // The frame of F1 already shows the player's view, and the first step is
    // drawn without a smear from nowhere.
    const Image settled = loadImage(dir.file("settled.png"));
    EXPECT_LT(fractionDifferent(loadImage(dir.file("first.png")), settled, 40), 0.1);
    EXPECT_GT(sharpness(loadImage(dir.file("moving.png"))), 0.8 * sharpness(settled));

    // In play: the course, not a picture.
    EXPECT_GT(fractionDifferent(loadImage(dir.file("play.png")), picture("controls.jpg"), 40), 0.5);
}

// Started from a menu: the answers come as options and nothing is read from
// the console. F12 saves what the window shows into the pictures folder.
TEST_F(GameRunTest, AnswersAsOptionsAndTheScreenshotKey)
{
    namespace fs = std::filesystem;
    ScratchDir dir("run-options");
    for (bool writable : {true, false}) {
        const std::string pictures = writable ? dir.file("pictures") : "/proc/no-pictures-here";
        GameRunOptions options;
        options.answers = "";   // standard input closed at once
        options.arguments = {"--windowed", "--high-res", "--no-god"};
        options.env = {{"XDG_PICTURES_DIR", pictures}, {"HOME", dir.path()}};
        GameRun run = runGameWith("--script",
                                  "wait 3\n"
                                  "hold 1 F12\n"
                                  "shot @DIR@/window.png\n"
                                  "hold 5 F12\n"   // held: still one picture
                                  "hold 2 ESC\n",
                                  dir, options);
        EXPECT_EQ(run.process.exitStatus, 0) << run.process.out << run.process.err;
        EXPECT_EQ(run.process.out.find("Do you want"), std::string::npos) << run.process.out;
        EXPECT_NE(run.process.out.find("  FILE: Resources/Models/e1.obj \n"), std::string::npos);
        Image window = loadImage(dir.file("window.png"));
        expectShowsOnly(window, "controls.jpg", {"win.jpg"});
        if (!writable) {
            EXPECT_NE(run.process.out.find("Cannot save a screenshot in /proc/no-pictures-here/tovik3d\n"),
                      std::string::npos) << run.process.out;
            continue;
        }
        std::vector<fs::path> saved;
        for (const auto& entry : fs::directory_iterator(pictures + "/tovik3d")) saved.push_back(entry.path());
        ASSERT_EQ(saved.size(), 1u);
        const std::string name = saved[0].filename().string();
        EXPECT_TRUE(name.size() == 27 && name.rfind("tovik3d-", 0) == 0 && name[16] == '-' &&
                    name.substr(23) == ".png") << name;
        EXPECT_NE(run.process.out.find("Screenshot: " + saved[0].string() + "\n"), std::string::npos);
        EXPECT_EQ(fractionDifferent(loadImage(saved[0].string()), window, 0), 0.0);   // the whole window, as it is
    }
}

TEST_F(GameRunTest, StandingOnTheCatsLineEndsOnTheCaughtPicture)
{
    ScratchDir dir("run-caught");
    GameRun run = runGameWith("--autopilot", routeText("caught.route"), dir);
    EXPECT_EQ(run.process.exitStatus, 0) << run.process.err;
    EXPECT_EQ(run.process.err.find("autopilot: stuck"), std::string::npos) << run.process.err;
    expectShowsOnly(loadImage(dir.file("end.png")), "gameovercat.jpg", {"win.jpg", "gameoverloch.jpg"});
    keepForDocs(dir.file("end.png"), "caught.png");
}

TEST_F(GameRunTest, WalkingIntoHoleAEndsOnTheHolePictureWithItsJingle)
{
    ScratchDir dir("run-hole");
    // Every sound silent but the two jingles, each a tone of its own pitch.
    std::string resources = linkedResources(dir, {"Sounds/background.wav", "Sounds/menu.wav", "Sounds/jump.wav",
                                                  "Sounds/button.wav", "Sounds/fast.wav", "Sounds/cat.wav",
                                                  "Sounds/win.mp3", "Sounds/lose.mp3"});
    for (const char* silent : {"background", "menu", "jump", "button", "fast", "cat"})
        writeTone(resources + "/Sounds/" + silent + ".wav", 0.0, 1.0, kWav, 0.0, 0.0);
    writeTone(resources + "/Sounds/win.mp3", 600.0, 0.5, kMp3);
    writeTone(resources + "/Sounds/lose.mp3", 300.0, 0.5, kMp3);
    // OpenAL Soft writes what it mixes into a file, in real time.
    dir.write("alsoft.conf", "[general]\ndrivers=wave\nchannels=mono\nsample-type=int16\nfrequency=22050\n"
                             "[wave]\nfile=" + dir.file("heard.wav") + "\n");
    GameRunOptions options;
    options.workingDirectory = dir.path();
    options.env = {{"ALSOFT_CONF", dir.file("alsoft.conf")}};
    options.unsetEnv = {"ALSOFT_DRIVERS"};
    GameRun run = runGameWith("--autopilot", routeText("hole.route"), dir, options);
    EXPECT_EQ(run.process.exitStatus, 0) << run.process.err;
    EXPECT_EQ(run.process.err.find("autopilot: stuck"), std::string::npos) << run.process.err;
    expectShowsOnly(loadImage(dir.file("controls.png")), "controls.jpg", {"gameoverloch.jpg"});
    expectShowsOnly(loadImage(dir.file("end.png")), "gameoverloch.jpg", {"win.jpg", "gameovercat.jpg"});
    keepForDocs(dir.file("end.png"), "hole.png");

    // The first thing a player hears is the lose jingle, after the fall.
    Sound heard = readMono(dir.file("heard.wav"));
    auto start = std::find_if(heard.samples.begin(), heard.samples.end(), [](float s) { return std::fabs(s) > 0.01f; });
    ASSERT_GT(heard.samples.end() - start, heard.rate / 4) << "no jingle was heard";
    EXPECT_NEAR(frequency(std::vector<float>(start, start + heard.rate / 4), heard.rate), 300.0, 5.0);
}

// What the autopilot tells of a run: slimes taken, when and how it ended, and
// how near the cat came once it could catch.
struct RouteReport {
    int slimes = -1;
    double seconds = 0.0;
    std::string how;
    double closestCat = -1.0;
};

RouteReport routeReport(const std::string& err)
{
    RouteReport report;
    size_t at = err.find("autopilot: took ");
    char how[64] = "";
    if (at != std::string::npos)
        std::sscanf(err.c_str() + at, "autopilot: took %d slimes, the run ended at %lf s: %63[^\n]", &report.slimes,
                    &report.seconds, how);
    report.how = how;
    at = err.find("autopilot: the cat came closest, ");
    if (at != std::string::npos) std::sscanf(err.c_str() + at, "autopilot: the cat came closest, %lf", &report.closestCat);
    return report;
}

// A route played at another frame rate, in a small window: drawn five times
// faster, played the same.
std::string atFrameRate(std::string route, int fps)
{
    const std::string thirty = "dt 0.0333333\n";
    const size_t at = route.find(thirty);
    EXPECT_NE(at, std::string::npos) << "the route has no frame step to change";
    if (at == std::string::npos) return route;
    char step[64];
    std::snprintf(step, sizeof step, "dt %.9f\nresize 256 144\n", 1.0 / fps);
    return route.replace(at, thirty.size(), step);
}

// The slimes on the player's line make the run: taken on the way, their boosts
// bring the player to the goal well before an unboosted walk could (boosted, at
// about 69 s; walking alone, at about 85 s). At a slow and a fast machine's
// frame rate jumps, boosts and slimes behave alike, so the route still wins and
// the cat stays as far behind.
TEST_F(GameRunTest, TheWholeCourseIsWonOnThePlayersLineAlikeAtFifteenThirtyAndAHundredAndFortyFourFramesASecond)
{
    for (int fps : {30, 15, 144}) {
        ScratchDir dir("run-win-" + std::to_string(fps));
        GameRunOptions options;
        options.timeoutSeconds = 900;
        const std::string route = routeText("win.route");   // at 30 frames a second
        GameRun run = runGameWith("--autopilot", fps == 30 ? route : atFrameRate(route, fps), dir, options);
        EXPECT_EQ(run.process.exitStatus, 0) << run.process.err;
        EXPECT_EQ(run.process.err.find("autopilot: stuck"), std::string::npos) << run.process.err;
        const RouteReport report = routeReport(run.process.err);
        EXPECT_EQ(report.how, "won") << fps << " fps\n" << run.process.err;
        EXPECT_GE(report.slimes, 9) << fps << " fps";
        EXPECT_LT(report.seconds, 78.0) << fps << " fps";
        if (fps != 30) {
            EXPECT_GE(report.closestCat, 10.0) << fps << " fps";
            continue;
        }
        expectShowsOnly(loadImage(dir.file("end.png")), "win.jpg", {"gameovercat.jpg", "gameoverloch.jpg"});
        keepForDocs(dir.file("end.png"), "win.png");
    }
}

// A boosted jump is no higher at 15 frames a second than at 60: jumping at the
// 3-unit wall between the hall's first two lanes, boosted by slime 5, leaves
// the player in the first lane.
TEST_F(GameRunTest, ABoostedJumpAtALaneWallDoesNotClearItAtFifteenFramesASecond)
{
    std::string route = routeText("win.route");
    route = route.substr(0, route.find("walkto 67.95 55.5"));   // as far as slime 5
    route += "walkto 70.0 19.1\n"   // on towards the wall, facing it
             "hold 3 W SPACE\n"
             "hold 12 W\n"
             "waitend 0\n";
    ScratchDir dir("run-lane-wall");
    GameRun run = runGameWith("--autopilot", atFrameRate(route, 15), dir);
    EXPECT_EQ(run.process.exitStatus, 0) << run.process.err;
    EXPECT_GE(routeReport(run.process.err).slimes, 5) << run.process.err;
    const size_t at = run.process.err.rfind("player at ");
    ASSERT_NE(at, std::string::npos) << run.process.err;
    double x = 0.0;
    ASSERT_EQ(std::sscanf(run.process.err.c_str() + at, "player at %lf", &x), 1);
    EXPECT_GT(x, 67.5) << "over the wall into lane 2\n" << run.process.err;
}

// What `cpack -G DEB` makes: a package whose dependencies are the libraries the
// program links, that installs the game, its data, its desktop files and its
// papers where Debian wants them, that lintian finds nothing wrong with, and
// that plays wherever it is unpacked, started the way a desktop menu starts it.
TEST_F(GameRunTest, TheDebianPackageInstallsCleanlyAndPlaysWhereverItIsUnpacked)
{
    namespace fs = std::filesystem;
    ScratchDir dir("package");
    ProcessOptions inBuild;
    inBuild.workingDirectory = buildDir();
    inBuild.timeoutSeconds = 600;
    ProcessResult pack = runProcess({TOVIK3D_CPACK, "-G", "DEB", "-B", dir.path()}, inBuild);
    ASSERT_EQ(pack.exitStatus, 0) << pack.out << pack.err;
    std::string deb;
    for (const auto& entry : fs::directory_iterator(dir.path()))
        if (entry.path().extension() == ".deb") deb = entry.path().string();
    ASSERT_FALSE(deb.empty()) << pack.out;
    std::string depends = runProcess({"dpkg-deb", "-f", deb, "Depends"}).out;
    for (const char* library : {"libglfw3", "libopenal1", "libassimp", "libfreeimage3", "libc6"})
        EXPECT_NE(depends.find(library), std::string::npos) << library << " not in " << depends;
    ProcessOptions slow;
    slow.timeoutSeconds = 300;
    ProcessResult lint = runProcess({"lintian", "-EvIL", "+pedantic", "--fail-on", "error,warning", deb}, slow);
    EXPECT_EQ(lint.exitStatus, 0) << lint.out << lint.err;

    // Installed by dpkg into a root of its own (the libraries are the host's),
    // then removed without a trace.
    const std::string root = dir.file("root");
    for (const char* folder : {"var/lib/dpkg/info", "var/lib/dpkg/updates", "var/log"}) fs::create_directories(root + "/" + folder);
    std::ofstream(root + "/var/lib/dpkg/status").flush();
    auto dpkg = [&](std::vector<std::string> args) {
        args.insert(args.begin(), {"dpkg", "--root=" + root, "--force-depends", "--force-not-root"});
        return runProcess(args, slow);
    };
    ProcessResult install = dpkg({"--install", deb});
    ASSERT_EQ(install.exitStatus, 0) << install.out << install.err;
    std::string usr = dir.file("root/usr");
    std::set<std::string> expected = {"games/tovik3d", "share/applications/tovik3d.desktop",
                                      "share/metainfo/tovik3d.metainfo.xml", "share/man/man6/tovik3d.6.gz",
                                      "share/doc/tovik3d/copyright", "share/doc/tovik3d/changelog.gz",
                                      "share/lintian/overrides/tovik3d"};
    for (int size : {32, 48, 64, 128, 256})
        expected.insert("share/icons/hicolor/" + std::to_string(size) + "x" + std::to_string(size) + "/apps/tovik3d.png");
    for (const std::string& file : filesUnder(sourceDir() + "/Resources")) expected.insert("share/tovik3d/Resources/" + file);
    EXPECT_EQ(filesUnder(usr), expected);
    EXPECT_EQ(runProcess({"appstreamcli", "validate", "--no-net", usr + "/share/metainfo/tovik3d.metainfo.xml"}).exitStatus, 0);
    EXPECT_EQ(runProcess({"desktop-file-validate", usr + "/share/applications/tovik3d.desktop"}).exitStatus, 0);
    // The installed help names the installed data.
    ProcessOptions elsewhere;
    elsewhere.workingDirectory = "/";
    elsewhere.unsetEnv = {"TOVIK3D_DATA"};
    EXPECT_NE(runProcess({usr + "/games/tovik3d", "--help"}, elsewhere).out.find("reads " + usr + "/share/tovik3d/Resources.\n"),
              std::string::npos);

    // The menu's commands: the entry's Exec lines, with no console behind them.
    const std::string entry = readFile(usr + "/share/applications/tovik3d.desktop");
    std::vector<std::vector<std::string>> commands;
    for (size_t at = entry.find("\nExec=tovik3d"); at != std::string::npos; at = entry.find("\nExec=tovik3d", at + 1)) {
        const size_t from = at + 14;
        std::istringstream words(entry.substr(from, entry.find('\n', from) - from));
        commands.emplace_back();
        for (std::string word; words >> word;) commands.back().push_back(word);
    }
    ASSERT_EQ(commands.size(), 3u) << entry;   // play, in full screen, in god mode
    for (std::vector<std::string> command : commands) {
        // Options the game understands, answering all three questions.
        EXPECT_EQ(command.size(), 3u);
        command.insert(command.begin(), usr + "/games/tovik3d");
        command.push_back("--version");
        EXPECT_EQ(runProcess(command, elsewhere).exitStatus, 0) << command[1];
    }
    GameRunOptions desktop;
    desktop.binary = usr + "/games/tovik3d";
    desktop.arguments = commands.front();
    desktop.answers = "";
    desktop.workingDirectory = "/";
    GameRun run = runGameWith("--script", "wait 3\nshot @DIR@/controls.png\nhold 2 ESC\n", dir, desktop);
    EXPECT_EQ(run.process.exitStatus, 0) << run.process.out << run.process.err;
    EXPECT_EQ(run.process.out.find("Do you want"), std::string::npos) << run.process.out;
    expectShowsOnly(loadImage(dir.file("controls.png")), "controls.jpg", {"win.jpg", "gameovercat.jpg"});

    ProcessResult remove = dpkg({"--purge", "tovik3d"});
    EXPECT_EQ(remove.exitStatus, 0) << remove.out << remove.err;
    EXPECT_TRUE(filesUnder(usr).empty());
}

// Half the size, each pixel the mean of a 2 x 2 block: the stored references
// stay small and one-pixel speckle averages out.
Image halved(const Image& full)
{
    Image half;
    half.width = full.width / 2;
    half.height = full.height / 2;
    half.rgb.resize(static_cast<size_t>(half.width) * half.height * 3);
    for (int y = 0; y < half.height; ++y)
        for (int x = 0; x < half.width; ++x)
            for (int c = 0; c < 3; ++c)
                half.rgb[(static_cast<size_t>(y) * half.width + x) * 3 + c] = static_cast<unsigned char>(
                    (full.at(2 * x, 2 * y)[c] + full.at(2 * x + 1, 2 * y)[c] + full.at(2 * x, 2 * y + 1)[c] +
                     full.at(2 * x + 1, 2 * y + 1)[c] + 2) / 4);
    return half;
}

// Every picture of a run must match its committed reference (tests/app/pictures/)
// within the software renderer's noise. TOVIK3D_WRITE_PICTURES=1 writes the
// references from the current build instead.
void expectLooksLikeReferences(const ScratchDir& dir, const std::vector<std::string>& shots)
{
    const std::string references = sourceDir() + "/tests/app/pictures/";
    const bool writing = std::getenv("TOVIK3D_WRITE_PICTURES") != nullptr;
    for (const std::string& shot : shots) {
        Image seen = halved(loadImage(dir.file(shot + ".png")));
        ASSERT_FALSE(seen.empty()) << shot;
        if (writing) {
            ASSERT_TRUE(writeImage(references + shot + ".png", seen.width, seen.height, [&](int x, int y) {
                const unsigned char* p = seen.at(x, seen.height - 1 - y);
                return Rgba{p[0], p[1], p[2]};
            }));
            continue;
        }
        Image expected = loadImage(references + shot + ".png");
        ASSERT_EQ(expected.width, seen.width) << shot;
        ASSERT_EQ(expected.height, seen.height) << shot;
        EXPECT_LE(fractionDifferent(seen, expected, 12), 0.002) << shot;
    }
}

// The controls picture, then play through the motion blur and the HUD,
// walking and turning past the cat and the first slime; then every white HUD
// line at once (statistics, wireframe on and off again, sampling, mipmaps,
// transparency), before and after the slime's boost. Faster drawing must not
// change what is seen, and the distance overlay lies over the lines.
TEST_F(GameRunTest, AScriptedRunLooksLikeItsReferencePictures)
{
    ScratchDir dir("run-pictures");
    GameRun run = runGameWith("--script",
                              "dt 0.0333333\n"
                              "wait 3\n"
                              "shot @DIR@/controls.png\n"
                              "tap F1\n"
                              "hold 15 W\n"
                              "shot @DIR@/walk.png\n"
                              "hold 12 W look 8 0\n"
                              "shot @DIR@/turn.png\n"
                              "hold 20 W C look -8 0\n"
                              "shot @DIR@/front.png\n"
                              "hold 30 W\n"
                              "shot @DIR@/slime.png\n"
                              "tap F2\ntap F3\ntap F3\ntap F4\ntap F5\ntap F9\n"
                              "shot @DIR@/lines.png\n"
                              "hold 10 W\n"
                              "shot @DIR@/lines_boost.png\n"
                              "hold 2 ESC\n",
                              dir);
    ASSERT_EQ(run.process.exitStatus, 0) << run.process.err;
    expectLooksLikeReferences(dir, {"controls", "walk", "turn", "front", "slime", "lines", "lines_boost"});
    // The statistics line's white glyphs, at the bottom left, take the
    // overlay's colour: none stays white.
    for (const char* shot : {"lines", "lines_boost"}) {
        const Image seen = loadImage(dir.file(std::string(shot) + ".png"));
        ASSERT_FALSE(seen.empty());
        int brightest = 0, whitest = 0;
        for (int y = seen.height - 16; y < seen.height; ++y)
            for (int x = 20; x < 600; ++x) {
                const unsigned char* p = seen.at(x, y);
                brightest = std::max(brightest, p[0] + p[1] + p[2]);
                whitest = std::max(whitest, int(std::min({p[0], p[1], p[2]})));
            }
        EXPECT_GT(brightest, 3 * 180) << shot << ": no statistics line";
        EXPECT_LT(whitest, 240) << shot << ": a white line over the overlay";
    }
}

// In a window smaller than the pictures, the controls and end pictures are
// drawn from their smaller levels, as every texture is.
TEST_F(GameRunTest, ASmallWindowShowsThePicturesAsTheReferences)
{
    ScratchDir dir("run-small");
    GameRun run = runGameWith("--autopilot",
                              "dt 0.0333333\n"
                              "resize 960 540\n"
                              "wait 3\n"
                              "shot @DIR@/small_controls.png\n"
                              "tap F1\n"
                              "walkto 2.6 10.5\n"
                              "waitend 60\n"
                              "shot @DIR@/small_caught.png\n"
                              "hold 2 ESC\n",
                              dir);
    ASSERT_EQ(run.process.exitStatus, 0) << run.process.err;
    expectLooksLikeReferences(dir, {"small_controls", "small_caught"});
}

} // namespace
} // namespace ruma::test
