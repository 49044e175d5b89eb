// Moving and turning a scene object: its own axes for the model, the world's for the boxes.
#include "scene/imported_object.h"
#include "scene_test_support.h"

#include "platform/math_conventions.h"

#include <memory>
#include <tuple>

namespace ruma::scene {
namespace {

using ruma::test::boxIs;
using ruma::test::matricesNear;
using ruma::test::quietly;

MeshRecord box(float minX, float maxX, float minY, float maxY, float minZ, float maxZ)
{
    MeshRecord r;
    std::tie(r.minX, r.maxX, r.minY, r.maxY, r.minZ, r.maxZ) = std::tie(minX, maxX, minY, maxY, minZ, maxZ);
    return r;
}

// An object without a model file, given mesh boxes by hand (no GL context needed).
std::unique_ptr<ImportedObject> objectWithBoxes(const glm::mat4& model, std::vector<MeshRecord> boxes)
{
    auto object =
        quietly([&] { return std::make_unique<ImportedObject>(model, nullptr, "no-such-dir/no-model.obj"); });
    object->meshes = std::move(boxes);
    object->meshCount = static_cast<int>(object->meshes.size());
    return object;
}

TEST(SceneObjectMotion, TranslateMovesAlongTheObjectsAxesAndBoxesAlongTheWorlds)
{
    const glm::vec3 offset(1, 2, 3);
    auto plain = objectWithBoxes(glm::translate(glm::mat4(1.0f), glm::vec3(5, 0, 5)),
                                 {box(0, 1, 0, 1, 0, 1), box(-2, 2, 4, 5, -1, 0)});
    plain->translate(offset);
    EXPECT_EQ(translationOf(plain->model), glm::vec3(6, 2, 8));
    EXPECT_TRUE(boxIs(plain->meshes[0], {1, 2, 2, 3, 3, 4}));
    EXPECT_TRUE(boxIs(plain->meshes[1], {-1, 3, 6, 7, 2, 3}));

    // A quarter turn about y: local x is world -z, local z is world +x.
    auto turned = objectWithBoxes(rotateDegrees(glm::mat4(1.0f), 90.0f, glm::vec3(0, 1, 0)),
                                  {box(0, 1, 0, 1, 0, 1)});
    turned->translate(offset);
    EXPECT_LT(glm::distance(translationOf(turned->model), glm::vec3(3, 2, -1)), 1e-5f);
    EXPECT_TRUE(boxIs(turned->meshes[0], {1, 2, 2, 3, 3, 4}));
}

TEST(SceneObjectMotion, RotateTakesDegreesAboutTheNormalisedAxisAndLeavesBoxes)
{
    const glm::mat4 start = glm::translate(glm::mat4(1.0f), glm::vec3(1, 2, 3));
    auto a = objectWithBoxes(start, {box(0, 1, 0, 1, 0, 1)});
    a->rotate(90.0f, glm::vec3(0, 2, 0));   // an axis of length 2 turns as its unit vector
    // Degrees, turning on the right of the matrix: +x ends up along -z, position kept.
    EXPECT_TRUE(matricesNear(a->model, start * glm::mat4(0, 0, -1, 0, 0, 1, 0, 0, 1, 0, 0, 0, 0, 0, 0, 1), 1e-6f));
    EXPECT_TRUE(boxIs(a->meshes[0], {0, 1, 0, 1, 0, 1}));
}

} // namespace
} // namespace ruma::scene
