#pragma once
// Labels and segment bar of the cut range.

#include <QString>
#include <cstdint>

struct SliderState {
    int value = 0;
    int maxValue = 100;
};

// Position in microseconds of a slider: round(value / max * duration); 0 when max is 0.
int64_t slider_time(const SliderState& s, int64_t durationUs);
// Frame number shown for a slider: round(value / max * totalFrames).
int64_t slider_frame(const SliderState& s, int32_t totalFrames);

struct SegmentBar {
    int left = 0, width = 0;
};
constexpr int BAR_LEFT = 13;
constexpr int BAR_WIDTH = 695;
// The bar after a start change (left and width) ...
SegmentBar bar_after_begin(const SliderState& b, const SliderState& e);
// ... and the width after an end change (left stays).
int bar_width_after_end(const SliderState& b, const SliderState& e);

struct CutLabels {
    QString begintime, beginframe, totaltime, totalframe, endtime, endframe;
};
// All six label texts for the two sliders (the segment ones scaled by the start's maximum).
CutLabels cut_labels(const SliderState& b, const SliderState& e, int64_t durationUs,
                     int32_t totalFrames);

// The frame number in a frame label ("Frame 150" gives 150); 0 when it is not a number.
int frame_of_label(const QString& label);
