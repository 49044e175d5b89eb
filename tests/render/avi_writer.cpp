#include "avi_writer.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/log.h>
#include <libswscale/swscale.h>
}

#include <vector>

namespace ruma::test {

namespace {

// Sends one frame (or the end, for null) and writes every packet that comes out.
bool encode(AVCodecContext* encoder, AVFrame* frame, AVFormatContext* output, AVStream* stream)
{
    if (avcodec_send_frame(encoder, frame) < 0) return false;
    AVPacket* packet = av_packet_alloc();
    bool ok = true;
    while (ok && avcodec_receive_packet(encoder, packet) == 0) {
        av_packet_rescale_ts(packet, encoder->time_base, stream->time_base);
        packet->stream_index = stream->index;
        ok = av_interleaved_write_frame(output, packet) >= 0;
    }
    av_packet_free(&packet);
    return ok;
}

} // namespace

bool writeAvi(const std::string& path, int width, int height, int frameCount, int framesPerSecond,
              const std::function<Rgb(int, int, int)>& pixel)
{
    av_log_set_level(AV_LOG_ERROR);
    AVFormatContext* output = nullptr;
    if (avformat_alloc_output_context2(&output, nullptr, "avi", path.c_str()) < 0) return false;
    // Motion JPEG, as the cat's video is.
    const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_MJPEG);
    AVStream* stream = avformat_new_stream(output, nullptr);
    AVCodecContext* encoder = avcodec_alloc_context3(codec);
    encoder->width = width;
    encoder->height = height;
    encoder->time_base = AVRational{1, framesPerSecond};
    encoder->framerate = AVRational{framesPerSecond, 1};
    encoder->pix_fmt = AV_PIX_FMT_YUVJ420P;
    encoder->flags |= AV_CODEC_FLAG_QSCALE;
    encoder->global_quality = FF_QP2LAMBDA * 2;
    bool ok = avcodec_open2(encoder, codec, nullptr) == 0 &&
              avcodec_parameters_from_context(stream->codecpar, encoder) >= 0;
    stream->time_base = encoder->time_base;
    ok = ok && avio_open(&output->pb, path.c_str(), AVIO_FLAG_WRITE) >= 0 &&
         avformat_write_header(output, nullptr) >= 0;

    SwsContext* converter = sws_getContext(width, height, AV_PIX_FMT_RGB24, width, height, AV_PIX_FMT_YUVJ420P,
                                           SWS_BICUBIC, nullptr, nullptr, nullptr);
    AVFrame* frame = av_frame_alloc();
    frame->format = AV_PIX_FMT_YUVJ420P;
    frame->width = width;
    frame->height = height;
    ok = ok && av_frame_get_buffer(frame, 0) >= 0;
    std::vector<uint8_t> rgb(size_t(width) * height * 3);
    for (int k = 0; ok && k < frameCount; ++k) {
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const Rgb p = pixel(k, x, y);
                uint8_t* q = &rgb[(size_t(y) * width + x) * 3];
                q[0] = uint8_t(p.r), q[1] = uint8_t(p.g), q[2] = uint8_t(p.b);
            }
        const uint8_t* rows[1] = {rgb.data()};
        const int stride[1] = {width * 3};
        ok = av_frame_make_writable(frame) >= 0;
        sws_scale(converter, rows, stride, 0, height, frame->data, frame->linesize);
        frame->pts = k;
        ok = ok && encode(encoder, frame, output, stream);
    }
    ok = ok && encode(encoder, nullptr, output, stream) && av_write_trailer(output) >= 0;

    av_frame_free(&frame);
    sws_freeContext(converter);
    avcodec_free_context(&encoder);
    if (output->pb) avio_closep(&output->pb);
    avformat_free_context(output);
    return ok;
}

} // namespace ruma::test
