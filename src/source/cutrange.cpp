// The two segment sliders, their labels, the segment bar, the end previews and frame
// stepping.
#include "app/p_main.h"
#include "common/helpers.h"
#include "common/helpers_rules.h"
#include "platform/dialogs.h"
#include "platform/rxslider.h"
#include "source/cutrange_rules.h"

#include <QLabel>
#include <QPainter>

namespace {

SliderState state_of(const TRxSlider* s) {
    return {s->Value(), s->MaxValue()};
}

// The seek attempts of a preview, in order; the first that succeeds is used.
constexpr int SEEK_ATTEMPTS[] = {
    SEEK_FLAG_BACKWARD, SEEK_FLAG_BACKWARD | SEEK_FLAG_ANY, 0, SEEK_FLAG_ANY, 0, SEEK_FLAG_BACKWARD,
    SEEK_FLAG_ANY};

} // namespace

void Tmain::drawPreview(TPicture* picture, int64_t positionUs) {
    bool sought = false;
    for (int flags : SEEK_ATTEMPTS)
        if ((sought = Decoder->Seek(flags, positionUs)))
            break;
    if (!sought)
        return;
    if (!Decoder->DecodeVideoFrame(Decoder->FirstVideoStream()) ||
        !Decoder->CopyFrameToBitmap(frame_bitmap))
        return;
    // The preview takes a second conversion straight into its fitted size: much cheaper than
    // scaling the full frame down, which keeps dragging a slider fluid.
    QPixmap& canvas = picture->Canvas();
    const Edges fitted = fit_rect({0, 0, frame_bitmap.width(), frame_bitmap.height()},
                                  {0, 0, canvas.width(), canvas.height()});
    QImage preview;
    if (Decoder->CopyFrameToBitmap(preview,
                                   QSize(fitted.right - fitted.left, fitted.bottom - fitted.top))) {
        QPainter painter(&canvas);
        painter.drawImage(QPoint(fitted.left, fitted.top), preview);
    } else {
        draw_fitted(canvas, frame_bitmap);
    }
    picture->CanvasChanged();
}

void Tmain::split_beginChange() {
    const SliderState b = state_of(split_begin), e = state_of(split_end);
    if (e.value < b.value) {
        split_begin->SetValue(e.value);
        return;
    }
    const SegmentBar bar = bar_after_begin(b, e);
    split_position_front->setGeometry(bar.left, split_position_front->y(), bar.width,
                                      split_position_front->height());
    if (Decoder->VideoStreamCount() <= 0)
        return;
    const CutLabels labels = cut_labels(b, e, video_duration, total_frames);
    Label_begintime->setText(labels.begintime);
    label_beginframe->setText(labels.beginframe);
    label_totaltime->setText(labels.totaltime);
    label_totalframe->setText(labels.totalframe);
    for (QLabel* l : {Label_begintime, label_beginframe, label_totaltime, label_totalframe})
        l->adjustSize();
    drawPreview(Image_start, slider_time(b, video_duration));
}

void Tmain::split_endChange() {
    const SliderState b = state_of(split_begin), e = state_of(split_end);
    if (b.value > e.value) {
        split_end->SetValue(b.value);
        return;
    }
    split_position_front->resize(bar_width_after_end(b, e), split_position_front->height());
    if (Decoder->VideoStreamCount() <= 0)
        return;
    const CutLabels labels = cut_labels(b, e, video_duration, total_frames);
    Label_endtime->setText(labels.endtime);
    label_endframe->setText(labels.endframe);
    label_totaltime->setText(labels.totaltime);
    label_totalframe->setText(labels.totalframe);
    for (QLabel* l : {Label_endtime, label_endframe, label_totaltime, label_totalframe})
        l->adjustSize();
    drawPreview(image_end, slider_time(e, video_duration));
}

void Tmain::SpinButton1DownClick() {
    const int n = frame_of_label(label_beginframe->text());
    if (video_duration > 0 && n >= 1) {
        split_begin->SetValue(n - 1);
        split_beginChange();
    }
}

void Tmain::SpinButton1UpClick() {
    const int n = frame_of_label(label_beginframe->text());
    if (video_duration > 0 && n < total_frames) {
        split_begin->SetValue(n + 1);
        split_beginChange();
    }
}

void Tmain::SpinButton2DownClick() {
    const int n = frame_of_label(label_endframe->text());
    if (video_duration > 0 && n >= 1) {
        split_end->SetValue(n - 1);
        split_endChange();
    }
}

void Tmain::SpinButton2UpClick() {
    const int n = frame_of_label(label_endframe->text());
    if (video_duration > 0 && n < total_frames) {
        split_end->SetValue(n + 1);
        split_endChange();
    }
}
