// What the output rules read from the window: facts about the source and the settings.
#include "app/p_main.h"
#include "platform/ffoutput.h"
#include "platform/imageenview.h"
#include "platform/spinedit.h"
#include "settings/p_setcrop.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

SourceFacts Tmain::source_facts() const {
    const TVideoStreamInfo video = Decoder->GetVideoStreamInfo();
    SourceFacts facts;
    facts.infoText = Decoder->GetFileInfoText();
    facts.rateNum = video.FrameRateNum;
    facts.rateDen = video.FrameRateDen;
    facts.channels = Decoder->GetAudioStreamInfo().Channels;
    facts.width = video.Width;
    facts.height = video.Height;
    facts.videoBitRate = video.BitRate;
    facts.fileBitRate = Decoder->GetFileStreamInfo().BitRate;
    facts.amrEncoder = ffoutput::default_audio_encoder_available(".3gp");
    return facts;
}

AssemblySettings Tmain::assembly_settings() const {
    AssemblySettings s;
    s.sound = radio_an->isChecked()              ? SoundSource::Mute
              : radio_originalaudio->isChecked() ? SoundSource::Original
              : radio_backwardaudio->isChecked() ? SoundSource::Reverse
                                                 : SoundSource::Other;
    s.changeVolume = ck_changevolume->isChecked();
    s.volume = spin_volume->Value();
    s.changeTempo = radio_changetempo->isChecked();
    s.tempo = spin_tempo->Value();
    s.changeMotion = radio_changemotion->isChecked();
    s.motion = spin_motion->Value();
    s.frameSize = radio_original2->isChecked() ? FrameSizeMode::Original
                  : radio_custom2->isChecked() ? FrameSizeMode::Custom
                                               : FrameSizeMode::Crop;
    s.customWidth = EdCustomWidth2->Value();
    s.customHeight = EdCustomHeight2->Value();
    s.customWidthText = EdCustomWidth2->Text();
    s.customHeightText = EdCustomHeight2->Text();
    s.pad = cb_pad->isChecked();
    const TImageEnView* view = setcrop->ImageEnView1;
    s.cropLeft = view->SelectionLeft();
    s.cropTop = view->SelectionTop();
    s.cropRight = view->SelectionRight();
    s.cropBottom = view->SelectionBottom();
    s.sourcePath = label_fromvideo->text();
    s.outputPath = output_path;
    return s;
}

QString Tmain::ffcodec(const QString& outputPath) const {
    return ffcodec_rule(outputPath, source_facts());
}

QString Tmain::ffframesize(const QString& width, const QString& height,
                           const QString& outputPath) const {
    return ffframesize_rule(width, height, outputPath, Decoder->GetFileInfoText());
}
