// The whole game loaded into the test's GL context and driven frame by frame
// through the scripted platform: the world it builds, what each frame shows
// and hears in each state, the keys, the slimes, the cat, and the release.
#include "app/frame_loop.h"
#include "app/function_keys.h"
#include "app/game_rules.h"
#include "app/game_start.h"
#include "app/startup.h"
#include "places/lamps.h"
#include "platform/file_read.h"
#include "platform/math_conventions.h"
#include "platform/scripted_platform.h"
#include "platform/window.h"
#include "render/draw_stats.h"
#include "render/motion_blur.h"
#include "render/picture_screen.h"
#include "render/render_settings.h"
#include "render/renderer.h"
#include "render/shader.h"
#include "render/texture.h"
#include "render/video_texture.h"
#include "scene/animated_object.h"
#include "scene/cat.h"
#include "scene/slime.h"
#include "scene/tovik.h"
#include "sound/sound_engine.h"
#include "sound/sound_player.h"
#include "support/gl_context.h"
#include "text/text_renderer.h"
#include "world/controls.h"
#include "world/physics.h"
#include "world/start_answers.h"
#include "world/world.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <map>
#include <mutex>
#include <set>
#include <thread>

namespace ruma::test {
namespace {

// The shader files opened, by path, while a test counts them.
std::mutex shaderReadsLock;
std::map<std::string, int> shaderReads;

void countShaderRead(const std::string& path)
{
    std::lock_guard<std::mutex> hold(shaderReadsLock);
    if (path.find("Resources/Shader/") != std::string::npos) ++shaderReads[path];
}

// Stands in for a render entry's object and notes the GL state its draw sees.
class Watched : public Drawable {
public:
    explicit Watched(Drawable* real_) : real(real_) { kind = real->kind; }
    void update(double dt) override { real->update(dt); }
    void draw() override
    {
        note();
        real->draw();
    }
    void drawNearestFirst(const glm::vec3& eye, const Frustum* frustum) override
    {
        note();
        real->drawNearestFirst(eye, frustum);
    }
    void note()
    {
        ++draws;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &texture);
        blended = glIsEnabled(GL_BLEND);
        GLint mode[2] = {0, 0};
        glGetIntegerv(GL_POLYGON_MODE, mode);
        lines = mode[0] == GL_LINE;
        // A lit object's program is given the camera's place for its highlights.
        GLint program = 0;
        glGetIntegerv(GL_CURRENT_PROGRAM, &program);
        GLint at = glGetUniformLocation(GLuint(program), "cameraPosition");
        GLfloat camera[3] = {0, 0, 0};
        if (at >= 0) glGetUniformfv(GLuint(program), at, camera);
        litFrom = glm::vec3(camera[0], camera[1], camera[2]);
    }
    bool isTransparent() override { return real->isTransparent(); }
    bool isUnlit() override { return real->isUnlit(); }
    std::string getName() override { return real->getName(); }
    void setName(std::string name) override { real->setName(std::move(name)); }
    Shader* getShader() override { return real->getShader(); }
    const glm::mat4& modelMatrix() const override { return real->modelMatrix(); }
    const std::vector<MeshRecord>& meshRecords() const override { return real->meshRecords(); }

