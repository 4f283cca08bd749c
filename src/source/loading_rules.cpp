#include "source/loading_rules.h"

#include "common/helpers_rules.h"

const QString SOURCE_EXTENSIONS = QStringLiteral(
    "*.AVI;*.MPG;*.MPEG;*.WMV;*.MP4;*.M4V;*.3GP;*.RMVB;*.RM;*.FLV;*.SWF;*.MKV;*.H264;*.WEBM;"
    "*.MOV;*.VOB;*.IFO;*.YUV;*.AVM;*.ASF;*.AVS;*.DAT;*.OGM;*.TS;*.TP;*.NSV;*.AMV;*.ASV;*.FFV;"
    "*.MTS;");
const QString OUTPUT_EXTENSIONS =
    QStringLiteral("*.AVI;*.MPG;*.MPEG;*.WMV;*.MP4;*.M4V;*.3GP;*.RM;*.FLV;*.SWF;*.MKV;*.WEBM;"
                   "*.MOV;*.VOB;*.ASF;*.TS;*.MTS;");

QString file_extension(const QString& path) {
    const qsizetype nameStart = path.lastIndexOf(QLatin1Char('/')) + 1;
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    if (dot < nameStart)
        return {};
    return path.mid(dot);
}

bool extension_in_list(const QString& extension, const QString& list) {
    return !extension.isEmpty() && list.contains(extension.toUpper());
}

int32_t frame_count(const FrameCountInput& in, int32_t previous) {
    const auto seconds = [](int64_t us) { return static_cast<double>(us) / 1000000; };
    if (in.videoStreamCount > 0 && in.rateDen > 0) {
        if (in.streamDurationUs <= 0 && !in.containerKnown)
            return previous;
        const int64_t durationUs =
            in.streamDurationUs > 0 ? in.streamDurationUs : in.containerDurationUs;
        return static_cast<int32_t>(round_even(seconds(durationUs) * in.rateNum / in.rateDen));
    }
    if (!in.containerKnown)
        return previous;
    // Without a usable frame rate ten frames per second are assumed.
    return static_cast<int32_t>(round_even(seconds(in.containerDurationUs) * 10));
}
