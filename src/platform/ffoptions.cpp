#include "platform/ffoptions.h"

#include <QDir>
#include <array>
#include <cstring>
#include <string_view>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/opt.h>
#include <libavutil/parseutils.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

namespace ffoptions {
namespace {

// The `ffmpeg` program's own options (FFmpeg 5.x). Everything else on its command line is
// an option of a codec, format, scaler or resampler, and those always take a value.
struct OwnOption {
    std::string_view name;
    bool takesValue;
    bool boolean; // may also be given as "-no" + name
};

constexpr auto kValue = [](std::string_view n) { return OwnOption{n, true, false}; };
constexpr auto kFlag = [](std::string_view n) { return OwnOption{n, false, true}; };

constexpr std::array kOwnOptions{
    // flags
    kFlag("y"),
    kFlag("n"),
    kFlag("ignore_unknown"),
    kFlag("copy_unknown"),
    kFlag("recast_media"),
    kFlag("benchmark"),
    kFlag("benchmark_all"),
    kFlag("stdin"),
    kFlag("dump"),
    kFlag("hex"),
    kFlag("re"),
    kFlag("copyts"),
    kFlag("start_at_zero"),
    kFlag("shortest"),
    kFlag("bitexact"),
    kFlag("xerror"),
    kFlag("copyinkf"),
    kFlag("auto_conversion_filters"),
    kFlag("stats"),
    kFlag("debug_ts"),
    kFlag("accurate_seek"),
    kFlag("find_stream_info"),
    kFlag("vn"),
    kFlag("an"),
    kFlag("sn"),
    kFlag("dn"),
    kFlag("psnr"),
    kFlag("qphist"),
    kFlag("force_fps"),
    kFlag("fix_sub_duration"),
    kFlag("hide_banner"),
    OwnOption{"report", false, false},
    OwnOption{"vstats", false, false},
    // booleans that still take a value ("-autorotate 0"), or "-noautorotate"
    OwnOption{"autorotate", true, true},
    OwnOption{"autoscale", true, true},
    // with a value
    kValue("f"),
    kValue("c"),
    kValue("codec"),
    kValue("pre"),
    kValue("map"),
    kValue("map_channel"),
    kValue("map_metadata"),
    kValue("map_chapters"),
    kValue("t"),
    kValue("to"),
    kValue("fs"),
    kValue("ss"),
    kValue("sseof"),
    kValue("seek_timestamp"),
    kValue("itsoffset"),
    kValue("itsscale"),
    kValue("isync"),
    kValue("timestamp"),
    kValue("metadata"),
    kValue("program"),
    kValue("dframes"),
    kValue("progress"),
    kValue("timelimit"),
    kValue("readrate"),
    kValue("target"),
    kValue("vsync"),
    kValue("fps_mode"),
    kValue("frame_drop_threshold"),
    kValue("async"),
    kValue("adrift_threshold"),
    kValue("copytb"),
    kValue("apad"),
    kValue("dts_delta_threshold"),
    kValue("dts_error_threshold"),
    kValue("abort_on"),
    kValue("copypriorss"),
    kValue("frames"),
    kValue("tag"),
    kValue("q"),
    kValue("qscale"),
    kValue("profile"),
    kValue("filter"),
    kValue("filter_threads"),
    kValue("filter_script"),
    kValue("reinit_filter"),
    kValue("filter_complex"),
    kValue("filter_complex_threads"),
    kValue("lavfi"),
    kValue("filter_complex_script"),
    kValue("stats_period"),
    kValue("attach"),
    kValue("dump_attachment"),
    kValue("stream_loop"),
    kValue("max_error_rate"),
    kValue("discard"),
    kValue("disposition"),
    kValue("thread_queue_size"),
    kValue("bits_per_raw_sample"),
    kValue("vframes"),
    kValue("r"),
    kValue("fpsmax"),
    kValue("s"),
    kValue("aspect"),
    kValue("pix_fmt"),
    kValue("rc_override"),
    kValue("vcodec"),
    kValue("timecode"),
    kValue("pass"),
    kValue("passlogfile"),
    kValue("vstats_file"),
    kValue("vstats_version"),
    kValue("vf"),
    kValue("intra_matrix"),
    kValue("inter_matrix"),
    kValue("chroma_intra_matrix"),
    kValue("top"),
    kValue("vtag"),
    kValue("streamid"),
    kValue("force_key_frames"),
    kValue("ab"),
    kValue("b"),
    kValue("hwaccel"),
    kValue("hwaccel_device"),
    kValue("hwaccel_output_format"),
    kValue("aframes"),
    kValue("aq"),
    kValue("ar"),
    kValue("ac"),
    kValue("acodec"),
    kValue("atag"),
    kValue("vol"),
    kValue("sample_fmt"),
    kValue("channel_layout"),
    kValue("ch_layout"),
    kValue("af"),
    kValue("guess_layout_max"),
    kValue("scodec"),
    kValue("stag"),
    kValue("canvas_size"),
    kValue("muxdelay"),
    kValue("muxpreload"),
    kValue("sdp_file"),
    kValue("time_base"),
    kValue("enc_time_base"),
    kValue("bsf"),
    kValue("absf"),
    kValue("vbsf"),
    kValue("apre"),
    kValue("vpre"),
    kValue("spre"),
    kValue("fpre"),
    kValue("max_muxing_queue_size"),
    kValue("muxing_queue_data_threshold"),
    kValue("dcodec"),
    kValue("vaapi_device"),
    kValue("qsv_device"),
    kValue("init_hw_device"),
    kValue("filter_hw_device"),
    kValue("loglevel"),
    kValue("v"),
    kValue("max_alloc"),
    kValue("cpuflags"),
    kValue("cpucount"),
};

const OwnOption* own_option(std::string_view name) {
    for (const OwnOption& o : kOwnOptions)
        if (o.name == name)
            return &o;
    return nullptr;
}

// Options without flags are internal to their class; the `ffmpeg` program skips them too.
bool found_in(const AVClass* cls, const char* name, int search) {
    const AVOption* o = av_opt_find(&cls, name, nullptr, 0, search | AV_OPT_SEARCH_FAKE_OBJ);
    return o && o->flags;
}

bool is_library_option(const std::string& name) {
    const std::string stripped = name.substr(0, name.find(':'));
    const char* full = name.c_str();
    return found_in(avcodec_get_class(), stripped.c_str(), AV_OPT_SEARCH_CHILDREN) ||
           (std::strchr("vas", full[0]) && found_in(avcodec_get_class(), full + 1, 0)) ||
           found_in(avformat_get_class(), full, AV_OPT_SEARCH_CHILDREN) ||
           found_in(sws_get_class(), full, AV_OPT_SEARCH_CHILDREN) ||
           found_in(swr_get_class(), full, AV_OPT_SEARCH_CHILDREN);
}

} // namespace

QString Option::base() const {
    const qsizetype colon = name.indexOf(':');
    return colon < 0 ? name : name.left(colon);
}

QString Option::specifier() const {
    const qsizetype colon = name.indexOf(':');
    return colon < 0 ? QString() : name.mid(colon + 1);
}

QStringList split_text(const QString& text) {
    QStringList parts;
    qsizetype start = -1;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        const bool blank = i == text.size() || text[i].isSpace();
        if (blank && start >= 0) {
            parts << text.mid(start, i - start);
            start = -1;
        } else if (!blank && start < 0) {
            start = i;
        }
    }
    return parts;
}

