// The whole game loaded into the test's GL context and driven frame by frame
// through the scripted platform: the world it builds and how a frame behaves
// in each state.
#include "app/frame_loop.h"
#include "app/function_keys.h"
#include "app/game_rules.h"
#include "app/game_start.h"
#include "app/startup.h"
#include "platform/scripted_platform.h"
#include "render/motion_blur.h"
#include "render/picture_screen.h"
#include "render/render_settings.h"
#include "scene/animated_object.h"
#include "scene/cat.h"
#include "scene/slime.h"
#include "scene/tovik.h"
#include "support/gl_context.h"
#include "support/gl_pixels.h"
#include "world/controls.h"
#include "world/physics.h"
#include "world/start_answers.h"
#include "world/world.h"

#include <gtest/gtest.h>

namespace ruma::test {
namespace {

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
        highResTextures = false;
        godMode = false;
        load();
    }
    void TearDown() override
    {
        if (!loaded) return;
        releaseGame();
        setPlatform(nullptr);
    }
    void load()
    {
        initPhysics();
        testing::internal::CaptureStdout();
        loadGameObjects();
        loadLog = testing::internal::GetCapturedStdout();
    }
    // One frame of the game loop with the given keys held and mouse motion.
    void frame(std::vector<int> keys = {}, bool focused = true, double cursorDx = 0.0)
    {
        FrameInput input;
        input.keys = std::move(keys);
        input.focused = focused;
        input.cursorDx = cursorDx;
        input.pad = pad;
        scripted.appendFrames({input});
        double before = scripted.time();
        scripted.pollEvents();
        double dt = scripted.time() - before;
        updateFrame(dt);
        renderFrame(dt);
    }
    void frames(int count, std::vector<int> keys = {}, bool focused = true)
    {
        for (int i = 0; i < count; ++i) frame(keys, focused);
    }
    void startPlay()
    {
        frame({GLFW_KEY_F1});
        frame();
        ASSERT_FALSE(controlsScreen->showing);
    }
    glm::vec3 playerPlace() const { return glm::vec3(player->model[3]); }

    ScriptedPlatform scripted{{}};
    PadState pad;   // the gamepad during the frames that follow
    bool loaded = false;
    std::string loadLog;
};

TEST_F(LoadedGame, TheRenderListHoldsEighteenEntriesInItsOrder)
{
    ASSERT_EQ(renderList.size(), 18u);
    const char* names[] = {"Level", "Level", "Level", "Level", "Animated Object", "Cat", "Tovik"};
    const float shininess[] = {2, 2, 2, 2, 2, 0, 45};
    for (size_t i = 0; i < 18; ++i) {
        const RenderEntry& entry = renderList[i];
        EXPECT_EQ(entry.object->getName(), i < 7 ? names[i] : "Slime") << i;
        EXPECT_FLOAT_EQ(entry.shininess, i < 7 ? shininess[i] : 80.0f) << i;
        EXPECT_EQ(entry.specularColor, glm::vec3(1.0f));
        EXPECT_EQ(entry.hasVideo, i == 5) << i;
        EXPECT_EQ(entry.videoTexture != nullptr, i == 5) << i;
        EXPECT_NE(entry.texture, nullptr);
    }
    EXPECT_EQ(renderList[6].texture, playerTexture);
    EXPECT_NE(playerBoostTexture, nullptr);
    ASSERT_EQ(slimeList.size(), 11u);
    for (size_t i = 0; i < 11; ++i) EXPECT_EQ(static_cast<Drawable*>(slimeList[i]), renderList[7 + i].object);
    EXPECT_TRUE(slimeList[0]->moving);
    EXPECT_FALSE(slimeList[1]->moving);
    EXPECT_EQ(glm::vec3(slimeList[10]->model[3]), glm::vec3(-41.5f, 22.7f, 38.0f));
}

TEST_F(LoadedGame, EveryCourseMeshBecomesOneStaticBox)
{
    size_t meshes = 0;
    for (int i = 0; i < 4; ++i) meshes += renderList[i].object->meshRecords().size();
    EXPECT_GT(meshes, 400u);
    // The player's capsule and one box per mesh of the four sections.
    EXPECT_EQ(ownedBodies.size(), 1 + meshes);
    EXPECT_EQ(dynamicsWorld->getNumCollisionObjects(), int(1 + meshes));
    const MeshRecord& first = renderList[0].object->meshRecords()[0];
    btVector3 centre = ownedBodies[1].body->getWorldTransform().getOrigin();
    EXPECT_FLOAT_EQ(centre.x(), first.minX + (first.maxX - first.minX) * 0.5f);
    EXPECT_FLOAT_EQ(centre.y(), first.minY + (first.maxY - first.minY) * 0.5f);
    EXPECT_FLOAT_EQ(playerBody->getFriction(), 0.0f);
}

