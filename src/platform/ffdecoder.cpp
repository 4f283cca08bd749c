#include "platform/ffdecoder.h"

#include "platform/fflogcapture.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <limits>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
#include <libavutil/pixdesc.h>
#include <libswscale/swscale.h>
}

namespace {

QString av_error_text(int code) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return QString::fromUtf8(text);
}

int32_t clamp_to_int32(int64_t value) {
    return int32_t(std::clamp<int64_t>(value, 0, std::numeric_limits<int32_t>::max()));
}

// Cover art is carried as a one-picture video stream; it is no picture to reverse.
bool is_video(const AVStream* stream) {
    return stream->codecpar->codec_type == AVMEDIA_TYPE_VIDEO &&
           !(stream->disposition & AV_DISPOSITION_ATTACHED_PIC);
}

// swscale wants the range apart from the pixel format; the "J" formats are the full-range
// twins of the plain ones.
AVPixelFormat plain_pixel_format(int format, bool& fullRange) {
    switch (format) {
    case AV_PIX_FMT_YUVJ420P:
        fullRange = true;
        return AV_PIX_FMT_YUV420P;
    case AV_PIX_FMT_YUVJ422P:
        fullRange = true;
        return AV_PIX_FMT_YUV422P;
    case AV_PIX_FMT_YUVJ444P:
        fullRange = true;
        return AV_PIX_FMT_YUV444P;
    case AV_PIX_FMT_YUVJ440P:
        fullRange = true;
        return AV_PIX_FMT_YUV440P;
    case AV_PIX_FMT_YUVJ411P:
        fullRange = true;
        return AV_PIX_FMT_YUV411P;
    default:
        return AVPixelFormat(format);
    }
}

constexpr int kMaxSeekRetries = 5;
// Streams whose packets carry no key flags at all are decoded as they come after this many.
constexpr int kMaxDroppedPackets = 2000;

} // namespace

struct TFFDecoder::State {
    AVFormatContext* format = nullptr;
    QString fileName;
    int videoCount = 0, audioCount = 0;
    int firstVideo = -1, firstAudio = -1;

    AVCodecContext* codec = nullptr;
    int codecStream = -1;
    bool draining = false;
    // Set by a seek until the first key frame of the stream arrives.
    bool awaitKey = false;
    int64_t keyTarget = AV_NOPTS_VALUE; // a backward seek's target, stream time base
    int64_t lastRetryTarget = AV_NOPTS_VALUE;
    int seekRetries = 0;
    int droppedPackets = 0;
    AVPacket* packet = av_packet_alloc();
    AVFrame* incoming = av_frame_alloc();
    AVFrame* picture = av_frame_alloc(); // the last complete picture, empty when none
    int64_t framePts = 0;

    SwsContext* scaler = nullptr;

    QString lastError;

    ~State() {
        close();
        sws_freeContext(scaler);
        av_frame_free(&picture);
        av_frame_free(&incoming);
        av_packet_free(&packet);
    }

    void close() {
        avcodec_free_context(&codec);
        codecStream = -1;
        draining = false;
        awaitKey = false;
        av_frame_unref(picture);
        av_frame_unref(incoming);
        av_packet_unref(packet);
        framePts = 0;
        avformat_close_input(&format);
        fileName.clear();
        videoCount = audioCount = 0;
        firstVideo = firstAudio = -1;
    }

    bool fail(const QString& text) {
        lastError = text;
        return false;
    }

    bool fail(int code) { return fail(av_error_text(code)); }

    bool openDecoder(int streamIndex) {
        avcodec_free_context(&codec);
        codecStream = -1;
        draining = false;
        const AVStream* stream = format->streams[streamIndex];
        const AVCodec* decoder = avcodec_find_decoder(stream->codecpar->codec_id);
        if (!decoder)
            return fail(AVERROR_DECODER_NOT_FOUND);
        codec = avcodec_alloc_context3(decoder);
        if (!codec)
            return fail(AVERROR(ENOMEM));
        int ret = avcodec_parameters_to_context(codec, stream->codecpar);
        if (ret < 0)
            return fail(ret);
        codec->pkt_timebase = stream->time_base;
        // The previews decode one picture after every seek. Frame threads would first
        // fill a pipeline of several pictures before handing out the first one, so only
        // slice threads are allowed.
        codec->thread_type = FF_THREAD_SLICE;
        codec->thread_count = 0;
        ret = avcodec_open2(codec, decoder, nullptr);
        if (ret < 0) {
            avcodec_free_context(&codec);
            return fail(ret);
        }
        codecStream = streamIndex;
        return true;
    }

