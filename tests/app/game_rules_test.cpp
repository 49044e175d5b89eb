// The end of a run: hole zones, the catch, the goal and god mode.
#include "app/game_rules.h"

#include <gtest/gtest.h>

namespace ruma {
namespace {

Outcome at(float x, float y, float z, double t = 60.0, int distance = 50, bool god = false)
{
    return endConditionFor(x, y, z, t, distance, god);
}

TEST(EndConditions, HolesHoldAtTheirInclusiveBounds)
{
    EXPECT_EQ(at(3, -3.0f, -4), Outcome::FellIntoHole);   // below the course
    EXPECT_EQ(at(3, -2.99f, -4), Outcome::None);
    struct Zone {
        float x0, x1, y0, y1, z0, z1;
    };
    for (const Zone& z : {Zone{99, 102, 1, 3, 22, 27}, Zone{107, 110, 1, 3, 22, 27}, Zone{-2, 10, 12, 15.5f, 13, 17}}) {
        const glm::vec3 lo(z.x0, z.y0, z.z0), hi(z.x1, z.y1, z.z1), mid = (lo + hi) * 0.5f;
        for (int axis = 0; axis < 3; ++axis)
            for (float edge : {lo[axis], hi[axis]}) {
                glm::vec3 p = mid;
                p[axis] = edge;
                EXPECT_EQ(at(p.x, p.y, p.z), Outcome::FellIntoHole) << axis << " " << edge;
                p[axis] = edge + (edge == lo[axis] ? -0.01f : 0.01f);
                EXPECT_EQ(at(p.x, p.y, p.z), Outcome::None) << axis << " " << edge;
            }
    }
}

TEST(EndConditions, TheCatCatchesWithinTruncatedThreeOnlyAfterSevenSeconds)
{
    const int justUnder = truncatedDistance({0, 0, 0}, {2.9f, 0, 0});
    const int three = truncatedDistance({0, 0, 0}, {3.0f, 0, 0});
    EXPECT_EQ(justUnder, 2);
    EXPECT_EQ(three, 3);
    EXPECT_EQ(truncatedDistance({0, 0, 0}, {3, 4, 0}), 5);
    EXPECT_EQ(at(0, 0, 0, 7.5, justUnder), Outcome::CaughtByCat);
    EXPECT_EQ(at(0, 0, 0, 7.5, three), Outcome::None);
    EXPECT_EQ(at(0, 0, 0, 7.0, 0), Outcome::None);   // not at 7 s, nor before
    EXPECT_EQ(at(0, 0, 0, 1.0, 0), Outcome::None);
    EXPECT_EQ(at(0, 0, 0, 7.0001, 2), Outcome::CaughtByCat);
}

TEST(EndConditions, TheGoalComesAfterTheLosingRulesAndAloneSurvivesGodMode)
{
    EXPECT_EQ(at(-42, 27.0f, 57), Outcome::Won);
    EXPECT_EQ(at(-40, 500.0f, 58), Outcome::Won);
    EXPECT_EQ(at(-42, 26.99f, 57), Outcome::None);
    EXPECT_EQ(at(-39.99f, 28.0f, 57), Outcome::None);
    EXPECT_EQ(at(-42, 28.0f, 58.01f), Outcome::None);
    // A hole before the catch, the catch before the goal.
    EXPECT_EQ(at(3, -5.0f, -4, 100.0, 0), Outcome::FellIntoHole);
    EXPECT_EQ(at(-42, 27.5f, 57, 100.0, 1), Outcome::CaughtByCat);

    for (glm::vec3 p : {glm::vec3(3, -50, -4), glm::vec3(100, 2, 24), glm::vec3(108, 2, 24), glm::vec3(4, 14, 15),
                        glm::vec3(0, 0, 0)})
        EXPECT_EQ(at(p.x, p.y, p.z, 60.0, 0, true), Outcome::None) << p.x << " " << p.y << " " << p.z;
    EXPECT_EQ(at(-42, 27.5f, 57, 60.0, 0, true), Outcome::Won);
}

} // namespace
} // namespace ruma
