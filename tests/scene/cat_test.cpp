// The cat's timed route, its turns and its size, without its model (the logic
// needs neither the model nor a GL context).
#include "scene/cat.h"
#include "scene_test_support.h"

#include "platform/math_conventions.h"

#include <cmath>
#include <memory>

namespace ruma::scene {
namespace {

using ruma::test::InScratchDirectory;
using ruma::test::matricesNear;

glm::mat4 expectedModel(const Cat& cat)
{
    return glm::scale(rotateDegrees(glm::translate(glm::mat4(1.0f), cat.position), cat.yaw, glm::vec3(0, 1, 0)),
                      cat.scale);
}

class CatRun : public ::testing::Test {
protected:
    void SetUp() override
    {
        cat = ruma::test::quietly([] { return std::make_unique<Cat>(glm::mat4(1.0f), nullptr); });
    }
    // A route of our own, starting where the cat stands at time 0.
    void runOwnRoute(std::initializer_list<Waypoint> points)
    {
        cat->started = true;
        cat->segmentStart = cat->position;
        cat->route.assign(points);
    }

    InScratchDirectory here{"cat"};
    std::unique_ptr<Cat> cat;
};

TEST_F(CatRun, WaitsUntilStartedThenFollowsTheTimedRouteOneWaypointPerCall)
{
    for (double t : {0.0, 5.0, 100.0}) EXPECT_EQ(cat->followRoute(t), kCatStart);
    EXPECT_TRUE(matricesNear(cat->model, glm::translate(glm::mat4(1.0f), kCatStart), 0.0f));

    cat->start(100.0);
    ASSERT_EQ(cat->route.size(), 35u);
    EXPECT_NEAR(cat->route.back().time, 217.6, 1e-9);
    // Waypoint 1 at 100.1, then half-way to waypoint 2.
    EXPECT_EQ(cat->followRoute(100.1), glm::vec3(2.0f, -0.95f, -10.0f));
    EXPECT_EQ(cat->route.size(), 34u);
    const glm::vec3 halfWay = cat->followRoute(102.35);
    EXPECT_LT(glm::distance(halfWay, glm::vec3(2.0f, -0.95f, -8.0f)), 1e-5f);
    EXPECT_EQ(cat->route.size(), 34u);

    // The same time again: no move, no turn.
    const glm::mat4 before = cat->model;
    const float yaw = cat->yaw;
    EXPECT_EQ(cat->followRoute(102.35), halfWay);
    EXPECT_TRUE(matricesNear(cat->model, before, 0.0f));
    EXPECT_EQ(cat->yaw, yaw);

    // A long frame passes only one waypoint: the cat snaps to waypoint 2 and
    // goes on from there in the next frames.
    EXPECT_EQ(cat->followRoute(112.0), glm::vec3(2.0f, -0.95f, -6.0f));
    EXPECT_EQ(cat->route.size(), 33u);
    EXPECT_TRUE(matricesNear(cat->model, expectedModel(*cat), 1e-4f));
}

TEST_F(CatRun, StartsFromWhereItStandsAndNeverJumps)
{
    // Started late in a run; small steps over waypoint 1 into the slow stretch.
    cat->start(50.0);
    const float fastest = glm::distance(kCatStart, cat->route.front().position) / 0.1f;
    const double step = 0.02;
    glm::vec3 last = kCatStart;
    for (int i = 1; i <= 20; ++i) {
        const glm::vec3 next = cat->route.front().position;
        const glm::vec3 now = cat->followRoute(50.0 + i * step);
        const glm::vec3 moved = now - last;
        EXPECT_LE(glm::length(moved), fastest * step * 1.001f) << "step " << i;
        EXPECT_GT(glm::dot(glm::normalize(moved), glm::normalize(next - last)), 0.999f) << "step " << i;
        // Its nose (local +z) points the way it runs.
        const glm::vec3 nose = glm::vec3(cat->model * glm::vec4(0, 0, 1, 0));
        EXPECT_GT(glm::dot(glm::normalize(glm::vec2(nose.x, nose.z)), glm::normalize(glm::vec2(moved.x, moved.z))),
                  0.999f)
            << "step " << i;
        last = now;
    }
}

TEST_F(CatRun, TurnsBySignedAnglesAndKeepsItsHeadingThroughZeroLengthMoves)
{
    const glm::vec3 a = cat->position + glm::vec3(0, 0, 2), b = a + glm::vec3(3, 0, 0);
    runOwnRoute({{1.0, a}, {2.0, a}, {3.0, a}, {4.0, b}, {5.0, b + glm::vec3(0, 0, 1)}});
    cat->followRoute(1.0);   // along +z, the way it already faces
    EXPECT_EQ(cat->yaw, 0.0f);
    // Snapping onto the waypoint it stands on, then waiting between two
    // waypoints on one spot: no move, so no turn and nothing undefined.
    for (double t : {1.5, 2.0, 2.5, 3.0}) {
        EXPECT_EQ(cat->followRoute(t), a) << "t " << t;
        EXPECT_EQ(cat->direction, glm::vec3(0, 0, 1)) << "t " << t;
        EXPECT_TRUE(matricesNear(cat->model, expectedModel(*cat), 1e-5f)) << "t " << t;
    }
    // The next real move turns from the heading kept: +x after +z, a left turn of 90 degrees.
    EXPECT_NEAR(cat->followRoute(3.5).x, a.x + 1.5f, 1e-5f);
    EXPECT_NEAR(cat->yaw, 90.0f, 1e-4f);
    // Its nose (local +z) now points along +x.
    EXPECT_LT(glm::distance(glm::vec3(cat->model * glm::vec4(0, 0, 1, 0)), glm::vec3(1, 0, 0)), 1e-5f);
    cat->followRoute(4.0);
    cat->followRoute(5.0);   // +z after +x: back by 90 degrees
    EXPECT_NEAR(cat->yaw, 0.0f, 1e-4f);
    EXPECT_TRUE(matricesNear(cat->model, expectedModel(*cat), 1e-5f));
}

TEST_F(CatRun, GrowsWhileThePlayerIsFarAndShrinksBackWhenNear)
{
    // Twice each: already grown, it grows no further; near and normal, it stays as it is.
    for (float distance : {10.0f, 10.0f, 9.0f, 9.0f}) {
        cat->adjustSize(distance);
        const glm::mat4 expected = glm::scale(glm::translate(glm::mat4(1.0f), kCatStart), glm::vec3(distance >= 10 ? 3.5f : 1));
        EXPECT_TRUE(matricesNear(cat->model, expected, 1e-6f)) << distance;
    }
}

} // namespace
} // namespace ruma::scene
