// Culling of level sections: the frustum's planes, the box test and the
// one-third rule.
#include "render/frustum.h"

#include "render_fixtures.h"

#include <gtest/gtest.h>

#include <limits>

namespace ruma {
namespace {

using test::boxRecord;

// Eye at the origin looking down +z with y up.
Frustum lookingDownZ()
{
    Frustum frustum(60.0f, 0.1f, 100.0f);
    frustum.updateFromCamera(glm::vec3(0.0f), glm::vec3(0, 0, 1), glm::vec3(0, 1, 0));
    return frustum;
}

TEST(Frustum, RejectsOnlyBoxesWhollyBeyondOnePlane)
{
    // Before the first camera update every plane is zero and everything passes.
    Frustum unset(60.0f, 0.1f, 100.0f);
    EXPECT_TRUE(unset.boxInFrustum(glm::vec3(1e6f), glm::vec3(2e6f)));

    Frustum frustum = lookingDownZ();
    // Straddling the far plane, the near plane, a side plane.
    EXPECT_TRUE(frustum.boxInFrustum(glm::vec3(-1, -1, 90), glm::vec3(1, 1, 110)));
    EXPECT_TRUE(frustum.boxInFrustum(glm::vec3(-1, -1, -5), glm::vec3(1, 1, 5)));
    EXPECT_TRUE(frustum.boxInFrustum(glm::vec3(5, -1, 10), glm::vec3(50, 1, 11)));
    // Touching the near plane exactly (distance 0) counts as inside.
    EXPECT_TRUE(frustum.boxInFrustum(glm::vec3(-1, -1, -5), glm::vec3(1, 1, 0.1f)));
    // Wholly behind the eye, beyond the far plane, off to either side, above.
    EXPECT_FALSE(frustum.boxInFrustum(glm::vec3(-1, -1, -5), glm::vec3(1, 1, 0.05f)));
    EXPECT_FALSE(frustum.boxInFrustum(glm::vec3(-1, -1, 100.5f), glm::vec3(1, 1, 120)));
    EXPECT_FALSE(frustum.boxInFrustum(glm::vec3(30, -1, 10), glm::vec3(40, 1, 11)));
    EXPECT_FALSE(frustum.boxInFrustum(glm::vec3(-40, -1, 10), glm::vec3(-30, 1, 11)));
    EXPECT_FALSE(frustum.boxInFrustum(glm::vec3(-1, 20, 10), glm::vec3(1, 30, 11)));
    // Corners that are not numbers are never inside.
    const float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_FALSE(frustum.boxInFrustum(glm::vec3(nan, 0, 10), glm::vec3(nan, 1, 11)));
}

TEST(Frustum, DrawsASectionWhenAThirdOfItsBoxesAreInView)
{
    const Frustum frustum = lookingDownZ();
    const MeshRecord in = boxRecord(glm::vec3(-1, -1, 10), glm::vec3(1, 1, 12));
    const MeshRecord out = boxRecord(glm::vec3(-1, -1, -12), glm::vec3(1, 1, -10));
    EXPECT_TRUE(frustum.sectionInView({}));
    EXPECT_FALSE(frustum.sectionInView({out}));
    EXPECT_TRUE(frustum.sectionInView({out, in, out}));        // n = 3: one is a third
    EXPECT_FALSE(frustum.sectionInView({out, out, in, out}));  // n = 4: one is less
    EXPECT_TRUE(frustum.sectionInView({in, out, out, in}));
}

} // namespace
} // namespace ruma
