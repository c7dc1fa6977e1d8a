#include "SolxAVIFile.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/error.h>
#include <libavutil/imgutils.h>
#include <libavutil/log.h>
#include <libswscale/swscale.h>
}

#include "mfc/Utf8.h"

struct SolxAVIFile::Encoder {
    AVFormatContext* format = nullptr;
    AVCodecContext* codec = nullptr;
    AVStream* stream = nullptr;
    AVFrame* frame = nullptr;
    AVPacket* packet = nullptr;
    SwsContext* scale = nullptr;
    bool headerWritten = false;

    ~Encoder() {
        sws_freeContext(scale);
        av_packet_free(&packet);
        av_frame_free(&frame);
        avcodec_free_context(&codec);
        if (format) {
            if (format->pb) avio_closep(&format->pb);
            avformat_free_context(format);
        }
    }
};

SolxAVIFile::SolxAVIFile() = default;

SolxAVIFile::~SolxAVIFile() {
    Close();
}

bool SolxAVIFile::Fail(const std::string& what, int code) {
    m_error = what;
    if (code < 0) {
        char text[AV_ERROR_MAX_STRING_SIZE] = {};
        av_strerror(code, text, sizeof text);
        m_error += std::string(": ") + text;
    }
    m_ok = false;
    return false;
}

int SolxAVIFile::Init(const std::wstring& path, int width, int height, int rate) {
    Close();
    // The libraries' notes (the full-range JPEG pixel format is "deprecated" to the scaler)
    // would reach the command line's error output; failures are reported through Error().
    av_log_set_level(AV_LOG_ERROR);
    m_enc = std::make_unique<Encoder>();
    m_frames = 0;
    m_error.clear();
    if (width <= 0 || height <= 0 || width % 2 || height % 2 || rate <= 0)
        return Fail("the frame size must be even and the rate positive");
    m_width = width;
    m_height = height;
    const std::string file = solx::win::WideToUtf8(path);
    Encoder& e = *m_enc;
    int rc = avformat_alloc_output_context2(&e.format, nullptr, "avi", file.c_str());
    if (rc < 0 || !e.format) return Fail("no AVI writer", rc);
    const AVCodec* mjpeg = avcodec_find_encoder(AV_CODEC_ID_MJPEG);
    if (!mjpeg) return Fail("no Motion JPEG encoder");
    e.stream = avformat_new_stream(e.format, nullptr);
    e.codec = avcodec_alloc_context3(mjpeg);
    if (!e.stream || !e.codec) return Fail("out of memory");
    e.codec->width = width;
    e.codec->height = height;
    e.codec->time_base = AVRational{1, rate};
    e.codec->framerate = AVRational{rate, 1};
    e.codec->pix_fmt = AV_PIX_FMT_YUVJ420P;
    e.codec->flags |= AV_CODEC_FLAG_QSCALE;
    e.codec->global_quality = FF_QP2LAMBDA * 3;  // fine quality, about 60 kB a VGA frame
    if (e.format->oformat->flags & AVFMT_GLOBALHEADER)
        e.codec->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    if ((rc = avcodec_open2(e.codec, mjpeg, nullptr)) < 0)
        return Fail("cannot start the encoder", rc);
    if ((rc = avcodec_parameters_from_context(e.stream->codecpar, e.codec)) < 0)
        return Fail("cannot describe the stream", rc);
    e.stream->time_base = e.codec->time_base;
    e.stream->avg_frame_rate = e.codec->framerate;
    if ((rc = avio_open(&e.format->pb, file.c_str(), AVIO_FLAG_WRITE)) < 0)
        return Fail("cannot create " + file, rc);
    if ((rc = avformat_write_header(e.format, nullptr)) < 0)
        return Fail("cannot write the file header", rc);
    e.headerWritten = true;
    e.frame = av_frame_alloc();
    e.packet = av_packet_alloc();
    if (!e.frame || !e.packet) return Fail("out of memory");
    e.frame->format = e.codec->pix_fmt;
    e.frame->width = width;
    e.frame->height = height;
    if ((rc = av_frame_get_buffer(e.frame, 0)) < 0) return Fail("out of memory", rc);
    e.scale = sws_getContext(width, height, AV_PIX_FMT_RGB24, width, height, AV_PIX_FMT_YUVJ420P,
                             SWS_BILINEAR, nullptr, nullptr, nullptr);
    if (!e.scale) return Fail("no colour conversion");
    m_ok = true;
    return 1;
}

bool SolxAVIFile::Drain(bool flush) {
    Encoder& e = *m_enc;
    for (;;) {
        const int rc = avcodec_receive_packet(e.codec, e.packet);
        if (rc == AVERROR(EAGAIN) || rc == AVERROR_EOF) return true;
        if (rc < 0) return Fail("encoding failed", rc);
        av_packet_rescale_ts(e.packet, e.codec->time_base, e.stream->time_base);
        e.packet->stream_index = e.stream->index;
        const int written = av_interleaved_write_frame(e.format, e.packet);
        if (written < 0) return Fail("cannot write a frame", written);
        (void)flush;
    }
}

int SolxAVIFile::AddFrame(const std::vector<std::uint8_t>& rgb) {
    if (!m_ok || !m_enc) return 0;
    if (rgb.size() != static_cast<std::size_t>(m_width) * m_height * 3)
        return Fail("the frame has another size") ? 1 : 0;
    Encoder& e = *m_enc;
    int rc = av_frame_make_writable(e.frame);
    if (rc < 0) return Fail("out of memory", rc) ? 1 : 0;
    const std::uint8_t* source[1] = {rgb.data()};
    const int stride[1] = {m_width * 3};
    sws_scale(e.scale, source, stride, 0, m_height, e.frame->data, e.frame->linesize);
    e.frame->pts = m_frames;
    if ((rc = avcodec_send_frame(e.codec, e.frame)) < 0) return Fail("encoding failed", rc) ? 1 : 0;
    if (!Drain(false)) return 0;
    ++m_frames;
    return 1;
}

void SolxAVIFile::Close() {
    if (!m_enc) return;
    Encoder& e = *m_enc;
    if (e.headerWritten) {
        if (e.codec && avcodec_send_frame(e.codec, nullptr) >= 0) Drain(true);
        av_write_trailer(e.format);
    }
    m_enc.reset();
    m_ok = false;
}
