#include "platform/fffilters.h"

#include <cmath>
#include <vector>

extern "C" {
#include <libavfilter/avfilter.h>
#include <libavutil/error.h>
#include <libavutil/eval.h>
}

namespace fffilters {
namespace {

struct Filter {
    QString name;
    QString args; // unquoted and unescaped
};

// Reads a chain the way FFmpeg's graph parser delimits it: "[label]name@id=args[label]"
// pieces joined by ',' or ';', with '...' quoting and '\' escapes inside the arguments.
std::vector<Filter> split_chain(const QString& chain) {
    std::vector<Filter> filters;
    qsizetype i = 0;
    const qsizetype n = chain.size();
    auto skipBlanksAndLabels = [&] {
        while (i < n) {
            if (chain[i].isSpace()) {
                ++i;
            } else if (chain[i] == '[') {
                while (i < n && chain[i] != ']')
                    ++i;
                ++i;
            } else {
                break;
            }
        }
    };
    while (i < n) {
        skipBlanksAndLabels();
        Filter f;
        while (i < n && !QStringView(u"=,;[").contains(chain[i]) && !chain[i].isSpace())
            f.name += chain[i++];
        if (const qsizetype at = f.name.indexOf('@'); at >= 0)
            f.name.truncate(at);
        if (i < n && chain[i] == '=') {
            ++i;
            bool quoted = false;
            while (i < n && (quoted || !QStringView(u"[],;").contains(chain[i]))) {
                if (chain[i] == '\'') {
                    quoted = !quoted;
                } else if (chain[i] == '\\' && i + 1 < n) {
                    f.args += chain[++i];
                } else {
                    f.args += chain[i];
                }
                ++i;
            }
            f.args = f.args.trimmed();
        }
        skipBlanksAndLabels();
        if (i < n && (chain[i] == ',' || chain[i] == ';'))
            ++i;
        if (!f.name.isEmpty())
            filters.push_back(f);
    }
    return filters;
}

QString without_key(const QString& args, const char* key) {
    const QString prefix = QString::fromLatin1(key) + '=';
    return args.startsWith(prefix) ? args.mid(prefix.size()) : args;
}

// The slope of a timestamp expression in PTS, evaluated at two points; 1 when the
// expression is not a stretch of PTS (for instance when it counts frames).
double pts_slope(const QString& expression) {
    static const char* const names[] = {"PTS",
                                        "T",
                                        "TB",
                                        "STARTPTS",
                                        "STARTT",
                                        "N",
                                        "FRAME_RATE",
                                        "FR",
                                        "SAMPLE_RATE",
                                        "SR",
                                        "NB_CONSUMED_SAMPLES",
                                        "NB_SAMPLES",
                                        "S",
                                        "INTERLACED",
                                        "POS",
                                        "PREV_INPTS",
                                        "PREV_INT",
                                        "PREV_OUTPTS",
                                        "PREV_OUTT",
                                        "RTCTIME",
                                        "RTCSTART",
                                        "T_CHANGE",
                                        nullptr};
    const QByteArray text = expression.toUtf8();
    auto eval = [&](double pts, double& result) {
        const double tb = 0.001;
        const double values[] = {pts, pts * tb, tb, 0, 0, 0, 25, 25, 44100, 44100, 0,
                                 0,   0,        0,  0, 0, 0, 0,  0,  0,     0,     0};
        return av_expr_parse_and_eval(&result, text.constData(), names, values, nullptr, nullptr,
                                      nullptr, nullptr, nullptr, 0, nullptr) >= 0;
    };
    double a = 0, b = 0;
    if (!eval(1000, a) || !eval(2000, b))
        return 1;
    const double slope = (b - a) / 1000;
    return std::isfinite(slope) && slope > 0 ? slope : 1;
}

QString graph_error(const QString& chain, int code) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return QString("Error in filter chain '%1': %2").arg(chain, QString::fromLocal8Bit(text));
}

} // namespace

bool check_chain(const QString& chain, Media media, QString& error) {
    const std::vector<Filter> filters = split_chain(chain);
    if (filters.empty()) {
        error = QString("Empty filter chain '%1'").arg(chain);
        return false;
    }
    for (const Filter& f : filters) {
        if (!avfilter_get_by_name(f.name.toUtf8().constData())) {
            error = QString("No such filter: '%1'").arg(f.name);
            return false;
        }
    }
    AVFilterGraph* graph = avfilter_graph_alloc();
    AVFilterInOut* inputs = nullptr;
    AVFilterInOut* outputs = nullptr;
    const int code = avfilter_graph_parse2(graph, chain.toUtf8().constData(), &inputs, &outputs);
    bool ok = code >= 0;
    if (!ok) {
        error = graph_error(chain, code);
    } else if (!inputs || inputs->next || !outputs || outputs->next) {
        ok = false;
        error = QString("Filter chain '%1' must have exactly one input and one output").arg(chain);
    } else if (media != Media::Any) {
        const AVMediaType wanted = media == Media::Video ? AVMEDIA_TYPE_VIDEO : AVMEDIA_TYPE_AUDIO;
        const AVMediaType in =
            avfilter_pad_get_type(inputs->filter_ctx->input_pads, inputs->pad_idx);
        const AVMediaType out =
            avfilter_pad_get_type(outputs->filter_ctx->output_pads, outputs->pad_idx);
        if (in != wanted || out != wanted) {
            ok = false;
            error = QString("Filter chain '%1' is not a chain of %2 filters")
                        .arg(chain, media == Media::Video ? "video" : "audio");
        }
    }
    avfilter_inout_free(&inputs);
    avfilter_inout_free(&outputs);
    avfilter_graph_free(&graph);
    return ok;
}

double time_factor(const QString& chain) {
    double factor = 1;
    for (const Filter& f : split_chain(chain)) {
        if (f.name == "setpts" || f.name == "asetpts") {
            factor *= pts_slope(without_key(f.args, "expr"));
        } else if (f.name == "atempo") {
            bool ok = false;
            const double tempo = without_key(f.args, "tempo").toDouble(&ok);
            if (ok && tempo > 0)
                factor /= tempo;
        }
    }
    return factor;
}

} // namespace fffilters
