// Shader programs: the fatal paths are watched from outside, through the probe
// program, because each one ends the process.
#include "render/shader.h"
#include "support/gl_context.h"
#include "support/process.h"

#include <gtest/gtest.h>

namespace ruma {
namespace {

const char* kVertex = "#version 330 core\n"
                      "in vec3 position;\n"
                      "void main() { gl_Position = vec4(position, 1.0); }\n";
const char* kFragment = "#version 330 core\n"
                        "out vec4 fragColor;\n"
                        "void main() { fragColor = vec4(1.0); }\n";

class ShaderLoading : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!test::haveDisplay()) GTEST_SKIP() << "no display";
    }
    test::ProcessResult probe(const std::string& vertex, const std::string& fragment)
    {
        return test::runProcess({TOVIK3D_PROBE, "shader", vertex, fragment}, {});
    }
    test::ScratchDir dir{"shader"};
};

TEST_F(ShaderLoading, AGoodPairLinks)
{
    dir.write("a.vert", kVertex);
    dir.write("a.frag", kFragment);
    auto result = probe(dir.file("a.vert"), dir.file("a.frag"));
    EXPECT_EQ(result.exitStatus, 0) << result.out << result.err;
    EXPECT_EQ(result.out, "linked\n");
}

TEST_F(ShaderLoading, AMissingVertexFileIsReportedBeforeTheFragmentFile)
{
    auto result = probe(dir.file("none.vert"), dir.file("none.frag"));
    EXPECT_EQ(result.exitStatus, 255);
    EXPECT_FALSE(result.timedOut);
    EXPECT_EQ(result.out, "failed to open file: " + dir.file("none.vert") + "\n");
}

TEST_F(ShaderLoading, AMissingFragmentFileIsReportedAfterTheVertexShaderCompiled)
{
    dir.write("a.vert", kVertex);
    auto result = probe(dir.file("a.vert"), dir.file("none.frag"));
    EXPECT_EQ(result.exitStatus, 255);
    EXPECT_EQ(result.out, "failed to open file: " + dir.file("none.frag") + "\n");

    // A vertex shader that does not compile stops the load before the
    // fragment file is looked for.
    dir.write("bad.vert", "#version 330 core\nvoid main() { gl_Position = nonsense; }\n");
    auto bad = probe(dir.file("bad.vert"), dir.file("none.frag"));
    EXPECT_EQ(bad.exitStatus, 255);
    EXPECT_EQ(bad.out.rfind("Failed to compile shader\n", 0), 0u) << bad.out;
}

TEST_F(ShaderLoading, ACompileFailurePrintsTheLog)
{
    dir.write("a.vert", kVertex);
    dir.write("bad.frag", "#version 330 core\nout vec4 fragColor;\nvoid main() { fragColor = 1.0 +; }\n");
    auto result = probe(dir.file("a.vert"), dir.file("bad.frag"));
    EXPECT_EQ(result.exitStatus, 255);
    ASSERT_EQ(result.out.rfind("Failed to compile shader\n", 0), 0u) << result.out;
    std::string log = result.out.substr(std::string("Failed to compile shader\n").size());
    EXPECT_NE(log.find("error"), std::string::npos) << log;
}

TEST_F(ShaderLoading, AnEmptyFileGoesToTheCompilerAndFails)
{
    dir.write("a.vert", kVertex);
    dir.write("empty.frag", "");
    auto result = probe(dir.file("a.vert"), dir.file("empty.frag"));
    EXPECT_EQ(result.exitStatus, 255);
    EXPECT_EQ(result.out.rfind("Failed to compile shader\n", 0), 0u) << result.out;
}

TEST_F(ShaderLoading, ALinkFailurePrintsTheLog)
{
    dir.write("a.vert", "#version 330 core\nout vec3 tint;\nvoid main() { tint = vec3(1); gl_Position = vec4(0); }\n");
    dir.write("b.frag", "#version 330 core\nin vec4 tint;\nout vec4 fragColor;\nvoid main() { fragColor = tint; }\n");
    auto result = probe(dir.file("a.vert"), dir.file("b.frag"));
    EXPECT_EQ(result.exitStatus, 255);
    ASSERT_EQ(result.out.rfind("Failed to link shader program\n", 0), 0u) << result.out;
    EXPECT_GT(result.out.size(), std::string("Failed to link shader program\n").size() + 2);
}

TEST_F(ShaderLoading, TheFatalWaitReturnsAtTheEndOfInputOnly)
{
    // With a line of input the wait consumes it; with none it returns at once.
    test::ProcessOptions options;
    options.input = "\n";
    auto result = test::runProcess({TOVIK3D_PROBE, "shader", dir.file("x.vert"), dir.file("x.frag")}, options);
    EXPECT_EQ(result.exitStatus, 255);
    EXPECT_LT(result.seconds, 30.0);
}

TEST(ShaderSource, TextModeReadDropsTheCarriageReturnOfEveryLineEnd)
{
    test::ScratchDir dir("shader-text");
    dir.write("crlf.txt", "line one\r\nline two\r\nlone\rcr\r\n");
    std::string text;
    ASSERT_TRUE(readTextFile(dir.file("crlf.txt"), text));
    EXPECT_EQ(text, "line one\nline two\nlone\rcr\n");
    EXPECT_FALSE(readTextFile(dir.file("missing.txt"), text));
}

TEST(ShaderPrograms, TwoProgramsFromOneFilePairKeepTheirOwnUniforms)
{
    TOVIK3D_REQUIRE_GL();
    test::ScratchDir dir("shader-pair");
    dir.write("u.vert", kVertex);
    dir.write("u.frag", "#version 330 core\nuniform float shininess;\nout vec4 fragColor;\n"
                        "void main() { fragColor = vec4(shininess); }\n");
    auto* a = new Shader(dir.file("u.vert"), dir.file("u.frag"));
    auto* b = new Shader(dir.file("u.vert"), dir.file("u.frag"));
    EXPECT_NE(a->program, b->program);
    glUseProgram(a->program);
    glUniform1f(glGetUniformLocation(a->program, "shininess"), 45.0f);
    glUseProgram(b->program);
    glUniform1f(glGetUniformLocation(b->program, "shininess"), 80.0f);
    glUseProgram(0);
    float value = 0.0f;
    glGetUniformfv(a->program, glGetUniformLocation(a->program, "shininess"), &value);
    EXPECT_FLOAT_EQ(value, 45.0f);
    deleteShader(a);
    deleteShader(b);
    EXPECT_EQ(a, nullptr);
    EXPECT_EQ(test::drainGlErrors(), 0);
}

} // namespace
} // namespace ruma