    int64_t microsecondsFromStart(int64_t timestamp, const AVStream* stream) const {
        if (stream->start_time != AV_NOPTS_VALUE)
            timestamp -= stream->start_time;
        return av_rescale_q(timestamp, stream->time_base, AV_TIME_BASE_Q);
    }

    void restart() {
        if (codec)
            avcodec_flush_buffers(codec);
        draining = false;
        awaitKey = false;
    }

    bool startsPicture(int streamIndex);
    bool convert(QImage& bitmap, QSize size);
};

// After a seek, packets before the first key frame only decode into broken pictures, so they
// are dropped. Demuxers without an index (MPEG-TS, MPEG-PS) seek by timestamps read from
// the file and may land behind the key frame a backward seek asked for; a key frame later
// than the target then sends the seek further back, by an ever longer step.
bool TFFDecoder::State::startsPicture(int streamIndex) {
    if (!awaitKey)
        return true;
    if (!(packet->flags & AV_PKT_FLAG_KEY) && ++droppedPackets <= kMaxDroppedPackets)
        return false;
    const AVStream* stream = format->streams[streamIndex];
    const int64_t pts = packet->pts != AV_NOPTS_VALUE ? packet->pts : packet->dts;
    const int64_t start = stream->start_time != AV_NOPTS_VALUE ? stream->start_time : 0;
    if (keyTarget != AV_NOPTS_VALUE && pts != AV_NOPTS_VALUE && pts > keyTarget &&
        keyTarget > start && seekRetries < kMaxSeekRetries) {
        const int64_t step =
            pts - keyTarget +
            av_rescale_q(int64_t(AV_TIME_BASE) << seekRetries, AV_TIME_BASE_Q, stream->time_base);
        const int64_t earlier = std::max(start, keyTarget - step);
        const bool further = lastRetryTarget == AV_NOPTS_VALUE || earlier < lastRetryTarget;
        ++seekRetries;
        lastRetryTarget = earlier;
        if (further && av_seek_frame(format, streamIndex, earlier, AVSEEK_FLAG_BACKWARD) >= 0) {
            droppedPackets = 0;
            if (codec)
                avcodec_flush_buffers(codec);
            return false;
        }
    }
    awaitKey = false;
    return true;
}

TFFDecoder::TFFDecoder() : d(std::make_unique<State>()) {}

TFFDecoder::~TFFDecoder() = default;

bool TFFDecoder::OpenFile(const QString& path) {
    d->close();
    d->lastError.clear();
    // An absolute path never reads as a protocol name ("name:...") or as standard input.
    const QByteArray name = QFile::encodeName(QFileInfo(path).absoluteFilePath());
    int ret = avformat_open_input(&d->format, name.constData(), nullptr, nullptr);
    if (ret < 0)
        return d->fail(ret);
    ret = avformat_find_stream_info(d->format, nullptr);
    if (ret < 0) {
        d->close();
        return d->fail(ret);
    }
    if (d->format->nb_streams == 0) {
        d->close();
        return d->fail(AVERROR_INVALIDDATA);
    }
    for (unsigned i = 0; i < d->format->nb_streams; ++i) {
        const AVStream* stream = d->format->streams[i];
        if (is_video(stream)) {
            if (d->videoCount++ == 0)
                d->firstVideo = int(i);
        } else if (stream->codecpar->codec_type == AVMEDIA_TYPE_AUDIO) {
            if (d->audioCount++ == 0)
                d->firstAudio = int(i);
        }
    }
    if (d->firstVideo >= 0 && !d->openDecoder(d->firstVideo)) {
        const QString error = d->lastError;
        d->close();
        return d->fail(error);
    }
    d->fileName = path;
    return true;
}

void TFFDecoder::CloseFile() {
    d->close();
}

QString TFFDecoder::FileName() const {
    return d->fileName;
}

int TFFDecoder::VideoStreamCount() const {
    return d->videoCount;
}

int TFFDecoder::AudioStreamCount() const {
    return d->audioCount;
}

int TFFDecoder::FirstVideoStream() const {
    return d->firstVideo;
}

int TFFDecoder::FirstAudioStream() const {
    return d->firstAudio;
}

TFileStreamInfo TFFDecoder::GetFileStreamInfo() const {
    TFileStreamInfo info;
    if (!d->format)
        return info;
    if (d->format->duration != AV_NOPTS_VALUE)
        info.Duration = d->format->duration;
    info.BitRate = clamp_to_int32(d->format->bit_rate);
    return info;
}

