// A moving slime sways and spins, and a taken one comes back where its sway brought it.
#include "scene/slime.h"
#include "scene_test_support.h"

#include "platform/math_conventions.h"
#include "platform/scripted_platform.h"

#include <memory>

namespace ruma::scene {
namespace {

using ruma::test::InScratchDirectory;
using ruma::test::matricesNear;

// Slimes without their model, on a clock the test sets.
class SlimeField : public ::testing::Test {
protected:
    void SetUp() override { setPlatform(&clock); }
    void TearDown() override { setPlatform(nullptr); }

    std::unique_ptr<Slime> makeSlime(const glm::vec3& place, bool moving)
    {
        return ruma::test::quietly(
            [&] { return std::make_unique<Slime>(glm::translate(glm::mat4(1.0f), place), nullptr, moving); });
    }

    InScratchDirectory here{"slime"};
    ScriptedPlatform clock{{}};
};

TEST_F(SlimeField, AMovingSlimeSwaysAlongItsPlacementXWhileSpinning)
{
    const glm::vec3 place(2.6f, -1.2f, 9.0f);
    auto slime = makeSlime(place, true);
    // dt 0.25: four frames out (+0.2 each), eight back, eight out again.
    const float expectedX[] = {0.2f,  0.4f,  0.6f,  0.8f,  0.6f,  0.4f, 0.2f,
                               0.0f, -0.2f, -0.4f, -0.6f, -0.8f, -0.6f};
    int frame = 0;
    for (float x : expectedX) {
        slime->update(0.25);
        ++frame;
        // Turned a sixth of a turn a second about y, unscaled.
        const glm::mat4 expected = rotateDegrees(glm::translate(glm::mat4(1.0f), place + glm::vec3(x, 0, 0)),
                                                 15.0f * float(frame), glm::vec3(0, 1, 0));
        EXPECT_TRUE(matricesNear(slime->model, expected, 1e-4f)) << "frame " << frame;
    }

    // Sway and spin follow time: two thirds of a second at 15, 60 or 144 frames
    // a second all bring the slime 0.53 along and turn it by 40 degrees.
    const glm::mat4 later =
        rotateDegrees(glm::translate(glm::mat4(1.0f), place + glm::vec3(0.8f * 2 / 3, 0, 0)), 40.0f, glm::vec3(0, 1, 0));
    for (int fps : {15, 60, 144}) {
        auto other = makeSlime(place, true);
        for (int i = 0; i < fps * 2 / 3; ++i) other->update(1.0 / fps);
        EXPECT_TRUE(matricesNear(other->model, later, 1e-3f)) << fps << " fps";
    }

    // Taken while swaying, it returns to where the sway has brought it.
    const float x = translationOf(slime->model).x;
    clock.setTime(1.0);
    slime->take();
    clock.setTime(6.0);
    slime->update(0.0);
    EXPECT_LT(glm::distance(translationOf(slime->model), glm::vec3(x, place.y, place.z)), 1e-3f);
}

} // namespace
} // namespace ruma::scene
