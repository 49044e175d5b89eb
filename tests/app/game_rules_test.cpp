// The end of a run: hole zones, the catch, the goal and god mode.
#include "app/game_rules.h"

#include <gtest/gtest.h>

namespace ruma {
namespace {

Outcome at(float x, float y, float z, double t = 60.0, int distance = 50, bool god = false)
{
    return endConditionFor(x, y, z, t, distance, god);
}

TEST(EndConditions, TheCatCatchesWithinTruncatedThreeOnlyAfterSevenSeconds)
{
    EXPECT_EQ(truncatedDistance({0, 0, 0}, {2.9f, 0, 0}), 2);
    EXPECT_EQ(truncatedDistance({0, 0, 0}, {3, 4, 0}), 5);
    EXPECT_EQ(at(0, 0, 0, 7.5, 2), Outcome::CaughtByCat);
    EXPECT_EQ(at(0, 0, 0, 7.5, truncatedDistance({0, 0, 0}, {3.0f, 0, 0})), Outcome::None);
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
    // Anyone below the course is lost (each hole catches a walker: the world's course tests).
    EXPECT_EQ(at(3, -3.0f, -4), Outcome::FellIntoHole);
    EXPECT_EQ(at(3, -2.99f, -4), Outcome::None);
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
