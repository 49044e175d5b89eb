// The player's way through the course: his line from the start to the goal
// has floor all along but at the three holes, the holes are as wide as the
// measured walks and jumps want, only the pit bottoms stand a player inside a
// hole zone, the goal platform puts him in the goal, and the cat's steps are
// too steep for him (his flights are walked in the world's course tests).
#include "course_geometry.h"

#include "course_layout.h"
#include "fixed_places.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace ruma::test {
namespace {

using namespace ruma::course;

// Measured with the game's body (friction 0): a walker at speed 5 falls into
// a 2.2 gap and rides over 1.5; a jump at speed 5 clears 2.2 (and at most 3.0).
// Keep half a unit of margin on either side.
constexpr double kNarrowestGap = 2.0;
constexpr double kWidestGap = 2.5;
// The capsule walks up single steps of 0.375 at most; flights keep 0.2.
constexpr double kMaxRise = 0.2;
constexpr double kCatMinRise = 0.4;

struct PathSample {
    double x, z, expected;
};

PathSample pointAt(const PathPoint& a, const PathPoint& b, double f)
{
    return {a.x + (b.x - a.x) * f, a.z + (b.z - a.z) * f, a.floor + (b.floor - a.floor) * f};
}

// A walkable top near the height the line is expected at there.
bool supported(const PathSample& p, double* top = nullptr)
{
    double t = topBelow(p.x, p.z, p.expected + 0.4);
    if (top) *top = t;
    return !std::isnan(t) && std::fabs(t - p.expected) <= 0.35;
}

struct Break {
    double x, z;     // its middle
    double length;   // along the line
};

struct Walk {
    std::vector<Break> breaks;
    double largestStep = 0;
};

// Walks the line in steps of 0.01: a break runs from the last supported point
// before it to the first after it.
Walk walkThePath()
{
    Walk walk;
    const auto& path = ruma::course::course().path;
    double travelled = 0, lastTop = NAN, lastAt = 0;
    PathSample lastPoint{};
    for (size_t i = 0; i + 1 < path.size(); ++i) {
        const PathPoint &a = path[i], &b = path[i + 1];
        double length = std::hypot(b.x - a.x, b.z - a.z);
        int n = std::max(1, static_cast<int>(length / 0.01));
        for (int k = 0; k <= n; ++k) {
            PathSample p = pointAt(a, b, static_cast<double>(k) / n);
            double top, at = travelled + length * k / n;
            if (!supported(p, &top)) continue;
            if (at - lastAt > 0.05)
                walk.breaks.push_back({0.5 * (lastPoint.x + p.x), 0.5 * (lastPoint.z + p.z), at - lastAt});
            else if (!std::isnan(lastTop))
                walk.largestStep = std::max(walk.largestStep, std::fabs(top - lastTop));
            lastTop = top, lastAt = at, lastPoint = p;
        }
        travelled += length;
    }
    if (travelled - lastAt > 0.05) walk.breaks.push_back({lastPoint.x, lastPoint.z, 1e9});
    return walk;
}

const EndZone* holeZoneUnder(double x, double z)
{
    for (const EndZone& zone : kHoleZones)
        if (x >= zone.x0 && x <= zone.x1 && z >= zone.z0 && z <= zone.z1) return &zone;
    return nullptr;
}

TEST(CoursePath, FloorRunsAllAlongThePlayersLineButAtTheHoles)
{
    Walk walk = walkThePath();
    EXPECT_LE(walk.largestStep, kMaxRise) << "a step on the line is higher than the capsule walks calmly";
    ASSERT_EQ(walk.breaks.size(), 3u);
    for (const Break& b : walk.breaks) {
        SCOPED_TRACE("break at (" + std::to_string(b.x) + ", " + std::to_string(b.z) + ")");
        EXPECT_NE(holeZoneUnder(b.x, b.z), nullptr) << "an unintended gap";
        // wide enough that a walker at speed 5 falls in, narrow enough to jump at speed 5
        EXPECT_GE(b.length, kNarrowestGap);
        EXPECT_LE(b.length, kWidestGap);
    }
}

TEST(CoursePath, OnlyThePitBottomsStandAPlayerInsideAHoleZone)
{
    Walk walk = walkThePath();
    std::vector<const Break*> caught;
    for (const SectionBox& s : courseBoxes()) {
        const MeshRecord& b = s.box;
        double standing = b.maxY + kStandingPositionAboveFloor;
        for (const EndZone& zone : kHoleZones) {
            if (standing < zone.y0 || standing > zone.y1 || b.maxX < zone.x0 || b.minX > zone.x1 || b.maxZ < zone.z0 ||
                b.minZ > zone.z1)
                continue;
            // it must be the bottom of a pit under one of the line's holes
            const Break* under = nullptr;
            for (const Break& br : walk.breaks)
                if (br.x >= b.minX && br.x <= b.maxX && br.z >= b.minZ && br.z <= b.maxZ) under = &br;
            EXPECT_NE(under, nullptr) << "e" << s.section + 1 << " mesh " << s.mesh << " (top " << b.maxY
                                      << ") stands a player inside a hole zone";
            if (under) caught.push_back(under);
        }
    }
    // and every hole has its pit, so whoever falls in is caught by the zone
    std::sort(caught.begin(), caught.end());
    caught.erase(std::unique(caught.begin(), caught.end()), caught.end());
    EXPECT_EQ(caught.size(), walk.breaks.size());
}

TEST(CoursePath, GoalPlatformPutsAStandingPlayerInTheGoal)
{
    double x = 0.5 * (kGoalZone.x0 + kGoalZone.x1), z = 0.5 * (kGoalZone.z0 + kGoalZone.z1);
    // the floor under the goal, not the gate's lintel over its entrance
    double top = topBelow(x, z, kGoalZone.y0);
    ASSERT_FALSE(std::isnan(top));
    EXPECT_TRUE(kGoalZone.contains(x, top + kStandingPositionAboveFloor, z));
    EXPECT_GE(top + kStandingPositionAboveFloor, kGoalZone.y0 + 0.25) << "too little margin for contact";
    // the platform covers the zone's whole footprint, walled on three sides,
    // so whoever stands on it stands in the zone
    for (double px : {kGoalZone.x0 + 0.05, kGoalZone.x1 - 0.05})
        for (double pz : {kGoalZone.z0 + 0.05, kGoalZone.z1 - 0.05}) EXPECT_DOUBLE_EQ(topBelow(px, pz, kGoalZone.y0), top);
    for (double dy : {0.5, 2.5}) {
        EXPECT_TRUE(insideSolid(kGoalZone.x0 - 0.25, top + dy, z));
        EXPECT_TRUE(insideSolid(kGoalZone.x1 + 0.25, top + dy, z));
        EXPECT_TRUE(insideSolid(x, top + dy, kGoalZone.z1 + 0.25));
    }
    // and the player's line ends there
    const PathPoint& end = ruma::course::course().path.back();
    EXPECT_TRUE(kGoalZone.contains(end.x, topBelow(end.x, end.z, kGoalZone.y0) + kStandingPositionAboveFloor, end.z));
}

// The treads of a flight, read from the section file: the boxes inside its
// footprint above its lower floor, in climbing order.
std::vector<MeshRecord> treadsOf(const Flight& f)
{
    std::vector<MeshRecord> treads;
    double s0 = std::min(f.first, f.last), s1 = std::max(f.first, f.last);
    for (const SectionBox& s : courseBoxes()) {
        if (s.section != f.section) continue;
        const MeshRecord& b = s.box;
        double a0 = f.axis == 'x' ? b.minX : b.minZ, a1 = f.axis == 'x' ? b.maxX : b.maxZ;
        double c0 = f.axis == 'x' ? b.minZ : b.minX, c1 = f.axis == 'x' ? b.maxZ : b.maxX;
        if (a0 >= s0 - 1e-3 && a1 <= s1 + 1e-3 && c0 >= f.across0 - 1e-3 && c1 <= f.across1 + 1e-3 && b.maxY > f.lo + 1e-3 &&
            b.maxY < f.hi - 1e-3)
            treads.push_back(b);
    }
    std::sort(treads.begin(), treads.end(), [](const MeshRecord& a, const MeshRecord& b) { return a.maxY < b.maxY; });
    return treads;
}

TEST(CoursePath, CatStepsAreTooSteepToWalk)
{
    int flights = 0;
    for (const Flight& f : ruma::course::course().flights) {
        if (f.forPlayer) continue;
        ++flights;
        SCOPED_TRACE(f.name);
        std::vector<MeshRecord> steps = treadsOf(f);
        ASSERT_GE(steps.size(), 2u);
        double previous = f.lo;
        for (const MeshRecord& s : steps) {
            EXPECT_GE(s.maxY - previous, kCatMinRise - 1e-4);
            previous = s.maxY;
        }
        EXPECT_GE(f.hi - previous, kCatMinRise - 1e-4);
    }
    EXPECT_EQ(flights, 3);
}

} // namespace
} // namespace ruma::test
