// SolxRecorder.so: AVI files of Motion JPEG frames through FFmpeg's libavformat and
// libavcodec, loaded by SolxAVIFile on the first recording.
#include "SolxVideoEncoder.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/error.h>
#include <libavutil/imgutils.h>
#include <libavutil/log.h>
#include <libswscale/swscale.h>
}

#include <new>

namespace {

class MjpegAviEncoder : public SolxVideoEncoder {
public:
    ~MjpegAviEncoder() override {
        Finish();
        sws_freeContext(m_scale);
        av_packet_free(&m_packet);
        av_frame_free(&m_frame);
        avcodec_free_context(&m_codec);
        if (m_format) {
            if (m_format->pb) avio_closep(&m_format->pb);
            avformat_free_context(m_format);
        }
    }

    bool Open(const std::string& file, int width, int height, int rate,
              std::string& error) override {
        // The libraries' notes (the full-range JPEG pixel format is "deprecated" to the
        // scaler) would reach the command line's error output; failures are reported here.
        av_log_set_level(AV_LOG_ERROR);
        m_width = width;
        m_height = height;
        int rc = avformat_alloc_output_context2(&m_format, nullptr, "avi", file.c_str());
        if (rc < 0 || !m_format) return Fail(error, "no AVI writer", rc);
        const AVCodec* mjpeg = avcodec_find_encoder(AV_CODEC_ID_MJPEG);
        if (!mjpeg) return Fail(error, "no Motion JPEG encoder");
        m_stream = avformat_new_stream(m_format, nullptr);
        m_codec = avcodec_alloc_context3(mjpeg);
        if (!m_stream || !m_codec) return Fail(error, "out of memory");
        m_codec->width = width;
        m_codec->height = height;
        m_codec->time_base = AVRational{1, rate};
        m_codec->framerate = AVRational{rate, 1};
        m_codec->pix_fmt = AV_PIX_FMT_YUVJ420P;
        m_codec->flags |= AV_CODEC_FLAG_QSCALE;
        m_codec->global_quality = FF_QP2LAMBDA * 3;  // fine quality, about 60 kB a VGA frame
        if (m_format->oformat->flags & AVFMT_GLOBALHEADER)
            m_codec->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
        if ((rc = avcodec_open2(m_codec, mjpeg, nullptr)) < 0)
            return Fail(error, "cannot start the encoder", rc);
        if ((rc = avcodec_parameters_from_context(m_stream->codecpar, m_codec)) < 0)
            return Fail(error, "cannot describe the stream", rc);
        m_stream->time_base = m_codec->time_base;
        m_stream->avg_frame_rate = m_codec->framerate;
        if ((rc = avio_open(&m_format->pb, file.c_str(), AVIO_FLAG_WRITE)) < 0)
            return Fail(error, "cannot create " + file, rc);
        if ((rc = avformat_write_header(m_format, nullptr)) < 0)
            return Fail(error, "cannot write the file header", rc);
        m_headerWritten = true;
        m_frame = av_frame_alloc();
        m_packet = av_packet_alloc();
        if (!m_frame || !m_packet) return Fail(error, "out of memory");
        m_frame->format = m_codec->pix_fmt;
        m_frame->width = width;
        m_frame->height = height;
        if ((rc = av_frame_get_buffer(m_frame, 0)) < 0) return Fail(error, "out of memory", rc);
        m_scale = sws_getContext(width, height, AV_PIX_FMT_RGB24, width, height,
                                 AV_PIX_FMT_YUVJ420P, SWS_BILINEAR, nullptr, nullptr, nullptr);
        if (!m_scale) return Fail(error, "no colour conversion");
        return true;
    }

    bool Write(const std::uint8_t* rgb, std::string& error) override {
        int rc = av_frame_make_writable(m_frame);
        if (rc < 0) return Fail(error, "out of memory", rc);
        const std::uint8_t* source[1] = {rgb};
        const int stride[1] = {m_width * 3};
        sws_scale(m_scale, source, stride, 0, m_height, m_frame->data, m_frame->linesize);
        m_frame->pts = m_frames;
        if ((rc = avcodec_send_frame(m_codec, m_frame)) < 0)
            return Fail(error, "encoding failed", rc);
        if (!Drain(error)) return false;
        ++m_frames;
        return true;
    }

    void Finish() override {
        if (!m_headerWritten) return;
        m_headerWritten = false;
        std::string ignored;
        if (m_codec && avcodec_send_frame(m_codec, nullptr) >= 0) Drain(ignored);
        av_write_trailer(m_format);
    }

private:
    static bool Fail(std::string& error, const std::string& what, int code = 0) {
        error = what;
        if (code < 0) {
            char text[AV_ERROR_MAX_STRING_SIZE] = {};
            av_strerror(code, text, sizeof text);
            error += std::string(": ") + text;
        }
        return false;
    }

    bool Drain(std::string& error) {
        for (;;) {
            const int rc = avcodec_receive_packet(m_codec, m_packet);
            if (rc == AVERROR(EAGAIN) || rc == AVERROR_EOF) return true;
            if (rc < 0) return Fail(error, "encoding failed", rc);
            av_packet_rescale_ts(m_packet, m_codec->time_base, m_stream->time_base);
            m_packet->stream_index = m_stream->index;
            const int written = av_interleaved_write_frame(m_format, m_packet);
            if (written < 0) return Fail(error, "cannot write a frame", written);
        }
    }

    AVFormatContext* m_format = nullptr;
    AVCodecContext* m_codec = nullptr;
    AVStream* m_stream = nullptr;
    AVFrame* m_frame = nullptr;
    AVPacket* m_packet = nullptr;
    SwsContext* m_scale = nullptr;
    bool m_headerWritten = false;
    int m_width = 0, m_height = 0;
    long long m_frames = 0;
};

}  // namespace

extern "C" __attribute__((visibility("default"))) SolxVideoEncoder* SolxCreateVideoEncoder() {
    return new (std::nothrow) MjpegAviEncoder;
}
