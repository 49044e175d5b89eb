// The motion blur over a frame of sharp black and white stripes: a camera
// gliding sideways smears their edges, and a very short frame, whose scale is
// huge, smears no further than the blur's limit.
#include "render/motion_blur.h"

#include "platform/window.h"
#include "render/shader.h"
#include "support/gl_context.h"

#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>

#include <vector>

namespace ruma {
namespace {

constexpr int kWidth = 320, kHeight = 180, kStripe = 60;

bool white(int x) { return (x / kStripe) % 2 == 0; }

// The blurred row through the middle of the frame, red channel, for a camera
// that moved `shift` (in clip units) to the side since the last frame.
std::vector<int> blurredRow(MotionBlur& blur, float velocityScale, float shift)
{
    std::vector<unsigned char> stripes(size_t(kWidth) * kHeight * 3);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            for (int c = 0; c < 3; ++c) stripes[(size_t(y) * kWidth + x) * 3 + c] = white(x) ? 255 : 0;
    glBindTexture(GL_TEXTURE_2D, blur.colourTexture);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, kWidth, kHeight, GL_RGB, GL_UNSIGNED_BYTE, stripes.data());
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    // Everything halfway into the depth range.
    glBindFramebuffer(GL_FRAMEBUFFER, blur.framebuffer);
    glClearDepth(0.5);
    glClear(GL_DEPTH_BUFFER_BIT);
    glClearDepth(1.0);

    test::OffscreenTarget target(kWidth, kHeight);
    glDisable(GL_DEPTH_TEST);
    blur.pass(false, velocityScale, glm::mat4(1.0f), glm::translate(glm::mat4(1.0f), glm::vec3(shift, 0, 0)));
    glEnable(GL_DEPTH_TEST);
    const std::vector<unsigned char> rgb = target.read();
    std::vector<int> row(kWidth);
    for (int x = 0; x < kWidth; ++x) row[x] = rgb[(size_t(kHeight / 2) * kWidth + x) * 3];
    return row;
}

// Pixels that differ from the sharp stripes by more than the driver's rounding.
int smeared(const std::vector<int>& row, int& farthestFromEdge)
{
    int count = 0;
    farthestFromEdge = 0;
    for (int x = 0; x < kWidth; ++x) {
        if (std::abs(row[x] - (white(x) ? 255 : 0)) <= 2) continue;
        ++count;
        const int toEdge = std::min(x % kStripe, kStripe - 1 - x % kStripe);
        farthestFromEdge = std::max(farthestFromEdge, toEdge);
    }
    return count;
}

TEST(MotionBlur, ASidewaysGlideSmearsTheEdgesAndAShortFrameNoFurtherThanTheLimit)
{
    TOVIK3D_REQUIRE_GL();
    windowWidth = kWidth;
    windowHeight = kHeight;
    MotionBlur blur;
    int reach = 0;
    EXPECT_EQ(smeared(blurredRow(blur, 0.1f, 0.0f), reach), 0) << "a still camera smears";
    // A sixtieth of a second: a glide of 0.04 clip units (6.4 pixels) is
    // smeared over half of it, 1.6 pixels each way.
    EXPECT_GT(smeared(blurredRow(blur, 0.1f, 0.04f), reach), 8);
    EXPECT_LE(reach, 2);
    // A tenth of a millisecond: the smear would cross whole stripes, but the
    // limit holds it to 0.04 of the frame from end to end, 6.4 pixels each way.
    EXPECT_GT(smeared(blurredRow(blur, 0.0016666667f / 0.0001f, 0.04f), reach), 40);
    EXPECT_LE(reach, 6);
    blur.release();
    windowWidth = 1280;
    windowHeight = 720;
    glViewport(0, 0, 1280, 720);
    EXPECT_EQ(test::drainGlErrors(), 0);
}

} // namespace
} // namespace ruma
