// The frame size controls: original, custom (proportional, padded) and crop.
#include "app/p_main.h"
#include "common/helpers.h"
#include "platform/dialogs.h"
#include "platform/imageenview.h"
#include "platform/rxslider.h"
#include "platform/spinedit.h"
#include "settings/framesize_rules.h"
#include "settings/p_setcrop.h"

#include "common/helpers_rules.h"
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QRadioButton>

namespace {

constexpr int SIZE_LIMIT = 10000;

void enable_custom(Tmain* w, bool on) {
    for (QWidget* control :
         {static_cast<QWidget*>(w->EdCustomWidth2), static_cast<QWidget*>(w->EdCustomHeight2),
          static_cast<QWidget*>(w->cb_proportion2), static_cast<QWidget*>(w->cb_pad)})
        control->setEnabled(on);
}

bool reads_above_limit(const TSpinEdit* field) {
    bool isNumber = false;
    const qlonglong value = field->Text().toLongLong(&isNumber);
    return isNumber && value > SIZE_LIMIT;
}

} // namespace

void Tmain::radio_original2Click() {
    enable_custom(this, false);
    bt_setcrop->setEnabled(false);
    const TVideoStreamInfo video = Decoder->GetVideoStreamInfo();
    EdCustomWidth2->SetValue(video.Width);
    EdCustomHeight2->SetValue(video.Height);
}

void Tmain::radio_custom2Click() {
    enable_custom(this, true);
    bt_setcrop->setEnabled(false);
}

void Tmain::radio_cropClick() {
    enable_custom(this, false);
    bt_setcrop->setEnabled(true);
}

// Writes the other field from the edited one while "Proportion" holds. The write does not
// run the other field's own update, so the two never chase each other.
static void follow(Tmain* w, TSpinEdit* edited, TSpinEdit* other, int from, int to, bool& busy) {
    if (busy || !w->cb_proportion2->isChecked())
        return;
    const std::optional<int> value = proportional_value(edited->Text(), from, to);
    if (!value)
        return;
    busy = true;
    other->SetText(QString::number(*value));
    if (reads_above_limit(other)) {
        other->SetValue(SIZE_LIMIT);
        w->cb_proportion2->setChecked(false);
        w->cb_proportion2Click();
    }
    busy = false;
}

void Tmain::EdCustomWidth2Change() {
    const TVideoStreamInfo video = Decoder->GetVideoStreamInfo();
    follow(this, EdCustomWidth2, EdCustomHeight2, video.Width, video.Height, proportionBusy_);
}

void Tmain::EdCustomHeight2Change() {
    const TVideoStreamInfo video = Decoder->GetVideoStreamInfo();
    follow(this, EdCustomHeight2, EdCustomWidth2, video.Height, video.Width, proportionBusy_);
}

void Tmain::cb_proportion2Click() {
    if (cb_proportion2->isChecked()) {
        const TVideoStreamInfo video = Decoder->GetVideoStreamInfo();
        const std::optional<int> height =
            proportional_value(EdCustomWidth2->Text(), video.Width, video.Height);
        if (!height) {
            DialogService::instance().message(
                this, "", QString("'%1' is not a valid integer value").arg(EdCustomWidth2->Text()),
                MessageIcon::Error);
            return;
        }
        EdCustomHeight2->SetText(QString::number(*height));
    }
    if (EdCustomHeight2->Value() > SIZE_LIMIT)
        EdCustomHeight2->SetValue(SIZE_LIMIT);
}

void Tmain::EdCustomWidth2Exit() {
    EdCustomWidth2->SetText(QString::number(EdCustomWidth2->Value()));
}
void Tmain::EdCustomHeight2Exit() {
    EdCustomHeight2->SetText(QString::number(EdCustomHeight2->Value()));
}

void Tmain::bt_setcropClick() {
    if (Decoder->VideoStreamCount() <= 0) {
        DialogService::instance().message(this, "Error", "The source video file is NOT loaded!",
                                          MessageIcon::Error);
        return;
    }
    QImage bitmap;
    if (split_begin->Value() == split_begin->MinValue() &&
        split_end->Value() == split_end->MaxValue()) {
        Decoder->Seek(0, round_even(video_duration / 2.0));
        Decoder->DecodeVideoFrame(Decoder->FirstVideoStream());
    }
    Decoder->CopyFrameToBitmap(bitmap);
    QDir().mkpath(program_folder());
    const QString path = program_folder() + "test.bmp";
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !bitmap.save(&file, "BMP")) {
        DialogService::instance().message(
            this, "", QString("Cannot create file \"%1\". %2").arg(path, file.errorString()),
            MessageIcon::Error);
        return;
    }
    file.close();
    setcrop->ImageEnView1->LoadImageFile(path);
    setcrop->ImageEnView1SelectionChange();
    setcrop->exec();
}