TVideoStreamInfo TFFDecoder::GetVideoStreamInfo() const {
    TVideoStreamInfo info;
    if (!d->format || d->firstVideo < 0)
        return info;
    const AVStream* stream = d->format->streams[d->firstVideo];
    if (stream->duration != AV_NOPTS_VALUE && stream->duration > 0)
        info.Duration = av_rescale_q(stream->duration, stream->time_base, AV_TIME_BASE_Q);
    info.Width = stream->codecpar->width;
    info.Height = stream->codecpar->height;
    info.BitRate = clamp_to_int32(stream->codecpar->bit_rate);
    const AVRational rate = stream->avg_frame_rate.num != 0 && stream->avg_frame_rate.den != 0
                                ? stream->avg_frame_rate
                                : stream->r_frame_rate;
    info.FrameRateNum = rate.num;
    info.FrameRateDen = rate.den;
    return info;
}

TAudioStreamInfo TFFDecoder::GetAudioStreamInfo() const {
    TAudioStreamInfo info;
    if (!d->format || d->firstAudio < 0)
        return info;
    const AVCodecParameters* audio = d->format->streams[d->firstAudio]->codecpar;
    info.Channels = audio->ch_layout.nb_channels;
    info.SampleRate = audio->sample_rate;
    return info;
}

QString TFFDecoder::GetFileInfoText() const {
    if (!d->format)
        return {};
    QStringList lines;
    lines << "File Name: " + d->fileName;
    lines << "Format Name: " + QString::fromUtf8(d->format->iformat->name);
    if (d->format->iformat->long_name)
        lines << "Format Long Name: " + QString::fromUtf8(d->format->iformat->long_name);
    if (d->format->pb) {
        const int64_t size = avio_size(d->format->pb);
        if (size >= 0)
            lines << "File Size: " + QString::number(size);
    }
    lines << fflog::capture_info([&] { av_dump_format(d->format, 0, d->format->url, 0); });
    return lines.join('\n');
}

bool TFFDecoder::Seek(int flags, int64_t positionUs) {
    if (!d->format)
        return d->fail("No file is open");
    const int streamIndex = d->codecStream >= 0 ? d->codecStream : d->firstVideo;
    int64_t target = positionUs;
    if (streamIndex >= 0) {
        const AVStream* stream = d->format->streams[streamIndex];
        // Rounding towards the wanted side keeps a backward seek from landing on the next
        // frame when the position falls between two ticks of the stream's clock.
        const auto rounding = (flags & SEEK_FLAG_BACKWARD) ? AV_ROUND_DOWN : AV_ROUND_UP;
        target = av_rescale_q_rnd(positionUs, AV_TIME_BASE_Q, stream->time_base, rounding);
        if (stream->start_time != AV_NOPTS_VALUE)
            target += stream->start_time;
    } else if (d->format->start_time != AV_NOPTS_VALUE) {
        target += d->format->start_time;
    }
    const int ret = av_seek_frame(d->format, streamIndex, target, flags);
    if (ret < 0)
        return d->fail(ret);
    d->restart();
    d->awaitKey = !(flags & SEEK_FLAG_ANY) && streamIndex >= 0;
    d->keyTarget = (flags & SEEK_FLAG_BACKWARD) ? target : AV_NOPTS_VALUE;
    d->lastRetryTarget = AV_NOPTS_VALUE;
    d->seekRetries = 0;
    d->droppedPackets = 0;
    return true;
}

