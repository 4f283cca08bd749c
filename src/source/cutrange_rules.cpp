#include "source/cutrange_rules.h"

#include "common/helpers_rules.h"

namespace {

// A slider's value as a fraction of `max`; a zero maximum counts as position 0.
double fraction(int value, int max) {
    return max == 0 ? 0.0 : static_cast<double>(value) / max;
}

// round(span * BAR_WIDTH / max) with the integer product formed first.
int bar_length(int span, int max) {
    if (max == 0)
        return 0;
    const int64_t product = static_cast<int64_t>(span) * BAR_WIDTH;
    return static_cast<int>(round_even(static_cast<double>(product) / max));
}

QString frame_text(int64_t frame) {
    return QStringLiteral("Frame ") + QString::number(frame);
}

} // namespace

int64_t slider_time(const SliderState& s, int64_t durationUs) {
    return round_even(fraction(s.value, s.maxValue) * static_cast<double>(durationUs));
}

int64_t slider_frame(const SliderState& s, int32_t totalFrames) {
    return round_even(fraction(s.value, s.maxValue) * totalFrames);
}

SegmentBar bar_after_begin(const SliderState& b, const SliderState& e) {
    return {bar_length(b.value, b.maxValue) + BAR_LEFT, bar_length(e.value - b.value, b.maxValue)};
}

int bar_width_after_end(const SliderState& b, const SliderState& e) {
    return bar_length(e.value - b.value, e.maxValue);
}

CutLabels cut_labels(const SliderState& b, const SliderState& e, int64_t durationUs,
                     int32_t totalFrames) {
    const SliderState span{e.value - b.value, b.maxValue};
    CutLabels labels;
    labels.begintime = QStringLiteral("Start ") + timecode_text(slider_time(b, durationUs));
    labels.beginframe = frame_text(slider_frame(b, totalFrames));
    labels.totaltime = QStringLiteral("<< ") + timecode_text(slider_time(span, durationUs));
    labels.totalframe = frame_text(slider_frame(span, totalFrames)) + QStringLiteral(" >>");
    labels.endtime = QStringLiteral("End ") + timecode_text(slider_time(e, durationUs));
    labels.endframe = frame_text(slider_frame(e, totalFrames));
    return labels;
}

int frame_of_label(const QString& label) {
    bool ok = false;
    const int frame = label.mid(6).toInt(&ok);
    return ok ? frame : 0;
}