TEST_F(LoadedGame, TheResolutionAnswerPicksTheSectionFiles)
{
    EXPECT_NE(loadLog.find("  FILE: Resources/Models/e1b.obj \n"), std::string::npos);
    EXPECT_NE(loadLog.find("  FILE: Resources/Models/e4b.obj \n"), std::string::npos);
    EXPECT_EQ(loadLog.find("  FILE: Resources/Models/e1.obj \n"), std::string::npos);
    std::vector<std::pair<float, float>> lowBoxes;
    for (const MeshRecord& m : renderList[1].object->meshRecords()) lowBoxes.push_back({m.minX, m.maxY});

    releaseGame();
    highResTextures = true;
    load();
    EXPECT_NE(loadLog.find("  FILE: Resources/Models/e1.obj \n"), std::string::npos);
    EXPECT_EQ(loadLog.find("  FILE: Resources/Models/e1b.obj \n"), std::string::npos);
    // Both variants collide alike.
    std::vector<std::pair<float, float>> highBoxes;
    for (const MeshRecord& m : renderList[1].object->meshRecords()) highBoxes.push_back({m.minX, m.maxY});
    EXPECT_EQ(highBoxes, lowBoxes);
}

TEST_F(LoadedGame, TheControlsPictureShowsFirstAndHoldsTheWorldStill)
{
    EXPECT_TRUE(controlsScreen->showing);
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
    const glm::vec3 catStart = glm::vec3(cat->model[3]);
    frames(3, {GLFW_KEY_W});
    EXPECT_GT(glm::distance(glm::vec3(cat->model[3]), catStart), 0.01f);
    EXPECT_LT(glm::distance(glm::vec3(cat->model[3]), catStart), 0.6f);
    EXPECT_LT(glm::distance(glm::vec3(skateboard->model[3]), glm::vec3(scene::boardUnderCat(cat->model)[3])), 1e-5f);
}

TEST_F(LoadedGame, PausingKeepsThePlayTime)
{
    startPlay();
    frames(20, {GLFW_KEY_W});
    frame({GLFW_KEY_F1});   // pause
    ASSERT_TRUE(controlsScreen->showing);
    double paused = currentGameTime();
    glm::vec3 place = playerPlace();
    float yaw = controls->horizontalAngle;
    frames(90, {GLFW_KEY_W});
    frame({}, true, 400.0);   // the pointer wanders during the pause
    EXPECT_DOUBLE_EQ(currentGameTime(), paused);
    EXPECT_EQ(playerPlace(), place);
    frame({GLFW_KEY_F1});   // resume
    EXPECT_FALSE(controlsScreen->showing);
    frames(10);
    EXPECT_NEAR(currentGameTime(), paused + 10.0 / 60.0, 1e-9);
    // Resuming puts the pointer back in the middle: the camera does not jump.
    EXPECT_FLOAT_EQ(controls->horizontalAngle, yaw);
}

TEST_F(LoadedGame, WithoutFocusNothingMovesButPlayTimeGoesOn)
{
    startPlay();
    frames(30, {GLFW_KEY_W});
    glm::vec3 place = playerPlace();
    glm::vec3 catPlace = glm::vec3(cat->model[3]);
    double before = currentGameTime();
    frames(120, {GLFW_KEY_W}, false);
    EXPECT_EQ(playerPlace(), place);
    EXPECT_EQ(glm::vec3(cat->model[3]), catPlace);
    EXPECT_NEAR(currentGameTime(), before + 2.0, 1e-9);
    // Back in focus, the time-driven cat is where its route puts it now: two
    // seconds further along its first, slow stretch (0.9 units a second).
    frame();
    EXPECT_GT(glm::distance(glm::vec3(cat->model[3]), catPlace), 1.5f);
}

TEST_F(LoadedGame, AnEndScreenWaitsForEnterOnly)
{
    startPlay();
    endScreen->showing = true;
    glm::vec3 place = playerPlace();
    frames(10, {GLFW_KEY_W, GLFW_KEY_F1, GLFW_KEY_F3});
    EXPECT_EQ(playerPlace(), place);
    EXPECT_FALSE(wireframe);
    EXPECT_TRUE(running);
    frame({GLFW_KEY_ENTER});
    EXPECT_FALSE(running);
}

TEST_F(LoadedGame, StartPausesOncePerPressAndAFreshAQuitsTheEndPicture)
{
    pad.buttons = kPadStart;
    frames(10);   // held: one resume, not ten toggles
    EXPECT_FALSE(controlsScreen->showing);
    pad = {};
    frame();
    pad.buttons = kPadStart;
    frames(3);
    EXPECT_TRUE(controlsScreen->showing);
    pad = {};
    frame();
    pad.buttons = kPadStart;
    frame();
    ASSERT_FALSE(controlsScreen->showing);

    // The A that jumped onto the goal is still held when the picture shows.
    pad.buttons = kPadA;
    frame();
    endScreen->showing = true;
    frames(5);
    EXPECT_TRUE(running);
    pad = {};
    frame();
    pad.buttons = kPadA;
    frame();
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

} // namespace
} // namespace ruma::test
