// A GL error of the context is printed as one line naming where it was seen.
#include "render/gl.h"
#include "render/gl_error.h"
#include "support/gl_context.h"

#include <gtest/gtest.h>

namespace ruma {
namespace {

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
