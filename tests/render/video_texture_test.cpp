// The video texture: the file's parameters, the clock that picks and loops
// the frames, and the pictures that reach the texture.
#include "render/video_texture.h"

#include "avi_writer.h"
#include "render/renderer.h"
#include "render_fixtures.h"
#include "support/gl_context.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <unistd.h>

namespace ruma {
namespace {

using test::Rgb;

// Frame k: the top half one colour, the bottom half another, both changing with k.
Rgb topColour(int k) { return {40 + 4 * k, 200 - 3 * k, 60}; }
Rgb bottomColour(int k) { return {220 - 4 * k, 30 + 3 * k, 180}; }

class VideoFile : public ::testing::Test {
protected:
    void SetUp() override { TOVIK3D_REQUIRE_GL(); }
    void TearDown() override
    {
        if (!video) return;
        video->release();
        delete video;
        EXPECT_EQ(test::drainGlErrors(), 0);
    }

    // Writes a video of halves at 25 frames a second and opens it, keeping what it prints.
    VideoTexture& open(int width, int height, int frames)
    {
        const std::string path = scratch.file("video.avi");
        EXPECT_TRUE(test::writeAvi(path, width, height, frames, 25,
                                   [height](int k, int, int y) { return y < height / 2 ? topColour(k) : bottomColour(k); }));
        testing::internal::CaptureStdout();
        video = new VideoTexture(path);
        printed = testing::internal::GetCapturedStdout();
        return *video;
    }

    // Sets the frame, uploads it and returns the texture.
    std::vector<unsigned char> show(int frame)
    {
        video->frame = frame;
        glBindTexture(GL_TEXTURE_2D, video->handle);
        video->upload();
        return test::readTexture(video->handle, kVideoTextureSize, kVideoTextureSize);
    }

    // The bottom rows come first and show the frame's bottom half.
    static void expectFrame(const std::vector<unsigned char>& rgb, int k)
    {
        for (auto [row, expected] : {std::pair{10, bottomColour(k)}, std::pair{245, topColour(k)}}) {
            const unsigned char* p = &rgb[(static_cast<size_t>(row) * kVideoTextureSize + 128) * 3];
            EXPECT_TRUE(test::colourNear({p[0], p[1], p[2]}, expected, 8)) << "frame " << k << " row " << row;
        }
    }

    test::ScratchDir scratch{"render-video"};
    VideoTexture* video = nullptr;
    std::string printed;
};

TEST_F(VideoFile, ClockPicksTheFrameAndStartsAgainAtTheEnd)
{
    open(64, 48, 3);
    EXPECT_EQ(printed, "AVI Player: Width: 64, Height: 48, Frames: 3 Milliseconds per Frame: 40\n");
    video->advance(0.119);
    EXPECT_EQ(video->frame, 2);
    video->advance(0.001);   // 120 ms: past the last frame
    EXPECT_EQ(video->frame, 0);
    EXPECT_EQ(video->clockMs, 0.0);
    // A step across the end drops the remainder instead of carrying it over.
    video->advance(0.080);
    EXPECT_EQ(video->frame, 2);
    video->advance(0.085);
    EXPECT_EQ(video->frame, 0);
    EXPECT_EQ(video->clockMs, 0.0);
    video->advance(0.045);
    EXPECT_EQ(video->frame, 1);
}

TEST_F(VideoFile, UploadsTheCurrentFrameBottomRowFirstAndTheCatEntryShowsIt)
{
    open(320, 240, 50);
    EXPECT_EQ(printed, "AVI Player: Width: 320, Height: 240, Frames: 50 Milliseconds per Frame: 40\n");
    video->advance(0.41);
    ASSERT_EQ(video->frame, 10);
    const std::vector<unsigned char> shown = show(video->frame);
    expectFrame(shown, 10);
    EXPECT_EQ(shown, std::vector<unsigned char>(video->pixels(), video->pixels() + shown.size()));

    // Playing on costs one decode a frame; the same frame again costs nothing.
    const int decoded = video->framesDecoded();
    for (int k = 11; k < 50; ++k) ASSERT_TRUE(video->decodeFrame(k)) << k;
    ASSERT_TRUE(video->decodeFrame(49));
    EXPECT_EQ(video->framesDecoded(), decoded + 39);
    EXPECT_FALSE(video->decodeFrame(50));
    // Back again; a frame number the file does not have keeps the last picture.
    expectFrame(show(3), 3);
    expectFrame(show(60), 3);

    // The cat's entry draws with the video, at the frame of its clock.
    Shader* shader = test::makeShader("basic.vert", "toon.frag");
    test::FakeDrawable cat("Cat", shader);
    Renderer renderer;
    video->advance(0.6);   // frame 25
    renderer.drawEntry(RenderEntry{&cat, nullptr, 0.0f, glm::vec3(1.0f), true, video});
    EXPECT_EQ(static_cast<GLuint>(cat.textureDuringDraw), video->handle);
    expectFrame(test::readTexture(video->handle, kVideoTextureSize, kVideoTextureSize), 25);
    renderer.release();
    deleteShader(shader);
}

TEST(VideoFileDeathTest, AMissingFileEndsTheGame)
{
    const std::string missing = test::buildDir() + "/no-such-video.avi";
    EXPECT_EXIT(
        {
            // The message goes to standard output; the wait for a key must not block.
            std::freopen("/dev/null", "r", stdin);
            dup2(2, 1);
            VideoTexture video(missing);
        },
        testing::ExitedWithCode(255), "Failed To Open The AVI Stream\n");
}

} // namespace
} // namespace ruma
