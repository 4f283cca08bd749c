#include "platform/ffinput.h"

#include <QFile>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/dict.h>
#include <libavutil/error.h>
}

namespace ffinput {
namespace {

QString reason(int code) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return QString::fromLocal8Bit(text);
}

std::optional<int64_t> duration_of(const AVFormatContext* ctx, const AVStream* st) {
    if (st->duration != AV_NOPTS_VALUE && st->duration > 0)
        return av_rescale_q(st->duration, st->time_base, AV_TIME_BASE_Q);
    if (ctx->duration != AV_NOPTS_VALUE && ctx->duration > 0)
        return ctx->duration;
    return std::nullopt;
}

bool check_decoders(const std::vector<ffoptions::Option>& options, QString& error) {
    for (const ffoptions::Option& o : options) {
        const QString b = o.base();
        if (b != "c" && b != "codec" && b != "vcodec" && b != "acodec" && b != "scodec" &&
            b != "dcodec")
            continue;
        const QByteArray name = o.value.toUtf8();
        const AVCodecDescriptor* desc = avcodec_descriptor_get_by_name(name.constData());
        if (!avcodec_find_decoder_by_name(name.constData()) &&
            !(desc && avcodec_find_decoder(desc->id))) {
            error = QString("Unknown decoder '%1'").arg(o.value);
            return false;
        }
    }
    return true;
}

// The options FFmpeg hands to the demuxer when it opens the file.
AVDictionary* demuxer_options(const std::vector<ffoptions::Option>& options) {
    AVDictionary* dict = nullptr;
    auto set = [&dict](const char* key, const QString& value) {
        av_dict_set(&dict, key, value.toUtf8().constData(), 0);
    };
    const bool rateGiven = ffoptions::last(options, {"framerate"}) != nullptr;
    for (const ffoptions::Option& o : options) {
        const QString b = o.base();
        if (b == "r" && !rateGiven)
            set("framerate", o.value);
        else if (b == "s")
            set("video_size", o.value);
        else if (b == "pix_fmt")
            set("pixel_format", o.value);
        else if (b == "ar")
            set("sample_rate", o.value);
        else if (o.hasValue && o.specifier().isEmpty() && !ffoptions::is_program_option(b))
            set(o.name.toUtf8().constData(), o.value);
    }
    return dict;
}

} // namespace

bool probe(const QString& file, const std::vector<ffoptions::Option>& options,
           ffexpected::Input& facts, QString& error) {
    if (!ffoptions::check_values(options, error) || !check_decoders(options, error))
        return false;
    const AVInputFormat* format = nullptr;
    if (const ffoptions::Option* f = ffoptions::last(options, {"f"})) {
        format = av_find_input_format(f->value.toUtf8().constData());
        if (!format) {
            error = QString("Unknown input format: '%1'").arg(f->value);
            return false;
        }
    }
    AVDictionary* dict = demuxer_options(options);
    AVFormatContext* ctx = nullptr;
    int code = avformat_open_input(&ctx, QFile::encodeName(file).constData(), format, &dict);
    av_dict_free(&dict);
    if (code < 0) {
        error = QString("%1: %2").arg(file, reason(code));
        return false;
    }
    code = avformat_find_stream_info(ctx, nullptr);
    if (code < 0) {
        error = QString("%1: %2").arg(file, reason(code));
        avformat_close_input(&ctx);
        return false;
    }

    facts = ffexpected::Input{};
    for (unsigned i = 0; i < ctx->nb_streams; ++i) {
        const AVStream* st = ctx->streams[i];
        const AVCodecParameters* par = st->codecpar;
        if (par->codec_type == AVMEDIA_TYPE_VIDEO &&
            !(st->disposition & AV_DISPOSITION_ATTACHED_PIC)) {
            const int64_t area = int64_t(par->width) * par->height;
            if (!facts.hasVideo || area > facts.videoArea) {
                facts.hasVideo = true;
                facts.videoArea = area;
                facts.videoDuration = duration_of(ctx, st);
            }
        } else if (par->codec_type == AVMEDIA_TYPE_AUDIO) {
            const int channels = par->ch_layout.nb_channels;
            if (!facts.hasAudio || channels > facts.audioChannels) {
                facts.hasAudio = true;
                facts.audioChannels = channels;
                facts.audioDuration = duration_of(ctx, st);
            }
        }
    }
    avformat_close_input(&ctx);

    auto time = [&options](const char* name) -> std::optional<int64_t> {
        int64_t us = 0;
        if (const ffoptions::Option* o = ffoptions::last(options, {name}))
            if (ffoptions::parse_duration(o->value, us))
                return us;
        return std::nullopt;
    };
    facts.start = time("ss");
    facts.startEof = time("sseof");
    facts.limit = time("t");
    facts.stop = time("to");
    if (ffoptions::has_flag(options, "vn"))
        facts.hasVideo = false;
    if (ffoptions::has_flag(options, "an"))
        facts.hasAudio = false;
    return true;
}

} // namespace ffinput