bool TFFDecoder::DecodeVideoFrame(int stream) {
    if (!d->format)
        return d->fail("No file is open");
    if (stream < 0 || unsigned(stream) >= d->format->nb_streams ||
        !is_video(d->format->streams[stream]))
        return d->fail(AVERROR_STREAM_NOT_FOUND);
    if (stream != d->codecStream && !d->openDecoder(stream))
        return false;
    for (;;) {
        int ret = avcodec_receive_frame(d->codec, d->incoming);
        if (ret == 0) {
            av_frame_unref(d->picture);
            av_frame_move_ref(d->picture, d->incoming);
            const AVStream* st = d->format->streams[stream];
            int64_t pts = d->picture->best_effort_timestamp;
            if (pts == AV_NOPTS_VALUE)
                pts = d->picture->pts;
            d->framePts = pts == AV_NOPTS_VALUE ? 0 : d->microsecondsFromStart(pts, st);
            return true;
        }
        if (ret == AVERROR_EOF)
            return d->fail(ret);
        if (ret != AVERROR(EAGAIN))
            return d->fail(ret);
        if (d->draining)
            return d->fail(AVERROR_EOF);
        ret = av_read_frame(d->format, d->packet);
        if (ret < 0) {
            if (ret != AVERROR_EOF && !(d->format->pb && avio_feof(d->format->pb)))
                return d->fail(ret);
            // Hand the decoder an empty packet so that it gives out the pictures it holds.
            d->draining = true;
            ret = avcodec_send_packet(d->codec, nullptr);
            if (ret < 0 && ret != AVERROR_EOF)
                return d->fail(ret);
            continue;
        }
        if (d->packet->stream_index != stream || !d->startsPicture(stream)) {
            av_packet_unref(d->packet);
            continue;
        }
        ret = avcodec_send_packet(d->codec, d->packet);
        av_packet_unref(d->packet);
        // A damaged packet is skipped like the decoder's own error concealment would.
        if (ret < 0 && ret != AVERROR_INVALIDDATA)
            return d->fail(ret);
    }
}

bool TFFDecoder::State::convert(QImage& bitmap, QSize size) {
    if (!picture->data[0] || picture->width <= 0 || picture->height <= 0)
        return fail("No picture has been decoded");
    if (size.width() <= 0 || size.height() <= 0)
        return fail(AVERROR(EINVAL));
    bool fullRange = picture->color_range == AVCOL_RANGE_JPEG;
    const AVPixelFormat source = plain_pixel_format(picture->format, fullRange);
    // Area averaging keeps a strong reduction (1920 to 356) from flickering; swscale's
    // scaled path only converts colours exactly with full chroma and accurate rounding.
    const bool scaled = size != QSize(picture->width, picture->height);
    const int method = scaled ? SWS_AREA | SWS_ACCURATE_RND | SWS_FULL_CHR_H_INT : SWS_BILINEAR;
    SwsContext* context =
        sws_getCachedContext(scaler, picture->width, picture->height, source, size.width(),
                             size.height(), AV_PIX_FMT_RGB32, method, nullptr, nullptr, nullptr);
    if (!context) {
        scaler = nullptr;
        return fail(AVERROR(EINVAL));
    }
    // The picture's own matrix and range, as far as it tells them; BT.601 otherwise.
    const int colorspace =
        picture->colorspace == AVCOL_SPC_UNSPECIFIED ? SWS_CS_DEFAULT : picture->colorspace;
    const int* coefficients = sws_getCoefficients(colorspace);
    int *inverse = nullptr, *table = nullptr;
    int sourceRange = 0, destinationRange = 0, brightness = 0, contrast = 0, saturation = 0;
    if (sws_getColorspaceDetails(context, &inverse, &sourceRange, &table, &destinationRange,
                                 &brightness, &contrast, &saturation) >= 0 &&
        (sourceRange != int(fullRange) || destinationRange != 1 ||
         !std::equal(coefficients, coefficients + 4, inverse)))
        sws_setColorspaceDetails(context, coefficients, fullRange, coefficients, 1, 0, 1 << 16,
                                 1 << 16);
    scaler = context;

    // AV_PIX_FMT_RGB32 is the native-endian 0xAARRGGBB word that QImage::Format_RGB32 holds.
    if (bitmap.size() != size || bitmap.format() != QImage::Format_RGB32)
        bitmap = QImage(size, QImage::Format_RGB32);
    if (bitmap.isNull())
        return fail(AVERROR(ENOMEM));
    uint8_t* destination[4] = {bitmap.bits(), nullptr, nullptr, nullptr};
    const int destinationStride[4] = {int(bitmap.bytesPerLine()), 0, 0, 0};
    const int rows = sws_scale(context, picture->data, picture->linesize, 0, picture->height,
                               destination, destinationStride);
    if (rows <= 0)
        return fail(AVERROR(EINVAL));
    return true;
}

bool TFFDecoder::CopyFrameToBitmap(QImage& bitmap) {
    return d->convert(bitmap, QSize(d->picture->width, d->picture->height));
}

bool TFFDecoder::CopyFrameToBitmap(QImage& bitmap, QSize size) {
    return d->convert(bitmap, size);
}

int64_t TFFDecoder::FramePTS() const {
    return d->framePts;
}

QString TFFDecoder::LastError() const {
    return d->lastError;
}
