// The texture that plays a video (the cat's screen): a 256 x 256 RGB texture
// fed from the first video stream of a file, decoded with FFmpeg. A clock in
// milliseconds picks the frame and the video loops at its end.
#pragma once

#include "render/gl.h"

#include <string>

namespace ruma {

// The texture's side in pixels; every source is stretched to fill it.
constexpr int kVideoTextureSize = 256;

class VideoTexture {
public:
    // Opens the video (fatal when it cannot be opened or decoded), prints its
    // parameters and makes the texture, bound to unit 0.
    explicit VideoTexture(const std::string& path = "Resources/Textures/cat.avi");

    GLuint handle;
    double clockMs;     // playback clock
    int frame;          // current frame, from 0
    int frameCount;
    int msPerFrame;     // whole milliseconds per frame
    int width;          // source frame size
    int height;

    // Moves the clock on by dt seconds; past the end the video starts again
    // at frame 0 (the time beyond the end is dropped).
    void advance(double dt);
    // Writes the current frame into the texture bound to GL_TEXTURE_2D. When
    // the decoder delivers no frame the texture keeps its last picture.
    void upload();
    // Closes the video and deletes the texture.
    void release();

    // Decodes frame n into the frame buffer; false when the decoder delivers none.
    bool decodeFrame(int n);
    // The frame buffer: 256 x 256 RGB, bottom row first (GL's order).
    const unsigned char* pixels() const;
    // Frames the decoder has delivered so far (a sequential frame costs one).
    int framesDecoded() const;

private:
    struct Decoder;
    Decoder* decoder;
};

} // namespace ruma
