// The course's faces as the game draws them: two faces in one plane that face
// the same way tie in the depth test, and which of them shows would flicker as
// the camera moves. No such pair may overlap, within a section or across two.
#include "course_geometry.h"

#include "scene/mesh_extents.h"

#include <assimp/Importer.hpp>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <set>
#include <tuple>

namespace ruma::test {
namespace {

using Point = std::array<double, 2>;

struct Triangle {
    int section, mesh;
    std::vector<Point> corners;   // counter-clockwise in the plane's two axes
    double lo[2], hi[2];
};

double cross(const Point& a, const Point& b, const Point& p)
{
    return (b[0] - a[0]) * (p[1] - a[1]) - (b[1] - a[1]) * (p[0] - a[0]);
}

double area(const std::vector<Point>& poly)
{
    double sum = 0;
    for (size_t i = 0; i < poly.size(); ++i) sum += cross({0, 0}, poly[i], poly[(i + 1) % poly.size()]);
    return 0.5 * sum;
}

// The area two counter-clockwise triangles share.
double sharedArea(const Triangle& t, const Triangle& u)
{
    std::vector<Point> poly = t.corners;
    for (int k = 0; k < 3 && poly.size() >= 3; ++k) {
        const Point &a = u.corners[k], &b = u.corners[(k + 1) % 3];
        std::vector<Point> kept;
        for (size_t i = 0; i < poly.size(); ++i) {
            const Point &p = poly[i], &q = poly[(i + 1) % poly.size()];
            double sp = cross(a, b, p), sq = cross(a, b, q);
            if (sp >= 0) kept.push_back(p);
            if ((sp >= 0) != (sq >= 0)) {
                double s = sp / (sp - sq);
                kept.push_back({p[0] + s * (q[0] - p[0]), p[1] + s * (q[1] - p[1])});
            }
        }
        poly = kept;
    }
    return poly.size() < 3 ? 0.0 : area(poly);
}

// Triangles of one variant grouped by plane: the outward normal and the
// distance from the origin, both to a thousandth.
std::map<std::tuple<long, long, long, long>, std::vector<Triangle>> trianglesByPlane(const std::string& variant)
{
    std::map<std::tuple<long, long, long, long>, std::vector<Triangle>> planes;
    for (int s = 0; s < 4; ++s) {
        Assimp::Importer importer;
        const aiScene* scene = importer.ReadFile(sectionFile(s, variant, "Models", ".obj"), scene::kModelImportFlags);
        EXPECT_NE(scene, nullptr) << sectionFile(s, variant, "Models", ".obj");
        if (!scene) continue;
        for (unsigned m = 0; m < scene->mNumMeshes; ++m) {
            const aiMesh* mesh = scene->mMeshes[m];
            for (unsigned f = 0; f < mesh->mNumFaces; ++f) {
                const aiFace& face = mesh->mFaces[f];
                if (face.mNumIndices != 3) continue;
                aiVector3D p[3];
                for (int k = 0; k < 3; ++k) p[k] = mesh->mVertices[face.mIndices[k]];
                aiVector3D n = (p[1] - p[0]) ^ (p[2] - p[0]);
                if (n.Length() < 1e-6f) continue;
                n.Normalize();
                int drop = std::fabs(n.x) >= std::fabs(n.y) && std::fabs(n.x) >= std::fabs(n.z) ? 0
                           : std::fabs(n.y) >= std::fabs(n.z)                                  ? 1
                                                                                               : 2;
                int a = drop == 0 ? 1 : 0, b = drop == 2 ? 1 : 2;
                Triangle t{s, static_cast<int>(m), {}, {1e300, 1e300}, {-1e300, -1e300}};
                for (const aiVector3D& q : p) {
                    t.corners.push_back({q[a], q[b]});
                    for (int i = 0; i < 2; ++i)
                        t.lo[i] = std::min(t.lo[i], t.corners.back()[i]), t.hi[i] = std::max(t.hi[i], t.corners.back()[i]);
                }
                if (area(t.corners) < 0) std::reverse(t.corners.begin(), t.corners.end());
                auto key = [](double v) { return std::lround(v * 1000.0); };
                planes[{key(n.x), key(n.y), key(n.z), key(n * p[0])}].push_back(t);
            }
        }
    }
    return planes;
}

TEST(CourseFaces, NoTwoFacesOverlapInOnePlaneFacingTheSameWay)
{
    for (const std::string variant : {"", "b"}) {
        SCOPED_TRACE(variant.empty() ? "high-resolution sections" : "low-resolution sections");
        int triangles = 0;
        std::set<std::tuple<int, int, int, int>> meshPairs;
        for (auto& [plane, list] : trianglesByPlane(variant)) {
            triangles += static_cast<int>(list.size());
            std::sort(list.begin(), list.end(), [](const Triangle& t, const Triangle& u) { return t.lo[0] < u.lo[0]; });
            for (size_t i = 0; i < list.size(); ++i)
                for (size_t j = i + 1; j < list.size() && list[j].lo[0] < list[i].hi[0]; ++j) {
                    const Triangle &t = list[i], &u = list[j];
                    if (u.lo[1] >= t.hi[1] || u.hi[1] <= t.lo[1] || sharedArea(t, u) < 1e-6) continue;
                    std::pair first{t.section, t.mesh}, second{u.section, u.mesh};
                    if (second < first) std::swap(first, second);
                    if (meshPairs.insert({first.first, first.second, second.first, second.second}).second)
                        ADD_FAILURE() << "e" << first.first + 1 << variant << " mesh " << first.second << " and e"
                                      << second.first + 1 << variant << " mesh " << second.second
                                      << " overlap in one plane";
                }
        }
        EXPECT_GT(triangles, 10000) << "the sections were not all read";
        EXPECT_TRUE(meshPairs.empty());
    }
}

} // namespace
} // namespace ruma::test
