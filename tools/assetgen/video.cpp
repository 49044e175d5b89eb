// The cat's far-away face: three seconds of the cat's skin with a living face
// (it looks about, blinks, meows and flicks an ear), looping, 320 x 240 at
// 25 frames a second, Motion JPEG in AVI. The game stretches each frame to
// 256 x 256 and lays it over the cat through the cat's texture coordinates.
#include "assets.h"
#include "characters.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace assetgen {

namespace {

constexpr int kWidth = 320, kHeight = 240, kFps = 25, kFrames = 75;
constexpr double kLoopSeconds = double(kFrames) / kFps;

// A bump that rises and falls once between a and b, zero elsewhere.
double pulse(double t, double a, double b)
{
    if (t <= a || t >= b) return 0.0;
    return std::sin(3.14159265358979 * (t - a) / (b - a));
}

CatExpression expressionAt(double t)
{
    const double w = 6.283185307179586 / kLoopSeconds;   // everything repeats with the loop
    CatExpression e;
    e.look = {static_cast<float>(0.8 * std::sin(w * t)), static_cast<float>(0.25 * std::sin(2 * w * t))};
    e.pupil = static_cast<float>(0.35 + 0.25 * std::sin(w * t + 1.0) + 0.3 * pulse(t, 1.1, 2.0));
    e.blink = static_cast<float>(std::max(pulse(t, 0.5, 0.74), pulse(t, 2.3, 2.54)));
    e.mouth = static_cast<float>(pulse(t, 1.15, 1.95));
    e.earTwitch = static_cast<float>(pulse(t, 2.6, 2.8) - 0.5 * pulse(t, 2.8, 2.95));
    e.whiskers = static_cast<float>(0.08 * std::sin(2 * w * t) + 0.12 * pulse(t, 1.15, 1.95));
    return e;
}

void check(int result, const char* what)
{
    if (result < 0) throw std::runtime_error(std::string("video: ") + what + " failed");
}

} // namespace

void writeVideo(const std::string& root)
{
    std::string path = root + "/Textures/cat.avi";
    av_log_set_level(AV_LOG_ERROR);
    AVFormatContext* format = nullptr;
    check(avformat_alloc_output_context2(&format, nullptr, "avi", path.c_str()), "AVI muxer");
    format->flags |= AVFMT_FLAG_BITEXACT;   // no version strings that differ between builds
    const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_MJPEG);
    if (!codec) throw std::runtime_error("video: no Motion JPEG encoder");
    AVStream* stream = avformat_new_stream(format, nullptr);
    AVCodecContext* encoder = avcodec_alloc_context3(codec);
    encoder->width = kWidth;
    encoder->height = kHeight;
    encoder->time_base = {1, kFps};
    encoder->framerate = {kFps, 1};
    encoder->pix_fmt = AV_PIX_FMT_YUVJ420P;
    encoder->flags |= AV_CODEC_FLAG_QSCALE | AV_CODEC_FLAG_BITEXACT;
    encoder->global_quality = FF_QP2LAMBDA * 3;
    encoder->thread_count = 1;
    check(avcodec_open2(encoder, codec, nullptr), "opening the encoder");
    check(avcodec_parameters_from_context(stream->codecpar, encoder), "stream parameters");
    stream->time_base = encoder->time_base;
    stream->avg_frame_rate = {kFps, 1};
    check(avio_open(&format->pb, path.c_str(), AVIO_FLAG_WRITE), "opening the file");
    check(avformat_write_header(format, nullptr), "AVI header");

    AVFrame* frame = av_frame_alloc();
    frame->format = encoder->pix_fmt;
    frame->width = kWidth;
    frame->height = kHeight;
    check(av_frame_get_buffer(frame, 0), "frame buffer");
    SwsContext* converter = sws_getContext(kWidth, kHeight, AV_PIX_FMT_RGB24, kWidth, kHeight, AV_PIX_FMT_YUVJ420P,
                                           SWS_BICUBIC | SWS_ACCURATE_RND | SWS_BITEXACT, nullptr, nullptr, nullptr);
    AVPacket* packet = av_packet_alloc();
    std::vector<uint8_t> rgb(static_cast<size_t>(kWidth) * kHeight * 3);

    auto drain = [&]() {
        while (avcodec_receive_packet(encoder, packet) == 0) {
            av_packet_rescale_ts(packet, encoder->time_base, stream->time_base);
            packet->stream_index = stream->index;
            check(av_interleaved_write_frame(format, packet), "writing a frame");
        }
    };
    for (int i = 0; i < kFrames; ++i) {
        Canvas canvas(kWidth, kHeight);
        paintCatSkin(canvas, expressionAt(double(i) / kFps));
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) {
                const Color& c = canvas.pixel(x, y);
                uint8_t* p = &rgb[(static_cast<size_t>(y) * kWidth + x) * 3];
                p[0] = static_cast<uint8_t>(std::lround(std::clamp(c.r, 0.0f, 1.0f) * 255));
                p[1] = static_cast<uint8_t>(std::lround(std::clamp(c.g, 0.0f, 1.0f) * 255));
                p[2] = static_cast<uint8_t>(std::lround(std::clamp(c.b, 0.0f, 1.0f) * 255));
            }
        check(av_frame_make_writable(frame), "frame");
        const uint8_t* planes[1] = {rgb.data()};
        const int strides[1] = {kWidth * 3};
        sws_scale(converter, planes, strides, 0, kHeight, frame->data, frame->linesize);
        frame->pts = i;
        frame->quality = encoder->global_quality;
        check(avcodec_send_frame(encoder, frame), "encoding a frame");
        drain();
    }
    check(avcodec_send_frame(encoder, nullptr), "flushing the encoder");
    drain();
    check(av_write_trailer(format), "AVI index");

    sws_freeContext(converter);
    av_packet_free(&packet);
    av_frame_free(&frame);
    avcodec_free_context(&encoder);
    avio_closep(&format->pb);
    avformat_free_context(format);
}

} // namespace assetgen
