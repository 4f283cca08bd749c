// Accepting, probing and loading the source video.
#include "app/p_main.h"
#include "platform/dialogs.h"
#include "platform/rxslider.h"
#include "platform/spinedit.h"
#include "source/loading_rules.h"

#include <QLabel>
#include <QRadioButton>

void Tmain::bt_loadClick() {
    const QString path = DialogService::instance().openFile(
        this, {"Video Files|" + SOURCE_EXTENSIONS, 0, QString()});
    if (!path.isEmpty())
        load_videofile(path);
}

void Tmain::load_videofile(const QString& path) {
    const auto fail = [this](const QString& text) {
        DialogService::instance().message(this, "", text, MessageIcon::Error);
    };
    if (!extension_in_list(file_extension(path), SOURCE_EXTENSIONS))
        return fail("Please load video file");
    if (!Decoder->OpenFile(path))
        return fail("File load error: " + Decoder->LastError());
    if (Decoder->FirstVideoStream() < 0)
        return fail("***No video stream " + Decoder->LastError());

    const bool hasSound = Decoder->FirstAudioStream() >= 0;
    radio_originalaudio->setEnabled(hasSound);
    radio_backwardaudio->setEnabled(hasSound);
    (hasSound ? radio_originalaudio : radio_an)->setChecked(true);

    const TFileStreamInfo file = Decoder->GetFileStreamInfo();
    const TVideoStreamInfo video = Decoder->GetVideoStreamInfo();
    const bool durationKnown = file.Duration != DURATION_UNKNOWN;
    split_begin->setEnabled(durationKnown);
    split_end->setEnabled(durationKnown);
    if (durationKnown)
        video_duration = file.Duration;
    total_frames = frame_count({Decoder->VideoStreamCount(), video.Duration, durationKnown,
                                file.Duration, video.FrameRateNum, video.FrameRateDen},
                               total_frames);
    label_fromvideo->setText(path);
    label_fromvideo->adjustSize();

    EdCustomWidth2->SetValue(video.Width);
    EdCustomHeight2->SetValue(video.Height);

    frame_bitmap = QImage();
    Image_start->FillBlack();
    image_end->FillBlack();

    split_begin->SetMaxValue(total_frames);
    split_begin->SetValue(0);
    split_end->SetMaxValue(total_frames);
    split_end->SetValue(split_end->MaxValue());
}
