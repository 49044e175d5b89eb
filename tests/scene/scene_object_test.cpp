#include "scene/animated_object.h"
#include "scene/cat.h"
#include "scene/imported_object.h"
#include "scene/slime.h"
#include "scene/tovik.h"
#include "scene_test_support.h"

#include "platform/math_conventions.h"

#include <memory>

namespace ruma::scene {
namespace {

using ruma::test::InScratchDirectory;
using ruma::test::matricesNear;

MeshRecord box(float minX, float maxX, float minY, float maxY, float minZ, float maxZ)
{
    MeshRecord record;
    record.minX = minX;
    record.maxX = maxX;
    record.minY = minY;
    record.maxY = maxY;
    record.minZ = minZ;
    record.maxZ = maxZ;
    return record;
}

// An object without a model file, given mesh boxes by hand (no GL names, so
// no context is needed).
std::unique_ptr<ImportedObject> objectWithBoxes(const glm::mat4& model, std::vector<MeshRecord> boxes)
{
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    auto object = std::make_unique<ImportedObject>(model, nullptr, "no-such-dir/no-model.obj");
    testing::internal::GetCapturedStderr();
    testing::internal::GetCapturedStdout();
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
    EXPECT_FLOAT_EQ(plain->meshes[1].minX, -1.0f);
    EXPECT_FLOAT_EQ(plain->meshes[1].maxX, 3.0f);
    EXPECT_FLOAT_EQ(plain->meshes[1].minY, 6.0f);
    EXPECT_FLOAT_EQ(plain->meshes[1].maxY, 7.0f);
    EXPECT_FLOAT_EQ(plain->meshes[1].minZ, 2.0f);
    EXPECT_FLOAT_EQ(plain->meshes[1].maxZ, 3.0f);
    EXPECT_FLOAT_EQ(plain->meshes[0].maxZ, 4.0f);

    // A quarter turn about y: local x is world -z, local z is world +x.
    auto turned = objectWithBoxes(rotateDegrees(glm::mat4(1.0f), 90.0f, glm::vec3(0, 1, 0)),
                                  {box(0, 1, 0, 1, 0, 1)});
    turned->translate(offset);
    const glm::vec3 moved = translationOf(turned->model);
    EXPECT_NEAR(moved.x, 3.0f, 1e-5f);
    EXPECT_NEAR(moved.y, 2.0f, 1e-5f);
    EXPECT_NEAR(moved.z, -1.0f, 1e-5f);
    EXPECT_FLOAT_EQ(turned->meshes[0].minX, 1.0f);
    EXPECT_FLOAT_EQ(turned->meshes[0].minY, 2.0f);
    EXPECT_FLOAT_EQ(turned->meshes[0].minZ, 3.0f);
}

TEST(SceneObjectMotion, RotateTakesDegreesAboutTheNormalisedAxisAndLeavesBoxes)
{
    const glm::mat4 start = glm::translate(glm::mat4(1.0f), glm::vec3(1, 2, 3));
    auto a = objectWithBoxes(start, {box(0, 1, 0, 1, 0, 1)});
    auto b = objectWithBoxes(start, {box(0, 1, 0, 1, 0, 1)});
    a->rotate(90.0f, glm::vec3(0, 2, 0));
    b->rotate(90.0f, glm::vec3(0, 1, 0));
    EXPECT_TRUE(matricesNear(a->model, b->model, 1e-6f));
    // Degrees, turning on the right of the matrix: +x ends up along -z, position kept.
    const glm::vec4 xAxis = a->model * glm::vec4(1, 0, 0, 0);
    EXPECT_NEAR(xAxis.x, 0.0f, 1e-6f);
    EXPECT_NEAR(xAxis.z, -1.0f, 1e-6f);
    EXPECT_EQ(translationOf(a->model), glm::vec3(1, 2, 3));
    EXPECT_FLOAT_EQ(a->meshes[0].minX, 0.0f);
    EXPECT_FLOAT_EQ(a->meshes[0].maxZ, 1.0f);
}

TEST(SceneObjectKinds, NamesAndFlagsOfEveryKind)
{
    InScratchDirectory here("scene-kinds");   // no Resources/: every model is missing
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    ImportedObject level(glm::mat4(1.0f), nullptr, "Resources/Models/e1.obj");
    Tovik player(glm::mat4(1.0f), nullptr);
    Cat cat(glm::mat4(1.0f), nullptr);
    Slime slime(glm::mat4(1.0f), nullptr, false);
    AnimatedObject skateboard(glm::mat4(1.0f), nullptr);
    const std::string err = testing::internal::GetCapturedStderr();
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out, "  FILE: Resources/Models/e1.obj \n"
                   "  FILE: Resources/Models/tovk.obj \n"
                   "  FILE: Resources/Models/cat.obj \n"
                   "  FILE: Resources/Models/slime.obj \n"
                   "  FILE: Resources/Models/skateboard.dae \n");
    EXPECT_NE(err.find("ERROR: reading mesh Resources/Models/skateboard.dae\n"), std::string::npos);

