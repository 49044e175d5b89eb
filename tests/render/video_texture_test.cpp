// The cat's video: the clock that picks and loops the frames and the pictures
// that reach the texture (a missing or damaged file is the bad-input suite's).
#include "render/video_texture.h"

#include "support/gl_context.h"

#include <gtest/gtest.h>

namespace ruma {
namespace {

class CatVideo : public ::testing::Test {
protected:
    void SetUp() override
    {
        TOVIK3D_REQUIRE_GL();
        testing::internal::CaptureStdout();
        video = new VideoTexture();
        printed = testing::internal::GetCapturedStdout();
    }
    void TearDown() override
    {
        if (!video) return;
        video->release();
        delete video;
        EXPECT_EQ(test::drainGlErrors(), 0);
    }

    // Sets the frame, uploads it and returns the texture, bottom row first.
    std::vector<unsigned char> show(int frame)
    {
        video->frame = frame;
        glBindTexture(GL_TEXTURE_2D, video->handle);
        video->upload();
        return test::readTexture(video->handle, kVideoTextureSize, kVideoTextureSize);
    }

    VideoTexture* video = nullptr;
    std::string printed;
};

// The clock picks the frame and starts again at the end; the texture shows the
// current frame and keeps the last one past the end.
TEST_F(CatVideo, ClockPicksTheFrameThatTheTextureShows)
{
    const int n = video->frameCount;
    ASSERT_GT(n, 10);
    EXPECT_EQ(printed, "AVI Player: Width: 320, Height: 240, Frames: " + std::to_string(n) +
                           " Milliseconds per Frame: 40\n");
    video->advance(0.04 * n - 0.001);
    EXPECT_EQ(video->frame, n - 1);
    video->advance(0.001);   // past the last frame
    EXPECT_EQ(video->frame, 0);
    EXPECT_EQ(video->clockMs, 0.0);
    // A step across the end drops the remainder instead of carrying it over.
    video->advance(0.04 * (n - 1));
    video->advance(0.045);
    EXPECT_EQ(video->frame, 0);
    EXPECT_EQ(video->clockMs, 0.0);
    video->advance(0.045);
    EXPECT_EQ(video->frame, 1);

    const std::vector<unsigned char> first = show(0);
    EXPECT_EQ(first, std::vector<unsigned char>(video->pixels(), video->pixels() + first.size()));
    const std::vector<unsigned char> later = show(video->frameCount / 2);
    EXPECT_NE(later, first) << "the face does not move";
    // Playing on costs one decode a frame; the same frame again costs nothing.
    const int decoded = video->framesDecoded();
    ASSERT_TRUE(video->decodeFrame(video->frameCount / 2 + 1));
    ASSERT_TRUE(video->decodeFrame(video->frameCount / 2 + 1));
    EXPECT_EQ(video->framesDecoded(), decoded + 1);
    const std::vector<unsigned char> last = show(video->frameCount - 1);
    EXPECT_EQ(show(video->frameCount + 10), last);
}

} // namespace
} // namespace ruma
