#include "render/video_texture.h"

#include "platform/fatal.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/log.h>
#include <libswscale/swscale.h>
}

#include <cstdio>
#include <vector>

namespace ruma {

namespace {

constexpr int kRowBytes = kVideoTextureSize * 3;
// Up to this many frames ahead, decoding on is cheaper than seeking.
constexpr int kDecodeAhead = 24;

} // namespace

struct VideoTexture::Decoder {
    AVFormatContext* format = nullptr;
    AVCodecContext* codec = nullptr;
    AVStream* stream = nullptr;
    int streamIndex = -1;
    AVPacket* packet = nullptr;
    AVFrame* picture = nullptr;
    AVRational frameDuration{1, 25};   // seconds per frame
    int64_t startTime = 0;             // in the stream's time base

    // Made for the first decoded frame and kept: rebuilding it per frame is
    // slow for the JPEG pixel formats.
    SwsContext* scaler = nullptr;
    int scalerWidth = 0, scalerHeight = 0, scalerFormat = -1;

    int position = -1;    // frame the decoder delivered last; -1: seek first
    int converted = -1;   // frame the buffer holds
    int decoded = 0;
    std::vector<unsigned char> pixels = std::vector<unsigned char>(kRowBytes * kVideoTextureSize, 0);

    ~Decoder()
    {
        sws_freeContext(scaler);
        av_frame_free(&picture);
        av_packet_free(&packet);
        avcodec_free_context(&codec);
        avformat_close_input(&format);
    }

    int frameNumberOf(int64_t timestamp) const
    {
        return static_cast<int>(
            av_rescale_q(timestamp - startTime, stream->time_base, frameDuration));
    }

    void seek(int n)
    {
        int64_t target = startTime + av_rescale_q(n, frameDuration, stream->time_base);
        av_seek_frame(format, streamIndex, target, AVSEEK_FLAG_BACKWARD);
        avcodec_flush_buffers(codec);
        position = -1;
    }

    // The decoder's next frame into picture; false at the end of the stream.
    bool next()
    {
        for (;;) {
            int result = avcodec_receive_frame(codec, picture);
            if (result == 0) return true;
            if (result != AVERROR(EAGAIN)) return false;
            if (av_read_frame(format, packet) < 0) {
                // End of file: drain what the decoder still holds.
                if (avcodec_send_packet(codec, nullptr) < 0) return false;
                continue;
            }
            // A damaged packet is skipped; the next one may decode.
            if (packet->stream_index == streamIndex) avcodec_send_packet(codec, packet);
            av_packet_unref(packet);
        }
    }

