#include "platform/ffoutput.h"

#include "platform/fffilters.h"

#include <QFile>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

namespace ffoutput {
namespace {

using ffoptions::Option;

// The media type a codec or filter option is meant for, from its name and specifier.
AVMediaType media_of(const Option& o) {
    const QString b = o.base();
    QChar kind = o.specifier().isEmpty() ? QChar() : o.specifier()[0];
    if (b == "vcodec" || b == "vf")
        kind = 'v';
    else if (b == "acodec" || b == "af")
        kind = 'a';
    else if (b == "scodec")
        kind = 's';
    else if (b == "dcodec")
        kind = 'd';
    switch (kind.unicode()) {
    case 'v':
    case 'V':
        return AVMEDIA_TYPE_VIDEO;
    case 'a':
        return AVMEDIA_TYPE_AUDIO;
    case 's':
        return AVMEDIA_TYPE_SUBTITLE;
    case 'd':
        return AVMEDIA_TYPE_DATA;
    default:
        return AVMEDIA_TYPE_UNKNOWN;
    }
}

bool is_codec_option(const QString& b) {
    return b == "c" || b == "codec" || b == "vcodec" || b == "acodec" || b == "scodec" ||
           b == "dcodec";
}

bool check_encoders(const std::vector<Option>& options, QString& error) {
    for (const Option& o : options) {
        if (!is_codec_option(o.base()) || o.value == "copy")
            continue;
        const QByteArray name = o.value.toUtf8();
        const AVCodec* codec = avcodec_find_encoder_by_name(name.constData());
        // like ffmpeg, a codec's name ("flv1") stands for its encoder ("flv")
        if (!codec)
            if (const AVCodecDescriptor* desc = avcodec_descriptor_get_by_name(name.constData()))
                codec = avcodec_find_encoder(desc->id);
        if (!codec) {
            error = QString("Unknown encoder '%1'").arg(o.value);
            return false;
        }
        const AVMediaType wanted = media_of(o);
        if (wanted != AVMEDIA_TYPE_UNKNOWN && codec->type != wanted) {
            error = QString("Invalid encoder type '%1'").arg(o.value);
            return false;
        }
    }
    return true;
}

bool check_filters(const std::vector<Option>& options, QString& error) {
    for (const Option& o : options) {
        const QString b = o.base();
        if (b != "vf" && b != "af" && b != "filter")
            continue;
        const AVMediaType type = media_of(o);
        const fffilters::Media media = type == AVMEDIA_TYPE_VIDEO   ? fffilters::Media::Video
                                       : type == AVMEDIA_TYPE_AUDIO ? fffilters::Media::Audio
                                                                    : fffilters::Media::Any;
        if (!fffilters::check_chain(o.value, media, error))
            return false;
    }
    return true;
}

// The last filter chain given for one media type.
QString chain_for(const std::vector<Option>& options, AVMediaType type) {
    QString chain;
    for (const Option& o : options) {
        const QString b = o.base();
        if ((b == "vf" || b == "af" || b == "filter") && media_of(o) == type)
            chain = o.value;
    }
    return chain;
}

const AVOutputFormat* guessed_format(const QByteArray& file, const std::vector<Option>& options) {
    if (const Option* f = ffoptions::last(options, {"f"}))
        return av_guess_format(f->value.toUtf8().constData(), nullptr, nullptr);
    return av_guess_format(nullptr, file.constData(), nullptr);
}

bool names_video_encoder(const Option& o) {
    return is_codec_option(o.base()) && media_of(o) != AVMEDIA_TYPE_AUDIO &&
           media_of(o) != AVMEDIA_TYPE_SUBTITLE && media_of(o) != AVMEDIA_TYPE_DATA;
}

bool writes_jpeg_images(const QByteArray& file, const std::vector<Option>& options) {
    const AVOutputFormat* format = guessed_format(file, options);
    if (!format || qstrcmp(format->name, "image2") != 0)
        return false;
    QString encoder;
    for (const Option& o : options)
        if (names_video_encoder(o))
            encoder = o.value;
    if (!encoder.isEmpty())
        return encoder == "mjpeg";
    return av_guess_codec(format, nullptr, file.constData(), nullptr, AVMEDIA_TYPE_VIDEO) ==
           AV_CODEC_ID_MJPEG;
}

} // namespace

bool plan(const QString& file, const std::vector<Option>& options, ffexpected::Output& out,
          QString& error) {
    if (!ffoptions::check_values(options, error) || !check_encoders(options, error) ||
        !check_filters(options, error))
        return false;
    const QByteArray name = QFile::encodeName(file);
    const AVOutputFormat* format = guessed_format(name, options);
    if (!format) {
        if (const Option* f = ffoptions::last(options, {"f"}))
            error = QString("Requested output format '%1' is not a suitable output format")
                        .arg(f->value);
        else
            error = QString("Unable to find a suitable output format for '%1'").arg(file);
        return false;
    }

    out = ffexpected::Output{};
    out.videoPossible = !ffoptions::has_flag(options, "vn") &&
                        av_guess_codec(format, nullptr, name.constData(), nullptr,
                                       AVMEDIA_TYPE_VIDEO) != AV_CODEC_ID_NONE;
    out.audioPossible = !ffoptions::has_flag(options, "an") &&
                        av_guess_codec(format, nullptr, name.constData(), nullptr,
                                       AVMEDIA_TYPE_AUDIO) != AV_CODEC_ID_NONE;
    out.videoFactor = fffilters::time_factor(chain_for(options, AVMEDIA_TYPE_VIDEO));
    out.audioFactor = fffilters::time_factor(chain_for(options, AVMEDIA_TYPE_AUDIO));
    auto time = [&options](const char* option) -> std::optional<int64_t> {
        int64_t us = 0;
        if (const Option* o = ffoptions::last(options, {option}))
            if (ffoptions::parse_duration(o->value, us))
                return us;
        return std::nullopt;
    };
    out.start = time("ss");
    out.limit = time("t");
    out.stop = time("to");
    out.shortest = ffoptions::has_flag(options, "shortest");
    return true;
}

bool default_audio_encoder_available(const QString& extension) {
    const QByteArray name = QByteArray("x") + extension.toUtf8();
    const AVOutputFormat* format = av_guess_format(nullptr, name.constData(), nullptr);
    return format && avcodec_find_encoder(format->audio_codec) != nullptr;
}

QStringList own_arguments(const QString& file, const std::vector<Option>& options) {
    // JPEG images keep the picture's own YUV range: FFmpeg marks limited-range JPEGs as such
    // and reads them back unchanged, so frames that go out and back in as images are not
    // converted to full range and back, which costs a quarter of the writing and loses levels.
    if (writes_jpeg_images(QFile::encodeName(file), options) &&
        !ffoptions::last(options, {"strict"}))
        return {"-strict", "unofficial"};
    return {};
}

} // namespace ffoutput