    Drawable* real;
    int draws = 0;
    GLint texture = 0;
    bool blended = false;
    bool lines = false;
    glm::vec3 litFrom = glm::vec3(0.0f);
};

// The HUD's text renderer, keeping the white lines of each frame by height.
class HudLines : public TextRenderer {
public:
    void drawText(bool plainFont, const char* text, int x, int y, int size, int width, int height) override
    {
        if (plainFont && x == 20) lines[y] = text;
        TextRenderer::drawText(plainFont, text, x, y, size, width, height);
    }
    std::string at(int y) const { return lines.count(y) ? lines.at(y) : ""; }
    std::map<int, std::string> lines;
};

class LoadedGame : public ::testing::Test {
protected:
    void SetUp() override
    {
        TOVIK3D_REQUIRE_GL();
        loaded = true;
        setPlatform(&scripted);
        resetRenderSettings();
        clearKeyLatches();
        running = true;
        catDistance = 0;
        frameCounter = 0;   // no HUD refresh hides a line during a test
        highResTextures = false;
        godMode = false;
        load();
    }
    void TearDown() override
    {
        if (!loaded) return;
        unwatch();
        if (controls) releaseGame();
        setPlatform(nullptr);
        onFileOpened = nullptr;
    }
    void load()
    {
        initPhysics();
        testing::internal::CaptureStdout();
        shaderReads.clear();
        onFileOpened = countShaderRead;
        // As the game loads: its files read ahead on a thread of their own.
        startLoadingAhead();
        loadGameObjects();
        loadedAheadOutOfStep = finishLoadingAhead();
        loadLog = testing::internal::GetCapturedStdout();
        openRun();
    }
    // One frame of the game loop with the given keys held, mouse motion and frame time.
    void frame(std::vector<int> keys = {}, bool focused = true, double cursorDx = 0.0, double dt = 1.0 / 60.0,
               bool draw = true)
    {
        FrameInput input;
        input.keys = std::move(keys);
        input.focused = focused;
        input.cursorDx = cursorDx;
        input.pad = pad;
        input.dt = dt;
        scripted.appendFrames({input});
        double before = scripted.time();
        scripted.pollEvents();
        double step = scripted.time() - before;
        if (hud) hud->lines.clear();
        for (Watched* w : watched) w->draws = 0;
        updateFrame(step);
        if (draw) renderFrame(step);
    }
    void frames(int count, std::vector<int> keys = {}, bool focused = true)
    {
        for (int i = 0; i < count; ++i) frame(keys, focused);
    }
    // Game logic only, in steps of dt, until the play clock has gone on by seconds.
    void playFor(double seconds, double dt = 0.1)
    {
        double end = currentGameTime() + seconds - 1e-9;
        while (currentGameTime() < end) frame({}, true, 0.0, dt, false);
    }
    void startPlay()
    {
        frame({GLFW_KEY_F1});
        frame();
        ASSERT_EQ(runPhase().phase, Phase::Play);
    }
    glm::vec3 playerPlace() const { return glm::vec3(player->model[3]); }
    // Puts the player's feet at the point, at rest.
    void standAt(const glm::vec3& feet)
    {
        btTransform t = playerBody->getWorldTransform();
        t.setOrigin(btVector3(feet.x, feet.y + 0.625f, feet.z));
        playerBody->setWorldTransform(t);
        playerBody->setLinearVelocity(btVector3(0, 0, 0));
        playerBody->activate(true);
    }
    // Every render entry's object behind a watcher, by list index.
    void watch()
    {
        for (RenderEntry& entry : renderList) {
            watched.push_back(new Watched(entry.object));
            entry.object = watched.back();
        }
    }
    void unwatch()
    {
        for (size_t i = 0; i < watched.size(); ++i) {
            renderList[i].object = watched[i]->real;
            delete watched[i];
        }
        watched.clear();
    }
    // The HUD's white lines are recorded from now on.
    void recordHud()
    {
        textRenderer->release();
        delete textRenderer;
        textRenderer = hud = new HudLines;
    }