    bool convert()
    {
        if (!scaler || scalerWidth != picture->width || scalerHeight != picture->height ||
            scalerFormat != picture->format) {
            sws_freeContext(scaler);
            scaler = sws_getContext(picture->width, picture->height,
                                    static_cast<AVPixelFormat>(picture->format), kVideoTextureSize,
                                    kVideoTextureSize, AV_PIX_FMT_RGB24, SWS_BILINEAR, nullptr,
                                    nullptr, nullptr);
            scalerWidth = picture->width;
            scalerHeight = picture->height;
            scalerFormat = picture->format;
            if (!scaler) return false;
        }
        // Writing from the last row upwards stores the picture bottom row first.
        uint8_t* target[4] = {pixels.data() + (kVideoTextureSize - 1) * kRowBytes, nullptr, nullptr,
                              nullptr};
        int strides[4] = {-kRowBytes, 0, 0, 0};
        sws_scale(scaler, picture->data, picture->linesize, 0, picture->height, target, strides);
        return true;
    }
};

VideoTexture::VideoTexture(const std::string& path)
    : handle(0), clockMs(0.0), frame(0), frameCount(0), msPerFrame(0), width(0), height(0),
      decoder(new Decoder)
{
    av_log_set_level(AV_LOG_ERROR);
    Decoder& d = *decoder;

    if (avformat_open_input(&d.format, path.c_str(), nullptr, nullptr) != 0 ||
        avformat_find_stream_info(d.format, nullptr) < 0)
        fatalError("Failed To Open The AVI Stream");
    for (unsigned i = 0; i < d.format->nb_streams; ++i) {
        if (d.format->streams[i]->codecpar->codec_type == AVMEDIA_TYPE_VIDEO) {
            d.streamIndex = static_cast<int>(i);
            break;
        }
    }
    if (d.streamIndex < 0) fatalError("Failed To Open The AVI Stream");
    d.stream = d.format->streams[d.streamIndex];
    width = d.stream->codecpar->width;
    height = d.stream->codecpar->height;
    if (d.stream->start_time != AV_NOPTS_VALUE) d.startTime = d.stream->start_time;

    AVRational rate = d.stream->avg_frame_rate;
    if (rate.num <= 0 || rate.den <= 0) rate = d.stream->r_frame_rate;
    if (rate.num > 0 && rate.den > 0) d.frameDuration = av_inv_q(rate);

    int64_t durationMs = 0;
    if (d.stream->duration != AV_NOPTS_VALUE)
        durationMs = av_rescale_q(d.stream->duration, d.stream->time_base, AVRational{1, 1000});
    else if (d.format->duration != AV_NOPTS_VALUE)
        durationMs = d.format->duration / (AV_TIME_BASE / 1000);
    frameCount = static_cast<int>(d.stream->nb_frames);
    if (frameCount <= 0)
        frameCount = static_cast<int>(av_rescale_q(durationMs, AVRational{1, 1000}, d.frameDuration));
    msPerFrame = frameCount > 0 ? static_cast<int>(durationMs / frameCount) : 0;

    const AVCodec* codec = avcodec_find_decoder(d.stream->codecpar->codec_id);
    d.codec = codec ? avcodec_alloc_context3(codec) : nullptr;
    if (!d.codec || avcodec_parameters_to_context(d.codec, d.stream->codecpar) < 0 ||
        avcodec_open2(d.codec, codec, nullptr) < 0)
        fatalError("Failed To Open The AVI Frame");
    d.packet = av_packet_alloc();
    d.picture = av_frame_alloc();

    std::printf("AVI Player: Width: %d, Height: %d, Frames: %d Milliseconds per Frame: %d\n", width,
                height, frameCount, msPerFrame);
    std::fflush(stdout);

    glGenTextures(1, &handle);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, handle);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, kVideoTextureSize, kVideoTextureSize, 0, GL_RGB,
                 GL_UNSIGNED_BYTE, d.pixels.data());
    // One level: the video is only ever sampled from its first (the filter
    // below never reads smaller ones), and the driver's mipmap generation
    // would first build itself a program for the format, at start-up's cost.
    // Not touched by the player's filter settings.
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
}

void VideoTexture::advance(double dt)
{
    clockMs += dt * 1000.0;
    double position = msPerFrame > 0 ? clockMs / msPerFrame : 0.0;
    if (position >= frameCount) {
        frame = 0;
        clockMs = 0.0;
        return;
    }
    frame = static_cast<int>(position);
}

bool VideoTexture::decodeFrame(int n)
{
    if (!decoder) return false;
    Decoder& d = *decoder;
    if (n == d.converted) return true;
    if (d.position < 0 || n <= d.position || n - d.position > kDecodeAhead) d.seek(n);
    for (;;) {
        if (!d.next()) {
            d.position = -1;
            return false;
        }
        ++d.decoded;
        int64_t timestamp = d.picture->best_effort_timestamp;
        d.position = timestamp == AV_NOPTS_VALUE ? d.position + 1 : d.frameNumberOf(timestamp);
        if (d.position >= n) break;
    }
    if (!d.convert()) return false;
    d.converted = n;
    return true;
}

void VideoTexture::upload()
{
    if (!decodeFrame(frame)) return;
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, kVideoTextureSize, kVideoTextureSize, GL_RGB,
                    GL_UNSIGNED_BYTE, decoder->pixels.data());
}

const unsigned char* VideoTexture::pixels() const { return decoder ? decoder->pixels.data() : nullptr; }

int VideoTexture::framesDecoded() const { return decoder ? decoder->decoded : 0; }

void VideoTexture::release()
{
    delete decoder;
    decoder = nullptr;
    if (handle) glDeleteTextures(1, &handle);
    handle = 0;
}

} // namespace ruma
