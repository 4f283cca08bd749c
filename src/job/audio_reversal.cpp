// The sound choice after the extraction, and the reversal of the extracted sound.
#include "app/p_main.h"
#include "app/shell.h"
#include "common/workfolder.h"
#include "job/p_batchaudioc.h"
#include "platform/audiofile.h"
#include "platform/dialogs.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

void Tmain::timer_resoundTimer() {
    timer_resound->stop();
    if (radio_backwardaudio->isChecked()) {
        batchaudioc->progresstotal->setValue(0);
        batchaudioc->Label1->setText("Reverse Audio Header......");
        batchaudioc->Button1->setEnabled(false);
        batchaudioc->Timer_resound_do->start();
    } else {
        timer_renamefile->start();
    }
}

void Tbatchaudioc::Timer_resound_doTimer() {
    Timer_resound_do->stop();
    transform_job = "resound";
    const QString tmp = work_folder() + "/";
    if (!AudioTransform21->Reverse(tmp + "original.wav", tmp + "backward.wav")) {
        // The job cannot go on without its sound: say why and end it.
        DialogService::instance().message(this, APP_TITLE, AudioTransform21->LastError(),
                                          MessageIcon::Error);
        main_->clear_work_folder();
    }
}

void Tbatchaudioc::AudioTransform21TransformBlock(int percent) {
    progresstotal->setValue(percent);
}

void Tbatchaudioc::AudioTransform21EndTransform() {
    progresstotal->setValue(progresstotal->maximum());
    if (transform_job == "resound")
        main_->timer_renamefile->start();
}
