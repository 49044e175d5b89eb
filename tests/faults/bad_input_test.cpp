// Every file the game reads, damaged one at a time in a copy of Resources/:
// missing, empty, cut in half, a directory in its place, or a file of another
// kind. Each is named at the start; what the game cannot do without ends it
// with that file's message and status 255; a damaged model, sound, window
// icon or cut video leaves a game that plays on.
#include "support/game_run.h"
#include "support/gl_context.h"
#include "support/image.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <set>
#include <thread>

namespace ruma::test {
namespace {

namespace fs = std::filesystem;

enum class Damage { Missing, Empty, Halved, Directory, OtherKind };
const char* const kDamageNames[] = {"missing", "empty", "halved", "a directory", "another kind"};

enum class Kind { Shader, Image, Video, Model, Sound, WindowIcon };

// The files read by a game started with the answers "n n n" (the low-resolution course).
const std::vector<std::pair<Kind, std::vector<std::string>>> kFiles = {
    {Kind::Shader, {"Shader/basic.vert", "Shader/toon.frag", "Shader/basicnolight.frag", "Shader/ui.vert",
                    "Shader/ui.frag", "Shader/text.vert", "Shader/mblur.vert", "Shader/mblur.frag"}},
    {Kind::Image, {"Textures/tovkTex.png", "Textures/tovkTexG.png", "Textures/e1b.jpg", "Textures/e2b.jpg",
                   "Textures/e3b.jpg", "Textures/e4b.jpg", "Textures/skateboard2.png", "Textures/cat.tga",
                   "Textures/slime.png", "Images/controls.jpg", "Images/gameovercat.jpg", "Images/gameoverloch.jpg",
                   "Images/win.jpg", "Images/uiCLOSE.png", "Images/uiNORMAL.png", "Images/uiFAR.png",
                   "Fonts/segeo.png", "Fonts/segeodarkclose.png", "Fonts/segeodarknormal.png",
                   "Fonts/segeodarkfar.png"}},
    {Kind::Video, {"Textures/cat.avi"}},
    {Kind::Model, {"Models/tovk.obj", "Models/e1b.obj", "Models/e2b.obj", "Models/e3b.obj", "Models/e4b.obj",
                   "Models/cat.obj", "Models/slime.obj", "Models/skateboard.dae"}},
    {Kind::Sound, {"Sounds/background.wav", "Sounds/menu.wav", "Sounds/jump.wav", "Sounds/button.wav",
                   "Sounds/fast.wav", "Sounds/win.mp3", "Sounds/lose.mp3", "Sounds/cat.wav"}},
    {Kind::WindowIcon, {"Images/icon.png"}},
};

struct Case {
    std::string file;   // under Resources/
    Kind kind;
    Damage damage;
    int status = 0;
    std::vector<std::string> out;   // the game prints one of these lines on standard output
    std::string err;                // ... and this on standard error
};

Case expected(const std::string& file, Kind kind, Damage damage)
{
    Case c{file, kind, damage, 255, {""}, {}};
    std::string path = "Resources/" + file;
    bool unreadable = damage == Damage::Missing || damage == Damage::Directory;
    switch (kind) {
    case Kind::Shader:
        // Half a shader may still compile, and then lacks its main.
        if (unreadable) c.out = {"failed to open file: " + path + "\n"};
        else c.out = {"Failed to compile shader\n", "Failed to link shader program\n"};
        break;
    case Kind::Image:
        // Half a JPEG or TGA decodes to a partly blank picture, half a PNG does not decode.
        if (damage != Damage::Halved) c.out = {"Texture - unknown image type:" + path + "\n"};
        else if (fs::path(file).extension() == ".png") c.out = {"Failed to load texture:" + path + "\n"};
        else c.status = 0;
        break;
    case Kind::Video:
        // A cut video plays what it has.
        if (damage != Damage::Halved) c.out = {"Failed To Open The AVI Stream\n"};
        else c.status = 0;
        break;
    case Kind::Model:
        c.status = 0;
        if (damage != Damage::Halved) c.err = "ERROR: reading mesh " + path + "\n";
        break;
    case Kind::Sound:
        c.status = 0;   // a sound that cannot be read is silent
        break;
    case Kind::WindowIcon:
        c.status = 0;   // the window manager's own icon stands in
        break;
    }
    return c;
}

void damage(const fs::path& resources, const Case& c)
{
    fs::path target = resources / c.file;
    switch (c.damage) {
    case Damage::Missing:
        break;
    case Damage::Empty:
        std::ofstream(target, std::ios::binary);
        break;
    case Damage::Halved: {
        std::string bytes = readFile(sourceDir() + "/Resources/" + c.file);
        std::ofstream(target, std::ios::binary) << bytes.substr(0, bytes.size() / 2);
        break;
    }
    case Damage::Directory:
        fs::create_directory(target);
        break;
    case Damage::OtherKind:
        fs::create_symlink(resources.parent_path() / "other", target);
        break;
    }
}

struct Outcome {
    ProcessResult process;
    bool played = false;   // a frame of play was drawn and saved
};

Outcome run(const Case& c, std::mutex& scratchLock)
{
    std::unique_ptr<ScratchDir> dir;
    {
        std::lock_guard<std::mutex> hold(scratchLock);
        dir = std::make_unique<ScratchDir>("bad-input");
    }
    // Links to every other file, which stay untouched.
    fs::path resources = linkedResources(*dir, {c.file});
    // Another kind of file: a sound in place of a picture or the video (a picture
    // would play as a one-frame video), a picture in place of anything else.
    bool sound = c.kind == Kind::Image || c.kind == Kind::Video || c.kind == Kind::WindowIcon;
    fs::copy_file(fs::path(sourceDir()) / "Resources" / (sound ? "Sounds/jump.wav" : "Images/win.jpg"), dir->file("other"));
    damage(resources, c);
    // A small window and a fixed frame step: a few frames of play, then Escape.
    GameRunOptions options;
    options.workingDirectory = dir->path();
    options.timeoutSeconds = 180;
    Outcome outcome;
    outcome.process =
        runGameWith("--script", "resize 320 180\nwait 2\ntap F1\nhold 3 W\nshot @DIR@/played.png\nhold 1 ESC\n", *dir,
                    options).process;
    outcome.played = fs::exists(dir->file("played.png"));
    return outcome;
}

// Files missing together: the first that loading reaches is the one reported.
TEST(BadInput, OfTwoMissingFilesTheFirstLoadedIsReported)
{
    if (!haveDisplay()) GTEST_SKIP() << "no display";
    struct Order {
        std::set<std::string> missing;   // under Resources/
        std::vector<std::string> lines;  // standard output holds these, in this order
        std::string absent;
    };
    const std::string missingShader = "failed to open file: Resources/Shader/";
    const std::string unknownImage = "Texture - unknown image type:Resources/Textures/";
    for (const Order& o : std::vector<Order>{
             {{"Textures/tovkTex.png", "Shader/toon.frag"}, {unknownImage + "tovkTex.png\n"}, missingShader},
             {{"Shader/basicnolight.frag"},
              {"  FILE: Resources/Models/tovk.obj \n", "genphysics in tovik called\n",
               missingShader + "basicnolight.frag\n"},
              "  FILE: Resources/Models/e1b.obj"},
             {{"Textures/e1b.jpg", "Shader/basicnolight.frag"}, {unknownImage + "e1b.jpg\n"}, missingShader}}) {
        ScratchDir dir("load-order");
        linkedResources(dir, o.missing);
        GameRunOptions options;
        options.workingDirectory = dir.path();
        ProcessResult p = runGameWith("--script", "", dir, options).process;
        const std::string what = *o.missing.begin();
        EXPECT_EQ(p.exitStatus, 255) << what;
        size_t at = 0;
        for (const std::string& line : o.lines) {
            at = p.out.find(line, at);
            EXPECT_NE(at, std::string::npos) << what << ": no " << line << " in order in\n" << p.out;
        }
        EXPECT_EQ(p.out.find(o.absent), std::string::npos) << what << "\n" << p.out;
    }
}

TEST(BadInput, EachDamagedFileEndsWithItsMessageOrLeavesAGameThatPlays)
{
    if (!haveDisplay()) GTEST_SKIP() << "no display";
    // Two damages for each file, in turn, so that each kind of file meets all
    // five; the video, the only one of its kind, meets them all itself.
    std::vector<Case> cases;
    for (const auto& [kind, files] : kFiles)
        for (size_t i = 0; i < files.size(); ++i)
            for (int d = 0; d < 5; ++d)
                if (files.size() == 1 || d == int(i % 5) || d == int((i + 2) % 5))
                    cases.push_back(expected(files[i], kind, static_cast<Damage>(d)));

    // Two games at a time: the machine's cores, not the cases, set the pace.
    auto start = std::chrono::steady_clock::now();
    std::vector<Outcome> outcomes(cases.size());
    std::atomic<size_t> next{0};
    std::mutex scratchLock;
    std::vector<std::thread> workers;
    for (int w = 0; w < 2; ++w)
        workers.emplace_back([&] {
            for (size_t i = next++; i < cases.size(); i = next++) outcomes[i] = run(cases[i], scratchLock);
        });
    for (auto& worker : workers) worker.join();

    for (size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        const ProcessResult& p = outcomes[i].process;
        std::string what = c.file + " " + kDamageNames[static_cast<int>(c.damage)];
        EXPECT_FALSE(p.timedOut) << what;
        EXPECT_EQ(p.exitStatus, c.status) << what << "\n" << p.out.substr(p.out.size() > 400 ? p.out.size() - 400 : 0) << p.err;
        bool said = false;
        for (const auto& line : c.out) said = said || p.out.find(line) != std::string::npos;
        EXPECT_TRUE(said) << what << ": no " << c.out.back() << " in\n" << p.out;
        EXPECT_NE(p.err.find(c.err), std::string::npos) << what << ": no " << c.err << " in\n" << p.err;
        // Named before it is read, once, however the game then goes on.
        const std::string warning = "Resources/" + c.file + (c.damage == Damage::Missing ? " is missing;" : " is damaged (");
        EXPECT_EQ(p.out.find(warning), p.out.rfind(warning)) << what;
        EXPECT_LT(p.out.find(warning), p.out.find("  FILE: ")) << what << ": not warned before loading\n" << p.out;
        EXPECT_EQ(outcomes[i].played, c.status == 0) << what;
    }
    std::printf("%zu damaged files in %.0f s\n", cases.size(),
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
}

// A picture one pixel wider than the GL takes is named with the limit, then
// ends the game as a picture that cannot be read does.
TEST(BadInput, ATextureLargerThanTheGlTakesEndsNamingTheLimit)
{
    TOVIK3D_REQUIRE_GL();
    GLint largest = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largest);
    ASSERT_GT(largest, 0);
    ScratchDir dir("bad-input-large");
    const std::string resources = linkedResources(dir, {"Textures/tovkTex.png"});
    ASSERT_TRUE(writeImage(resources + "/Textures/tovkTex.png", largest + 1, 1, [](int, int) { return Rgba{}; }));
    GameRunOptions options;
    options.workingDirectory = dir.path();
    const ProcessResult p = runGameWith("--script", "wait 2\ntap F1\nhold 1 ESC\n", dir, options).process;
    EXPECT_EQ(p.exitStatus, 255) << p.out;
    const std::string path = "Resources/Textures/tovkTex.png";
    EXPECT_NE(p.out.find("Texture " + path + " is " + std::to_string(largest + 1) + " x 1 pixels, more than this GL's " +
                         std::to_string(largest) + " a side\nFailed to load texture:" + path + "\n"),
              std::string::npos)
        << p.out;
    EXPECT_EQ(p.out.find(" - main:"), std::string::npos) << p.out;
}

} // namespace
} // namespace ruma::test
