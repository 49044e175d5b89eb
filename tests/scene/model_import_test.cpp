// Model files that cannot be used: unreadable, or with positions that are not
// finite. Both lines are printed and nothing is left to draw.
#include "scene/imported_object.h"

#include "support/process.h"

#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>

namespace ruma::scene {
namespace {

// Needs no GL context: nothing is uploaded for a file that cannot be read, nor
// for meshes whose positions are not finite (a damaged file), which would hand
// the physics and the culling boxes they cannot use.
TEST(ModelImportFailure, UnreadableFilesAndNonFiniteMeshesReportBothLinesAndLeaveNothingToDraw)
{
    ruma::test::ScratchDir dir("model-import-failure");
    // (a NaN first vertex: the importer merges later NaN vertices into earlier ones)
    dir.write("nan.obj", "o a\nv nan 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n");
    dir.write("huge.obj", "o b\nv 0 0 1e39\nv 1 0 1\nv 0 1 1\nf 1 2 3\n");
    for (const std::string& path :
         {std::string("Resources/Models/no-such-model.obj"), dir.file("nan.obj"), dir.file("huge.obj")}) {
        SCOPED_TRACE(path);
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        ImportedObject object(glm::translate(glm::mat4(1.0f), glm::vec3(1, 2, 3)), nullptr, path);
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "ERROR: reading mesh " + path + "\n");
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "  FILE: " + path + " \n");
        EXPECT_TRUE(object.meshes.empty());
        object.draw();   // no vertex array to bind: must not touch GL at all
    }
}

} // namespace
} // namespace ruma::scene
