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
using ruma::test::boxIs;
using ruma::test::matricesNear;
using ruma::test::quietly;

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
    const glm::vec3 moved = translationOf(turned->model);
    EXPECT_NEAR(moved.x, 3.0f, 1e-5f);
    EXPECT_NEAR(moved.y, 2.0f, 1e-5f);
    EXPECT_NEAR(moved.z, -1.0f, 1e-5f);
    EXPECT_TRUE(boxIs(turned->meshes[0], {1, 2, 2, 3, 3, 4}));
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
    EXPECT_TRUE(boxIs(a->meshes[0], {0, 1, 0, 1, 0, 1}));
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

// What genPhysics writes and returns; frees the shape and motion state it hands over.
struct Body {
    Body(SceneObject& object, float mass) : info(build(object, mass, line)) {}
    ~Body()
    {
        delete info.m_collisionShape;
        delete info.m_motionState;
    }
    btTransform start() const
    {
        btTransform transform;
        info.m_motionState->getWorldTransform(transform);
        return transform;
    }
    btVector3 boxHalfExtents() const
    {
        EXPECT_EQ(info.m_collisionShape->getShapeType(), BOX_SHAPE_PROXYTYPE);
        return static_cast<btBoxShape*>(info.m_collisionShape)->getHalfExtentsWithMargin();
    }

    std::string line;
    btRigidBody::btRigidBodyConstructionInfo info;

private:
    static btRigidBody::btRigidBodyConstructionInfo build(SceneObject& object, float mass, std::string& line)
    {
        testing::internal::CaptureStdout();
        auto info = object.genPhysics(mass);
        line = testing::internal::GetCapturedStdout();
        return info;
    }
};

TEST(ScenePhysics, BoxKindsSpanTheFirstMeshFullyAtTheObjectsPosition)
{
    auto object = objectWithBoxes(rotateDegrees(glm::translate(glm::mat4(1.0f), glm::vec3(4, 5, 6)), 30.0f,
                                                glm::vec3(0, 1, 0)),
                                  {box(1, 3, 0, 1, -2, 2), box(-50, 50, -50, 50, -50, 50)});
    Body body(*object, 2.5f), again(*object, 1.0f);
    EXPECT_EQ(body.line, "genphysics in imported object called\n");
    EXPECT_FLOAT_EQ(body.info.m_mass, 2.5f);
    EXPECT_EQ(body.info.m_localInertia, btVector3(0, 0, 0));
    EXPECT_FLOAT_EQ(body.info.m_friction, 0.5f);
    EXPECT_EQ(body.boxHalfExtents(), btVector3(2, 1, 4));
    EXPECT_EQ(body.start().getOrigin(), btVector3(4, 5, 6));
    EXPECT_EQ(body.start().getRotation(), btQuaternion(0, 0, 0, 1));
    // Each call makes its own shape and motion state.
    EXPECT_NE(again.info.m_collisionShape, body.info.m_collisionShape);
    EXPECT_NE(again.info.m_motionState, body.info.m_motionState);

    // Without meshes the box has no size.
    InScratchDirectory here("scene-physics");
    auto skateboard = quietly([] {
        return std::make_unique<AnimatedObject>(glm::translate(glm::mat4(1.0f), glm::vec3(1.5f, -0.5f, 1.0f)),
                                                nullptr);
    });
    Body board(*skateboard, 1.0f);
    EXPECT_EQ(board.line, "genphysics in animated object called\n");
    EXPECT_EQ(board.boxHalfExtents(), btVector3(0, 0, 0));
    EXPECT_EQ(board.start().getOrigin(), btVector3(1.5f, -0.5f, 1.0f));
}

TEST(ScenePhysics, ThePlayerIsAQuarterTurnedCapsule)
{
    InScratchDirectory here("scene-player");
    auto player = quietly([] {
        return std::make_unique<Tovik>(
            glm::scale(glm::translate(glm::mat4(1.0f), glm::vec3(3, 1, -4)), glm::vec3(0.25f)), nullptr);
    });
    Body body(*player, 1.0f);
    EXPECT_EQ(body.line, "genphysics in tovik called\n");
    EXPECT_FLOAT_EQ(body.info.m_mass, 1.0f);
    EXPECT_EQ(body.info.m_localInertia, btVector3(0, 0, 0));
    ASSERT_EQ(body.info.m_collisionShape->getShapeType(), CAPSULE_SHAPE_PROXYTYPE);
    const auto* capsule = static_cast<btCapsuleShape*>(body.info.m_collisionShape);
    EXPECT_FLOAT_EQ(capsule->getRadius(), 0.375f);
    EXPECT_FLOAT_EQ(2.0f * capsule->getHalfHeight(), 0.75f);
    EXPECT_EQ(capsule->getUpAxis(), 1);

    EXPECT_EQ(body.start().getOrigin(), btVector3(3, 1, -4));
    const btMatrix3x3& basis = body.start().getBasis();
    const btVector3 rows[3] = {btVector3(0, 0, 1), btVector3(0, 1, 0), btVector3(-1, 0, 0)};
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            EXPECT_NEAR(basis[r][c], rows[r][c], 1e-6) << "row " << r << " column " << c;
}

} // namespace
} // namespace ruma::scene
