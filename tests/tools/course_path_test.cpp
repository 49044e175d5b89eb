// The player's way through the course: only the pit bottoms under the three
// holes of his line stand a player inside a hole zone, and the cat's steps are
// too steep for him (his line is won on the goal platform by the autopilot, his
// flights walked and his gaps fallen into and jumped in the world's course tests).
#include "course_geometry.h"

#include "course_layout.h"
#include "fixed_places.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace ruma::test {
namespace {

using namespace ruma::course;

// The capsule walks up single steps of 0.375 at most: the cat's are steeper.
constexpr double kCatMinRise = 0.4;

struct PathSample {
    double x, z, expected;
};

PathSample pointAt(const PathPoint& a, const PathPoint& b, double f)
{
    return {a.x + (b.x - a.x) * f, a.z + (b.z - a.z) * f, a.floor + (b.floor - a.floor) * f};
}

// A walkable top near the height the line is expected at there.
bool supported(const PathSample& p)
{
    double t = topBelow(p.x, p.z, p.expected + 0.4);
    return !std::isnan(t) && std::fabs(t - p.expected) <= 0.35;
}

struct Break {
    double x, z;     // its middle
    double length;   // along the line
};

// Walks the line in steps of 0.01: a break runs from the last supported point
// before it to the first after it.
std::vector<Break> walkThePath()
{
    std::vector<Break> breaks;
    const auto& path = ruma::course::course().path;
    double travelled = 0, lastAt = 0;
    PathSample lastPoint{};
    for (size_t i = 0; i + 1 < path.size(); ++i) {
        const PathPoint &a = path[i], &b = path[i + 1];
        double length = std::hypot(b.x - a.x, b.z - a.z);
        int n = std::max(1, static_cast<int>(length / 0.01));
        for (int k = 0; k <= n; ++k) {
            PathSample p = pointAt(a, b, static_cast<double>(k) / n);
            double at = travelled + length * k / n;
            if (!supported(p)) continue;
            if (at - lastAt > 0.05) breaks.push_back({0.5 * (lastPoint.x + p.x), 0.5 * (lastPoint.z + p.z), at - lastAt});
            lastAt = at, lastPoint = p;
        }
        travelled += length;
    }
    if (travelled - lastAt > 0.05) breaks.push_back({lastPoint.x, lastPoint.z, 1e9});
    return breaks;
}

TEST(CoursePath, OnlyThePitBottomsStandAPlayerInsideAHoleZone)
{
    const std::vector<Break> breaks = walkThePath();
    ASSERT_EQ(breaks.size(), 3u);
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
            for (const Break& br : breaks)
                if (br.x >= b.minX && br.x <= b.maxX && br.z >= b.minZ && br.z <= b.maxZ) under = &br;
            EXPECT_NE(under, nullptr) << "e" << s.section + 1 << " mesh " << s.mesh << " (top " << b.maxY
                                      << ") stands a player inside a hole zone";
            if (under) caught.push_back(under);
        }
    }
    // and every hole has its pit, so whoever falls in is caught by the zone
    std::sort(caught.begin(), caught.end());
    caught.erase(std::unique(caught.begin(), caught.end()), caught.end());
    EXPECT_EQ(caught.size(), breaks.size());
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
