// The sound source, volume, motion and tempo controls.
#include "app/p_main.h"
#include "platform/dialogs.h"
#include "platform/spinedit.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

const QString AUDIO_EXTENSIONS =
    "*.WAV;*.WAVE;*.MP3;*.WMA;*.AAC;*.AC3;*.FLAC;*.ALAC;*.M4A;*.MID;*.MKA;*.MP2;*.MPA;*.MPC;"
    "*.APE;*.OFR;*.OGG;*.RA;*.WV;*.TTA;*.DTS;*.G726;*.GSM;*.AIF;*.AIFF;*.AIFC;*.AU;*.SND;*.PCM;"
    "*.DSP;*.COOK;*.DCA;*.IMC;*.TTA;";

namespace {

void enable_other_audio(Tmain* w, bool on) {
    w->edit_otheraudio->setEnabled(on);
    w->bt_otheraudio->setEnabled(on);
}

// Leaving a field writes its value back as plain decimal text; the field clamps afterwards.
void normalise(TSpinEdit* field) {
    field->SetText(QString::number(field->Value()));
}

} // namespace

void Tmain::radio_anClick() {
    enable_other_audio(this, false);
}
void Tmain::radio_originalaudioClick() {
    enable_other_audio(this, false);
}
void Tmain::radio_backwardaudioClick() {
    enable_other_audio(this, false);
}
void Tmain::radio_otheraudioClick() {
    enable_other_audio(this, true);
}

void Tmain::bt_otheraudioClick() {
    const QString path = DialogService::instance().openFile(
        this, {"Audio Files|" + AUDIO_EXTENSIONS, 0, QString(), false});
    if (path.isEmpty())
        return;
    edit_otheraudio->setText(path);
    radio_otheraudio->setChecked(true);
}

void Tmain::ck_changevolumeClick() {
    spin_volume->setEnabled(ck_changevolume->isChecked());
    Label4->setEnabled(ck_changevolume->isChecked());
}

void Tmain::radio_changemotionClick() {
    spin_motion->setEnabled(true);
    Label1->setEnabled(true);
}

void Tmain::radio_originalmotionClick() {
    spin_motion->setEnabled(false);
    Label1->setEnabled(false);
}

void Tmain::radio_changetempoClick() {
    spin_tempo->setEnabled(true);
    Label46->setEnabled(true);
}

void Tmain::radio_originaltempoClick() {
    spin_tempo->setEnabled(false);
    Label46->setEnabled(false);
}

void Tmain::spin_volumeExit() {
    normalise(spin_volume);
}
void Tmain::spin_motionExit() {
    normalise(spin_motion);
}
void Tmain::spin_tempoExit() {
    normalise(spin_tempo);
}