    struct Expected {
        SceneObject* object;
        const char* name;
        bool transparent;
        bool unlit;
    };
    for (const Expected& e : {Expected{&level, "Imported Object", false, true},
                              Expected{&player, "Tovik", true, false}, Expected{&cat, "Cat", false, false},
                              Expected{&slime, "Slime", true, false},
                              Expected{&skateboard, "Animated Object", false, false}}) {
        EXPECT_EQ(e.object->getName(), e.name);
        EXPECT_EQ(e.object->isTransparent(), e.transparent) << e.name;
        EXPECT_EQ(e.object->isUnlit(), e.unlit) << e.name;
    }
    level.setName("Level");
    EXPECT_EQ(level.getName(), "Level");
    skateboard.setName("Board");
    EXPECT_EQ(skateboard.getName(), "Board");
    EXPECT_EQ(skateboard.name, "Board");
    player.setName(player.getName());
    EXPECT_EQ(player.getName(), "Tovik");
}

// Frees what genPhysics hands over.
struct BodyParts {
    explicit BodyParts(const btRigidBody::btRigidBodyConstructionInfo& info)
        : shape(info.m_collisionShape), motionState(info.m_motionState) {}
    ~BodyParts()
    {
        delete shape;
        delete motionState;
    }
    btCollisionShape* shape;
    btMotionState* motionState;
};

btTransform startTransform(const btRigidBody::btRigidBodyConstructionInfo& info)
{
    btTransform transform;
    info.m_motionState->getWorldTransform(transform);
    return transform;
}

TEST(ScenePhysics, BoxKindsSpanTheFirstMeshFullyAtTheObjectsPosition)
{
    auto object = objectWithBoxes(rotateDegrees(glm::translate(glm::mat4(1.0f), glm::vec3(4, 5, 6)), 30.0f,
                                                glm::vec3(0, 1, 0)),
                                  {box(1, 3, 0, 1, -2, 2), box(-50, 50, -50, 50, -50, 50)});
    testing::internal::CaptureStdout();
    const auto info = object->genPhysics(2.5f);
    const auto again = object->genPhysics(1.0f);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "genphysics in imported object called\ngenphysics in imported object called\n");
    BodyParts parts(info), otherParts(again);

    EXPECT_FLOAT_EQ(info.m_mass, 2.5f);
    EXPECT_EQ(info.m_localInertia, btVector3(0, 0, 0));
    EXPECT_FLOAT_EQ(info.m_friction, 0.5f);
    ASSERT_EQ(info.m_collisionShape->getShapeType(), BOX_SHAPE_PROXYTYPE);
    const btVector3 half = static_cast<btBoxShape*>(info.m_collisionShape)->getHalfExtentsWithMargin();
    EXPECT_FLOAT_EQ(half.x(), 2.0f);
    EXPECT_FLOAT_EQ(half.y(), 1.0f);
    EXPECT_FLOAT_EQ(half.z(), 4.0f);
    const btTransform start = startTransform(info);
    EXPECT_EQ(start.getOrigin(), btVector3(4, 5, 6));
    EXPECT_EQ(start.getRotation(), btQuaternion(0, 0, 0, 1));

    // Each call makes its own shape and motion state.
    EXPECT_NE(again.m_collisionShape, info.m_collisionShape);
    EXPECT_NE(again.m_motionState, info.m_motionState);
}

TEST(ScenePhysics, WithoutMeshesTheBoxHasNoSize)
{
    InScratchDirectory here("scene-physics");
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    AnimatedObject skateboard(glm::translate(glm::mat4(1.0f), glm::vec3(1.5f, -0.5f, 1.0f)), nullptr);
    testing::internal::GetCapturedStderr();
    testing::internal::GetCapturedStdout();

    testing::internal::CaptureStdout();
    const auto info = skateboard.genPhysics(1.0f);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "genphysics in animated object called\n");
    BodyParts parts(info);
    ASSERT_EQ(info.m_collisionShape->getShapeType(), BOX_SHAPE_PROXYTYPE);
    EXPECT_EQ(static_cast<btBoxShape*>(info.m_collisionShape)->getHalfExtentsWithMargin(), btVector3(0, 0, 0));
    EXPECT_EQ(startTransform(info).getOrigin(), btVector3(1.5f, -0.5f, 1.0f));
}

TEST(ScenePhysics, ThePlayerIsAQuarterTurnedCapsule)
{
    InScratchDirectory here("scene-player");
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    Tovik player(glm::translate(glm::mat4(1.0f), glm::vec3(3, 1, -4)) * glm::scale(glm::mat4(1.0f), glm::vec3(0.25f)),
                 nullptr);
    testing::internal::GetCapturedStderr();
    testing::internal::GetCapturedStdout();

    testing::internal::CaptureStdout();
    const auto info = player.genPhysics(1.0f);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "genphysics in tovik called\n");
    BodyParts parts(info);
    EXPECT_FLOAT_EQ(info.m_mass, 1.0f);
    EXPECT_EQ(info.m_localInertia, btVector3(0, 0, 0));
    ASSERT_EQ(info.m_collisionShape->getShapeType(), CAPSULE_SHAPE_PROXYTYPE);
    const auto* capsule = static_cast<btCapsuleShape*>(info.m_collisionShape);
    EXPECT_FLOAT_EQ(capsule->getRadius(), 0.375f);
    EXPECT_FLOAT_EQ(2.0f * capsule->getHalfHeight(), 0.75f);
    EXPECT_EQ(capsule->getUpAxis(), 1);

    const btTransform start = startTransform(info);
    EXPECT_EQ(start.getOrigin(), btVector3(3, 1, -4));
    const btMatrix3x3& basis = start.getBasis();
    const btVector3 rows[3] = {btVector3(0, 0, 1), btVector3(0, 1, 0), btVector3(-1, 0, 0)};
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) EXPECT_NEAR(basis[r][c], rows[r][c], 1e-6) << "row " << r << " column " << c;
}

} // namespace
} // namespace ruma::scene
