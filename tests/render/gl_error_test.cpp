// GL errors are printed one line each, in the order the queue returns them.
#include "render/gl.h"
#include "render/gl_error.h"
#include "support/gl_context.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

namespace ruma {
namespace {

std::vector<unsigned int> queued;
unsigned int popQueued()
{
    if (queued.empty()) return GL_NO_ERROR;
    unsigned int error = queued.front();
    queued.erase(queued.begin());
    return error;
}

TEST(CheckGlError, PrintsEveryQueuedErrorInOrder)
{
    queued = {GL_INVALID_VALUE, GL_INVALID_ENUM, GL_OUT_OF_MEMORY, GL_INVALID_FRAMEBUFFER_OPERATION,
              GL_INVALID_OPERATION, GL_STACK_OVERFLOW};
    std::ostringstream out;
    checkGlError(221, out, popQueued);
    EXPECT_EQ(out.str(),
              "GL_INVALID_VALUE - main:221\n"
              "GL_INVALID_ENUM - main:221\n"
              "GL_OUT_OF_MEMORY - main:221\n"
              "GL_INVALID_FRAMEBUFFER_OPERATION - main:221\n"
              "GL_INVALID_OPERATION - main:221\n"
              "GL_ - main:221\n");
    EXPECT_TRUE(queued.empty());

    std::ostringstream quiet;
    checkGlError(141, quiet, popQueued);   // an empty queue says nothing
    EXPECT_EQ(quiet.str(), "");
}

TEST(CheckGlError, ReportsARealErrorOfTheContext)
{
    TOVIK3D_REQUIRE_GL();
    test::drainGlErrors();
    glEnable(0x7FFF);   // not a capability
    testing::internal::CaptureStdout();
    checkGlError(342);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "GL_INVALID_ENUM - main:342\n");
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

} // namespace
} // namespace ruma
