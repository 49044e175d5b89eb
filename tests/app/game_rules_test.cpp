// The end of a run: hole zones, the catch, the goal, god mode; and the play clock.
#include "app/game_rules.h"
#include "world/game_clock.h"

#include <gtest/gtest.h>

namespace ruma {
namespace {

constexpr int kFar = 50;
constexpr double kLate = 60.0;

Outcome at(float x, float y, float z, double t = kLate, int distance = kFar, bool god = false)
{
    return endConditionFor(x, y, z, t, distance, god);
}

TEST(EndConditions, FallingBelowTheCourseIsAHoleAtAndBelowMinusThree)
{
    EXPECT_EQ(at(3, -3.0f, -4), Outcome::FellIntoHole);
    EXPECT_EQ(at(3, -100.0f, -4), Outcome::FellIntoHole);
    EXPECT_EQ(at(3, -2.99f, -4), Outcome::None);
}

TEST(EndConditions, EveryHoleZoneHoldsAtItsInclusiveBounds)
{
    struct Zone {
        float x0, x1, y0, y1, z0, z1;
    };
    const Zone zones[] = {{99, 102, 1, 3, 22, 27}, {107, 110, 1, 3, 22, 27}, {-2, 10, 12, 15.5f, 13, 17}};
    for (const Zone& zone : zones) {
        float mx = (zone.x0 + zone.x1) / 2, my = (zone.y0 + zone.y1) / 2, mz = (zone.z0 + zone.z1) / 2;
        EXPECT_EQ(at(zone.x0, my, mz), Outcome::FellIntoHole);
        EXPECT_EQ(at(zone.x1, my, mz), Outcome::FellIntoHole);
        EXPECT_EQ(at(mx, zone.y0, mz), Outcome::FellIntoHole);
        EXPECT_EQ(at(mx, zone.y1, mz), Outcome::FellIntoHole);
        EXPECT_EQ(at(mx, my, zone.z0), Outcome::FellIntoHole);
        EXPECT_EQ(at(mx, my, zone.z1), Outcome::FellIntoHole);
        EXPECT_EQ(at(zone.x0 - 0.01f, my, mz), Outcome::None);
        EXPECT_EQ(at(zone.x1 + 0.01f, my, mz), Outcome::None);
        EXPECT_EQ(at(mx, zone.y0 - 0.01f, mz), Outcome::None);
        EXPECT_EQ(at(mx, zone.y1 + 0.01f, mz), Outcome::None);
        EXPECT_EQ(at(mx, my, zone.z0 - 0.01f), Outcome::None);
        EXPECT_EQ(at(mx, my, zone.z1 + 0.01f), Outcome::None);
    }
}

TEST(EndConditions, TheCatCatchesBelowThreeAfterTheFirstSevenSeconds)
{
    EXPECT_EQ(at(0, 0, 0, 7.5, 2), Outcome::CaughtByCat);
    EXPECT_EQ(at(0, 0, 0, 7.5, 0), Outcome::CaughtByCat);
    EXPECT_EQ(at(0, 0, 0, 7.5, 3), Outcome::None);
    EXPECT_EQ(at(0, 0, 0, 7.0, 0), Outcome::None);     // not before 7 s, and not at 7 s
    EXPECT_EQ(at(0, 0, 0, 7.0001, 2), Outcome::CaughtByCat);
    EXPECT_EQ(at(0, 0, 0, 1.0, 0), Outcome::None);
}

TEST(EndConditions, DistancesAreTruncatedBeforeTheCatchTest)
{
    EXPECT_EQ(truncatedDistance({0, 0, 0}, {2.9f, 0, 0}), 2);
    EXPECT_EQ(truncatedDistance({0, 0, 0}, {3.0f, 0, 0}), 3);
    EXPECT_EQ(truncatedDistance({1, 2, 3}, {1, 2, 3}), 0);
    EXPECT_EQ(truncatedDistance({0, 0, 0}, {3, 4, 0}), 5);
    EXPECT_EQ(truncatedDistance({0, 0, 0}, {0, 9.99f, 0}), 9);
}

TEST(EndConditions, TheGoalNeedsTheZoneAndTheHeight)
{
    EXPECT_EQ(at(-42, 27.375f, 57), Outcome::Won);
    EXPECT_EQ(at(-44, 27.0f, 56), Outcome::Won);
    EXPECT_EQ(at(-40, 500.0f, 58), Outcome::Won);
    EXPECT_EQ(at(-42, 26.99f, 57), Outcome::None);
    EXPECT_EQ(at(-39.99f, 28.0f, 57), Outcome::None);
    EXPECT_EQ(at(-42, 28.0f, 58.01f), Outcome::None);
}

TEST(EndConditions, LosingRulesComeBeforeTheGoal)
{
    // The cat standing on the goal with the player: the catch decides.
    EXPECT_EQ(at(-42, 27.5f, 57, 100.0, 1), Outcome::CaughtByCat);
    EXPECT_EQ(at(-42, 27.5f, 57, 100.0, 3), Outcome::Won);
}

TEST(EndConditions, GodModeRemovesTheFiveLosingRulesAndNothingElse)
{
    EXPECT_EQ(at(3, -50.0f, -4, kLate, kFar, true), Outcome::None);
    EXPECT_EQ(at(100, 2, 24, kLate, kFar, true), Outcome::None);
    EXPECT_EQ(at(108, 2, 24, kLate, kFar, true), Outcome::None);
    EXPECT_EQ(at(4, 14, 15, kLate, kFar, true), Outcome::None);
    EXPECT_EQ(at(0, 0, 0, kLate, 0, true), Outcome::None);
    EXPECT_EQ(at(-42, 27.5f, 57, kLate, 0, true), Outcome::Won);
}

TEST(GameClock, CountsPlayTimeOnlyAndKeepsItAcrossPauses)
{
    GameClock clock;
    EXPECT_DOUBLE_EQ(clock.gameTime(123.0), 0.0);   // before play starts
    clock.start(10.0);
    EXPECT_DOUBLE_EQ(clock.gameTime(10.0), 0.0);
    EXPECT_DOUBLE_EQ(clock.gameTime(14.5), 4.5);
    clock.stop(15.0);
    EXPECT_DOUBLE_EQ(clock.gameTime(15.0), 5.0);
    EXPECT_DOUBLE_EQ(clock.gameTime(99.0), 5.0);    // a long pause changes nothing
    clock.start(100.0);
    EXPECT_DOUBLE_EQ(clock.gameTime(100.0), 5.0);
    EXPECT_DOUBLE_EQ(clock.gameTime(102.0), 7.0);
    // Stopping a stopped clock or starting a running one changes nothing.
    clock.start(103.0);
    EXPECT_DOUBLE_EQ(clock.gameTime(104.0), 9.0);
    clock.stop(104.0);
    clock.stop(110.0);
    EXPECT_DOUBLE_EQ(clock.gameTime(200.0), 9.0);
}

} // namespace
} // namespace ruma
