// The game's fixed places against the course: the slimes and the cat's route
// and loop must find their floors where the game puts them (the player's start
// is where every run of the game begins).
#include "course_geometry.h"

#include "fixed_places.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace ruma::test {
namespace {

using namespace ruma::course;

TEST(CoursePlaces, SlimesLieOnFloorsAllAlongTheirSway)
{
    for (size_t i = 0; i < std::size(kSlimePlaces); ++i) {
        const SlimePlace& slime = kSlimePlaces[i];
        const glm::vec3& s = slime.position;
        std::vector<double> offsets = slime.moving ? std::vector<double>{-kSlimeSway, 0.0, kSlimeSway} : std::vector<double>{0.0};
        for (double dx : offsets) {
            SCOPED_TRACE("slime " + std::to_string(i + 1) + " at dx " + std::to_string(dx));
            double top = topBelow(s.x + dx, s.z, s.y + 0.06);
            ASSERT_FALSE(std::isnan(top)) << "nothing under the slime";
            // slime 8 sits 0.05 into its floor; none may float
            EXPECT_NEAR(top, s.y, 0.06);
            EXPECT_FALSE(insideSolid(s.x + dx, s.y + 0.3, s.z)) << "the slime is inside a wall";
        }
    }
}

// The cat's positions every 0.2 units along its route, start included.
std::vector<Point3> routeSamples(const scene::RouteStep* points, size_t count, Point3 from)
{
    std::vector<Point3> out;
    for (size_t i = 0; i < count; ++i) {
        Point3 to{points[i].x, points[i].y, points[i].z};
        double length = std::sqrt((to.x - from.x) * (to.x - from.x) + (to.y - from.y) * (to.y - from.y) +
                                  (to.z - from.z) * (to.z - from.z));
        int n = std::max(1, static_cast<int>(length / 0.2));
        for (int k = 0; k < n; ++k) {
            double f = static_cast<double>(k) / n;
            out.push_back({from.x + (to.x - from.x) * f, from.y + (to.y - from.y) * f, from.z + (to.z - from.z) * f});
        }
        from = to;
    }
    out.push_back(from);
    return out;
}

bool inHoleZoneFootprint(double x, double z)
{
    for (const EndZone& zone : kHoleZones)
        if (x >= zone.x0 && x <= zone.x1 && z >= zone.z0 && z <= zone.z1) return true;
    return false;
}

TEST(CoursePlaces, CatRunsJustAboveTheFloorAndNeverThroughWalls)
{
    int overGaps = 0;
    for (const Point3& p : routeSamples(scene::kRoute, std::size(scene::kRoute), asWritten(kCatStart))) {
        double top = topBelow(p.x, p.z, p.y);
        double height = p.y - top;
        bool ok = height >= 0.05 && height <= 0.6;
        if (!ok && inHoleZoneFootprint(p.x, p.z) && !(height < 0.05)) {
            ++overGaps;   // the cat flies over the holes; it has no body
            continue;
        }
        EXPECT_TRUE(ok) << "cat at (" << p.x << ", " << p.y << ", " << p.z << ") is " << height << " above the floor";
        for (double dy : {0.0, 0.3, 0.6})
            EXPECT_FALSE(insideSolid(p.x, p.y + dy, p.z)) << "cat inside a box at (" << p.x << ", " << p.y + dy << ", "
                                                          << p.z << ")";
    }
    // it does cross the three holes
    EXPECT_GT(overGaps, 10);

    // The closing loop hovers over the plateau, as the game places it: no dais.
    const scene::RouteStep& last = scene::kRoute[std::size(scene::kRoute) - 1];
    for (const Point3& p : routeSamples(scene::kClosingLoop, std::size(scene::kClosingLoop),
                                        {last.x, scene::kClosingLoop[0].y, last.z})) {
        double height = p.y - topBelow(p.x, p.z, p.y);
        EXPECT_NEAR(height, 1.1, 0.05) << "loop at (" << p.x << ", " << p.z << ")";
    }
}

} // namespace
} // namespace ruma::test
