// Shader programs: the fatal paths are watched from outside, through the probe
// program, because each one ends the process.
#include "render/shader.h"
#include "support/process.h"

#include <gtest/gtest.h>

namespace ruma {
namespace {

const char* kVertex = "#version 330 core\nin vec3 position;\nvoid main() { gl_Position = vec4(position, 1.0); }\n";

class ShaderLoading : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!test::haveDisplay()) GTEST_SKIP() << "no display";
        dir.write("a.vert", kVertex);
    }
    // Runs the probe on two files of the scratch folder; every failure must exit with 255.
    std::string probeFails(const std::string& vertex, const std::string& fragment)
    {
        auto result = test::runProcess({TOVIK3D_PROBE, "shader", dir.file(vertex), dir.file(fragment)});
        EXPECT_EQ(result.exitStatus, 255) << result.out << result.err;
        return result.out;
    }
    test::ScratchDir dir{"shader"};
};

TEST_F(ShaderLoading, MissingFilesAreReportedInLoadingOrder)
{
    // The vertex file is looked for first.
    EXPECT_EQ(probeFails("none.vert", "none.frag"), "failed to open file: " + dir.file("none.vert") + "\n");
    // The fragment file only after the vertex shader compiled...
    EXPECT_EQ(probeFails("a.vert", "none.frag"), "failed to open file: " + dir.file("none.frag") + "\n");
    // ...so a vertex shader that does not compile stops the load before it.
    dir.write("bad.vert", "#version 330 core\nvoid main() { gl_Position = nonsense; }\n");
    EXPECT_EQ(probeFails("bad.vert", "none.frag").rfind("Failed to compile shader\n", 0), 0u);
}

TEST_F(ShaderLoading, CompileAndLinkFailuresPrintTheirLog)
{
    dir.write("bad.frag", "#version 330 core\nout vec4 fragColor;\nvoid main() { fragColor = 1.0 +; }\n");
    const std::string compile = probeFails("a.vert", "bad.frag");
    ASSERT_EQ(compile.rfind("Failed to compile shader\n", 0), 0u) << compile;
    EXPECT_NE(compile.find("error", 25), std::string::npos) << compile;

    dir.write("b.vert", "#version 330 core\nout vec3 tint;\nvoid main() { tint = vec3(1); gl_Position = vec4(0); }\n");
    dir.write("b.frag", "#version 330 core\nin vec4 tint;\nout vec4 fragColor;\nvoid main() { fragColor = tint; }\n");
    const std::string link = probeFails("b.vert", "b.frag");
    ASSERT_EQ(link.rfind("Failed to link shader program\n", 0), 0u) << link;
    EXPECT_GT(link.size(), std::string("Failed to link shader program\n").size() + 2);
}

} // namespace
} // namespace ruma