    ScriptedPlatform scripted{{}};
    PadState pad;   // the gamepad during the frames that follow
    bool loaded = false;
    std::string loadLog;
    std::vector<std::string> loadedAheadOutOfStep;
    std::vector<Watched*> watched;
    HudLines* hud = nullptr;
};

// The course and the cat's board are flat-coloured; the characters and slimes
// are lit by the lamps, the player and the slimes show what lies behind them,
// and the cat shows its video face from afar. Every file they were made from
// was read ahead, and nothing read ahead went unused.
TEST_F(LoadedGame, EachKindOfObjectIsDrawnAsItShouldBe)
{
    EXPECT_TRUE(loadedAheadOutOfStep.empty()) << ::testing::PrintToString(loadedAheadOutOfStep);
    startPlay();
    watch();
    transparency = true;
    frame();
    ASSERT_EQ(renderList.size(), 18u);
    ASSERT_EQ(slimeList.size(), 11u);
    for (size_t i = 0; i < renderList.size(); ++i) {
        const std::string name = watched[i]->getName();
        ASSERT_EQ(name, i < 4 ? "Level" : i == 4 ? "Animated Object" : i == 5 ? "Cat" : i == 6 ? "Tovik" : "Slime");
        if (name == "Level") {
            EXPECT_TRUE(watched[i]->isUnlit());   // its program has no lamps to use
            if (watched[i]->draws == 0) continue;   // culled
        }
        ASSERT_EQ(watched[i]->draws, 1) << i << " " << name;
        EXPECT_EQ(watched[i]->blended, i >= 6) << i << " " << name;   // the player and the slimes
        EXPECT_EQ(watched[i]->litFrom == controls->cameraPosition, i >= 5) << i << " " << name;
    }
    EXPECT_GT(watched[0]->draws, 0);   // the section the player stands on

    // The cat wears its video only while it is farther than seven.
    for (int distance : {30, 8, 7, 0}) {
        catDistance = distance;
        renderFrame(1.0 / 60.0);
        GLuint expected = distance > 7 ? renderList[5].videoTexture->handle : renderList[5].texture->handle;
        EXPECT_EQ(GLuint(watched[5]->texture), expected) << distance;
    }
}

// Each shader file is read once, while the game loads, and every program is
// built then: a run that meets every number of lamps in range reads and
// builds nothing more (a damaged file cannot end it half-way).
TEST_F(LoadedGame, ShaderFilesAreReadOnceAndNoProgramIsBuiltInPlay)
{
    for (const char* file : {"basic.vert", "toon.frag", "basicnolight.frag", "ui.vert", "ui.frag", "text.vert",
                             "mblur.vert", "mblur.frag"})
        EXPECT_EQ(shaderReads[std::string("Resources/Shader/") + file], 1) << file;
    EXPECT_EQ(shaderReads.size(), 8u);
    startPlay();
    const unsigned long built = programBuildCount;
    const std::map<std::string, int> readBefore = shaderReads;
    // Under each lamp, and far from all of them.
    std::set<size_t> met;
    std::vector<glm::vec3> places = {glm::vec3(30.0f, 1.0f, -10.0f)};
    for (const LampPlace& lamp : kLamps) places.push_back(glm::vec3(lamp.x, lamp.y - 2.85f, lamp.z));
    for (const glm::vec3& place : places) {
        standAt(place);
        frame();
        const glm::vec3 at = renderer->camera.lookAt;
        met.insert(renderer->selectLights(at.x, at.y, at.z).size());
    }
    EXPECT_EQ(met, (std::set<size_t>{0, 2, 4, 6}));
    EXPECT_EQ(programBuildCount, built);
    EXPECT_EQ(shaderReads, readBefore);
}

TEST_F(LoadedGame, TouchingASlimeTakesItAndBoostsThePlayerUntilItReturns)
{
    startPlay();
    watch();
    Watched* playerDraw = watched[6];
    scene::Slime* slime = slimeList[1];   // a still one, on the first floor
    const glm::vec3 place = translationOf(slime->model);
    // How far the blur smears a frame of a sixtieth of a second.
    auto blurScale = [] {
        GLfloat scale = 0.0f;
        glGetUniformfv(motionBlur->shader->program, motionBlur->velocityScaleLocation, &scale);
        return scale;
    };
    frame();
    EXPECT_EQ(GLuint(playerDraw->texture), playerTexture->handle);
    EXPECT_FALSE(controls->isFast());
    EXPECT_NEAR(blurScale(), 0.1f, 1e-5f);

    standAt(place + glm::vec3(2.0f, 0.0f, 0.0f));   // near is not enough
    frames(2);
    EXPECT_FALSE(controls->isFast());
    EXPECT_EQ(translationOf(slime->model), place);

    standAt(place);
    frame();
    const double takenAt = scripted.time();
    EXPECT_GT(translationOf(slime->model).y, place.y + 900.0f) << "the slime was not taken";
    ASSERT_TRUE(controls->isFast());
    EXPECT_EQ(GLuint(playerDraw->texture), playerBoostTexture->handle);
    frame();
    EXPECT_EQ(GLuint(playerDraw->texture), playerBoostTexture->handle);
    EXPECT_NEAR(blurScale(), 0.2f, 1e-5f) << "a boost smears twice as far";

    // The boost is over long before the slime comes back to its place, under
    // the player's feet, where it is taken again.
    playFor(4.8 - (scripted.time() - takenAt));
    frame();
    EXPECT_FALSE(controls->isFast());
    EXPECT_EQ(GLuint(playerDraw->texture), playerTexture->handle);
    EXPECT_GT(translationOf(slime->model).y, place.y + 900.0f);
    playFor(5.0 - (scripted.time() - takenAt), 0.05);
    frame();
    EXPECT_TRUE(controls->isFast()) << "the slime did not come back after five seconds";
    EXPECT_EQ(GLuint(playerDraw->texture), playerBoostTexture->handle);
}

TEST_F(LoadedGame, EachFunctionKeyActsOncePerPressAndTheHudSaysSo)
{
    startPlay();
    watch();
    recordHud();
    frame({GLFW_KEY_F2});   // the statistics, for the culling line
    frame();
    auto filter = [](GLenum which) {
        GLint value = 0;
        glBindTexture(GL_TEXTURE_2D, renderList[0].texture->handle);
        glGetTexParameteriv(GL_TEXTURE_2D, which, &value);
        switch (value) {
        case GL_NEAREST: return "nearest";
        case GL_LINEAR: return "linear";
        case GL_LINEAR_MIPMAP_NEAREST: return "linear, nearest mipmap";
        case GL_LINEAR_MIPMAP_LINEAR: return "linear, linear mipmap";
        default: return "other";
        }
    };
    auto drawn = [&] {
        int count = 0;
        for (Watched* w : watched) count += w->draws;
        std::string line = hud->at(5);
        std::string number = std::to_string(count);
        bool matches = line.size() > number.size() && line.compare(line.size() - number.size(), number.size(), number) == 0;
        return line.substr(0, line.rfind(' ') + 1) + (count == 18 ? "all" : number) + (matches ? "" : " (miscounted)");
    };
    struct Case {
        int key;
        std::function<std::string()> seen;
        std::vector<std::string> afterEachPress;
    };
    const Case cases[] = {
        {GLFW_KEY_F3, [&] { return std::string(watched[6]->lines ? "lines | " : "filled | ") + hud->at(80); },
         {"lines | WireFrame-Mode ON", "filled | "}},
        {GLFW_KEY_F4, [&] { return filter(GL_TEXTURE_MAG_FILTER) + std::string(" | ") + hud->at(130); },
         {"nearest | Texture Sampling Quality: NearestNeighbor", "linear | Texture Sampling Quality: Bilinear"}},
        {GLFW_KEY_F5, [&] { return filter(GL_TEXTURE_MIN_FILTER) + std::string(" | ") + hud->at(155); },
         {"linear | Mip Mapping-Quality: Off", "linear, nearest mipmap | Mip Mapping-Quality: NearestNeighbor",
          "linear, linear mipmap | Mip Mapping-Quality: Linear"}},
        {GLFW_KEY_F7, [&] { return std::to_string(sound->engine()->getMasterVolume()); },
         {std::to_string(0.0f), std::to_string(1.0f)}},
        {GLFW_KEY_F8, drawn,
         {"Objects drawn (Frustum Culling OFF): all", "Objects drawn (Frustum Culling ON): all"}},
        {GLFW_KEY_F9, [&] { return std::string(watched[7]->blended ? "blended | " : "opaque | ") + hud->at(105); },
         {"opaque | Transparency OFF", "blended | "}},
    };
    for (const Case& c : cases)
        for (const std::string& expected : c.afterEachPress) {
            frames(2, {c.key});   // held over two frames, it acts once
            EXPECT_EQ(c.seen(), expected) << "key " << c.key - GLFW_KEY_F1 + 1;
            frame();
        }
}

TEST_F(LoadedGame, TheCatCallsFromAfarFromSixteenSecondsOnEverySevenToTwentyFive)
{
    startPlay();
    ASSERT_FALSE(cat->started);   // it stays where the test puts it
    const glm::vec3 far = controls->position + glm::vec3(0.0f, -1.5f, -12.0f);
    const glm::vec3 near = far + glm::vec3(0.0f, 0.0f, 3.5f);   // 8 and a bit away: not far enough
    std::vector<double> calledAt, scheduled = {sound->nextCatSoundTime};
    auto listen = [&](double seconds) {
        for (double end = currentGameTime() + seconds; currentGameTime() < end;) {
            frame({}, true, 0.0, 0.1, false);
            if (sound->nextCatSoundTime == scheduled.back()) continue;
            calledAt.push_back(currentGameTime());
            scheduled.push_back(sound->nextCatSoundTime);
            // The call plays in real time; the next one waits until it has ended.
            EXPECT_TRUE(sound->isCatPlaying());
            for (int i = 0; i < 500 && sound->isCatPlaying(); ++i)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    };
    cat->position = far;
    listen(17.0);
    ASSERT_EQ(calledAt.size(), 1u);
    EXPECT_NEAR(calledAt[0], 16.0, 0.11);
    cat->position = near;
    listen(60.0);
    EXPECT_EQ(catDistance, 8);
    ASSERT_EQ(calledAt.size(), 1u) << "a call with the cat at 8";
    cat->position = far;
    const double farAgain = currentGameTime();
    listen(0.1);
    ASSERT_EQ(calledAt.size(), 2u);   // long overdue: at once, and again until caught up
    listen(100.0);
    ASSERT_GE(calledAt.size(), 5u);
    for (size_t i = 0; i < calledAt.size(); ++i) {
        EXPECT_GE(calledAt[i], scheduled[i]);
        // On time, once the overdue calls are made up.
        if (scheduled[i] > std::max(farAgain, i ? calledAt[i - 1] : 0.0)) {
            EXPECT_LT(calledAt[i], scheduled[i] + 0.11);
        }
        const double interval = scheduled[i + 1] - scheduled[i];
        EXPECT_GE(interval, 7.0);
        EXPECT_LE(interval, 25.0);
        EXPECT_EQ(interval, std::floor(interval));
    }
}

// The controls picture holds the world still; the play clock runs in play,
// stops while paused and goes on without focus, when nothing else moves (nor
// the camera, when focus comes back).
TEST_F(LoadedGame, ThePlayClockRunsInPlayAndWithoutFocusButNotWhilePaused)
{
    EXPECT_EQ(runPhase().phase, Phase::Controls);
    glm::vec3 start = playerPlace();
    frames(30, {GLFW_KEY_W});
    EXPECT_EQ(playerPlace(), start);
    EXPECT_DOUBLE_EQ(currentGameTime(), 0.0);
    EXPECT_FALSE(cat->started);

    startPlay();
    frames(30);
    EXPECT_NEAR(currentGameTime(), 31.0 / 60.0, 1e-9);
    EXPECT_LT(playerPlace().y, start.y);   // falling onto the floor
    EXPECT_FALSE(cat->started);            // not before the first step
    frame({GLFW_KEY_W});
    EXPECT_TRUE(cat->started);
    // The cat runs off from where it stood, and its board rides under it in
    // the same frame, not a frame behind.
    glm::vec3 catPlace = glm::vec3(cat->model[3]);
    frames(3, {GLFW_KEY_W});
    EXPECT_GT(glm::distance(glm::vec3(cat->model[3]), catPlace), 0.01f);
    EXPECT_LT(glm::distance(glm::vec3(cat->model[3]), catPlace), 0.6f);
    EXPECT_LT(glm::distance(glm::vec3(skateboard->model[3]), glm::vec3(scene::boardUnderCat(cat->model)[3])), 1e-5f);

    frame({GLFW_KEY_F1});   // pause
    ASSERT_EQ(runPhase().phase, Phase::Controls);
    double before = currentGameTime();
    glm::vec3 place = playerPlace();
    float yaw = controls->horizontalAngle;
    frames(90, {GLFW_KEY_W});
    frame({}, true, 400.0);   // the pointer wanders during the pause
    EXPECT_DOUBLE_EQ(currentGameTime(), before);
    EXPECT_EQ(playerPlace(), place);
    frame({GLFW_KEY_F1});   // resume
    EXPECT_EQ(runPhase().phase, Phase::Play);
    frames(10);
    EXPECT_NEAR(currentGameTime(), before + 10.0 / 60.0, 1e-9);
    // Resuming puts the pointer back in the middle: the camera does not jump.
    EXPECT_FLOAT_EQ(controls->horizontalAngle, yaw);

    place = playerPlace();
    catPlace = glm::vec3(cat->model[3]);
    before = currentGameTime();
    yaw = controls->horizontalAngle;
    frames(119, {GLFW_KEY_W}, false);
    frame({}, false, 500.0);   // the pointer goes off to another window
    EXPECT_EQ(playerPlace(), place);
    EXPECT_EQ(glm::vec3(cat->model[3]), catPlace);
    EXPECT_NEAR(currentGameTime(), before + 2.0, 1e-9);
    // Back in focus, the time-driven cat is where its route puts it now: two
    // seconds further along its first, slow stretch (0.9 units a second); where
    // the pointer went meanwhile does not turn the camera.
    frame();
    EXPECT_GT(glm::distance(glm::vec3(cat->model[3]), catPlace), 1.5f);
    EXPECT_FLOAT_EQ(controls->horizontalAngle, yaw);
}

// Start on the pad pauses and resumes once per press. The end picture ignores
// every key but Enter, and an A still held from the jump onto the goal.
TEST_F(LoadedGame, StartPausesOncePerPressAndTheEndPictureWaitsForEnterOrAFreshA)
{
    pad.buttons = kPadStart;
    frames(10);   // held: one resume, not ten toggles
    EXPECT_EQ(runPhase().phase, Phase::Play);
    pad = {};
    frame();
    pad.buttons = kPadStart;
    frames(3);
    EXPECT_EQ(runPhase().phase, Phase::Controls);
    pad = {};
    frame();
    pad.buttons = kPadStart;
    frame();
    ASSERT_EQ(runPhase().phase, Phase::Play);

    pad.buttons = kPadA;
    frame();
    changePhase(Phase::Ended, Outcome::FellIntoHole);
    glm::vec3 place = playerPlace();
    frames(5, {GLFW_KEY_W, GLFW_KEY_F1, GLFW_KEY_F3});
    EXPECT_EQ(playerPlace(), place);
    EXPECT_FALSE(wireframe);
    EXPECT_TRUE(running);
    pad = {};
    frame();
    pad.buttons = kPadA;
    frame();
    EXPECT_FALSE(running);
    running = true;
    pad = {};
    frame({GLFW_KEY_ENTER});
    EXPECT_FALSE(running);
}

// What the scene pass last drew into the motion blur's frame texture.
std::vector<unsigned char> blurFrame()
{
    glActiveTexture(GL_TEXTURE0);
    return readTexture(motionBlur->colourTexture, motionBlur->width, motionBlur->height);
}

TEST_F(LoadedGame, WireframeDrawsStraightIntoTheWindow)
{
    startPlay();
    frames(5);
    std::vector<unsigned char> blurred = blurFrame();
    // Turning: every new frame would differ from the last one the blur saw.
    frame({GLFW_KEY_F3}, true);
    ASSERT_TRUE(wireframe);
    for (int i = 0; i < 5; ++i) frame({}, true, 40);
    EXPECT_EQ(blurFrame(), blurred) << "a wireframe frame went through the blur";
    GLint mode[2] = {0, 0};
    glGetIntegerv(GL_POLYGON_MODE, mode);
    EXPECT_EQ(mode[0], GL_FILL);   // lines only for the scene pass
    frame();
    frame({GLFW_KEY_F3});
    EXPECT_FALSE(wireframe);
    EXPECT_NE(blurFrame(), blurred);   // the scene is drawn into the blur's frame again
}

// Without a HUD line the overlay rides inside the blur's pass: the very
// picture of the blur drawn first and the overlay laid over it, at the
// pictures' own size and in a smaller window.
TEST_F(LoadedGame, TheOverlayInsideTheBlurIsTheOverlayDrawnOverTheBlur)
{
    startPlay();
    auto window = [](int width, int height) {
        std::vector<unsigned char> rgb(size_t(width) * height * 3);
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        glReadBuffer(GL_BACK);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
        glPixelStorei(GL_PACK_ALIGNMENT, 4);
        return rgb;
    };
    for (int width : {1280, 960}) {
        scripted.setWindowSize(width, width * 9 / 16);
        frame({GLFW_KEY_W}, true, 30.0);   // walking and turning: the blur smears
        ASSERT_EQ(windowWidth, width);
        const std::vector<unsigned char> inside = window(windowWidth, windowHeight);
        GLint fast = 0;
        GLfloat scale = 0.0f;
        glGetUniformiv(motionBlur->shader->program, motionBlur->isFastLocation, &fast);
        glGetUniformfv(motionBlur->shader->program, motionBlur->velocityScaleLocation, &scale);
        glViewport(0, 0, windowWidth, windowHeight);
        glDisable(GL_DEPTH_TEST);
        motionBlur->pass(fast == 1, scale, controls->inverseViewProjection, controls->previousViewProjection);
        const std::vector<unsigned char> blurOnly = window(windowWidth, windowHeight);
        textRenderer->drawHud(catDistance, windowWidth, windowHeight);
        glEnable(GL_DEPTH_TEST);
        const std::vector<unsigned char> over = window(windowWidth, windowHeight);
        EXPECT_NE(blurOnly, over);
        size_t differ = 0;
        for (size_t i = 0; i < over.size(); ++i) differ += over[i] != inside[i];
        EXPECT_EQ(differ, 0u) << width;
    }
}

// Shutdown frees what start-up made while the context is still there: no GL
// name of the world outlives it, and nothing is left to free twice.
TEST_F(LoadedGame, ReleasingTheGameLeavesNoGlNameAndNoObject)
{
    std::vector<GLuint> textures = {playerTexture->handle, playerBoostTexture->handle, motionBlur->colourTexture,
                                    textRenderer->plainFontTexture->handle};
    std::vector<GLuint> programs;
    for (const RenderEntry& entry : renderList) {
        textures.push_back(entry.texture->handle);
        if (entry.videoTexture) textures.push_back(entry.videoTexture->handle);
        programs.push_back(entry.object->getShader()->program);
    }
    const GLuint framebuffer = motionBlur->framebuffer;
    releaseGame();
    for (GLuint name : textures) EXPECT_FALSE(glIsTexture(name)) << name;
    for (GLuint name : programs) EXPECT_FALSE(glIsProgram(name)) << name;
    EXPECT_FALSE(glIsFramebuffer(framebuffer));
    EXPECT_TRUE(renderList.empty());
    for (const void* object : {(const void*)controls, (const void*)renderer, (const void*)textRenderer,
                               (const void*)motionBlur, (const void*)sound, (const void*)endScreen,
                               (const void*)controlsScreen, (const void*)gameClock, (const void*)dynamicsWorld})
        EXPECT_EQ(object, nullptr);
}

} // namespace
} // namespace ruma::test