QString file_argument(const QString& file) {
    if (file.isEmpty() || QDir::isAbsolutePath(file))
        return file;
    return QDir::current().absoluteFilePath(file);
}

bool parse(const QStringList& args, std::vector<Option>& out, QString& error) {
    out.clear();
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (arg.size() < 2 || arg[0] != '-') {
            error = QString("'%1' is not an option").arg(arg);
            return false;
        }
        Option option;
        option.name = arg.mid(1);
        const std::string name = option.name.toStdString();
        const std::string base = name.substr(0, name.find(':'));
        const bool hasNext = i + 1 < args.size();
        bool takesValue = false;
        if (const OwnOption* own = own_option(base)) {
            takesValue = own->takesValue;
        } else if (hasNext && is_library_option(name)) {
            takesValue = true;
        } else if (base.starts_with("no") && own_option(base.substr(2)) &&
                   own_option(base.substr(2))->boolean) {
            takesValue = false;
        } else if (!hasNext && is_library_option(name)) {
            error = QString("Missing argument for option '%1'").arg(option.name);
            return false;
        } else {
            error = QString("Unrecognized option '%1'").arg(option.name);
            return false;
        }
        if (takesValue) {
            if (!hasNext) {
                error = QString("Missing argument for option '%1'").arg(option.name);
                return false;
            }
            option.value = args[++i];
            option.hasValue = true;
        }
        out.push_back(std::move(option));
    }
    return true;
}

bool is_program_option(const QString& base) {
    return own_option(base.toStdString()) != nullptr;
}

const Option* last(const std::vector<Option>& options, std::initializer_list<const char*> bases) {
    const Option* found = nullptr;
    for (const Option& o : options) {
        const QString b = o.base();
        for (const char* wanted : bases)
            if (b == QLatin1String(wanted))
                found = &o;
    }
    return found;
}

bool has_flag(const std::vector<Option>& options, const char* base) {
    for (const Option& o : options)
        if (!o.hasValue && o.base() == QLatin1String(base))
            return true;
    return false;
}

bool parse_duration(const QString& text, int64_t& microseconds) {
    return av_parse_time(&microseconds, text.toUtf8().constData(), 1) >= 0;
}

bool check_values(const std::vector<Option>& options, QString& error) {
    for (const Option& o : options) {
        const QString b = o.base();
        if (b == "ss" || b == "t" || b == "to" || b == "sseof" || b == "itsoffset") {
            int64_t us = 0;
            if (!parse_duration(o.value, us)) {
                error = QString("Invalid duration for -%1: %2").arg(b, o.value);
                return false;
            }
        } else if (b == "r" || b == "framerate") {
            AVRational rate{0, 1};
            if (av_parse_video_rate(&rate, o.value.toUtf8().constData()) < 0 || rate.num <= 0 ||
                rate.den <= 0) {
                error = QString("Invalid frame rate value: %1").arg(o.value);
                return false;
            }
        }
    }
    return true;
}

} // namespace ffoptions
