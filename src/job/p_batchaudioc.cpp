#include "job/p_batchaudioc.h"

#include "app/p_main.h"
#include "app/shell.h"
#include "platform/audiofile.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

Tbatchaudioc::Tbatchaudioc(Tmain* main)
    : QDialog(main, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), main_(main) {
    setWindowTitle(" ");
    setFont(program_font());
    setFixedSize(349, 87);
    setModal(true);

    Label1 = new QLabel(" ", this);
    Label1->setGeometry(12, 8, 325, 18);
    progresstotal = new QProgressBar(this);
    progresstotal->setRange(0, 100);
    progresstotal->setTextVisible(false);
    progresstotal->setGeometry(12, 28, 324, 18);
    Button1 = new QPushButton("Cancel", this);
    Button1->setGeometry(137, 54, 75, 25);
    Button1->setAutoDefault(false);
    connect(Button1, &QPushButton::clicked, this, &Tbatchaudioc::Button1Click);

    Timer_resound_do = new QTimer(this);
    Timer_resound_do->setInterval(1);
    connect(Timer_resound_do, &QTimer::timeout, this, &Tbatchaudioc::Timer_resound_doTimer);
    timer_renamefile_do = new QTimer(this);
    timer_renamefile_do->setInterval(1);
    connect(timer_renamefile_do, &QTimer::timeout, this, &Tbatchaudioc::timer_renamefile_doTimer);

    AudioTransform21 = new TAudioTransform2(this);
    connect(AudioTransform21, &TAudioTransform2::OnTransformBlock, this,
            &Tbatchaudioc::AudioTransform21TransformBlock);
    connect(AudioTransform21, &TAudioTransform2::OnEndTransform, this,
            &Tbatchaudioc::AudioTransform21EndTransform);
}

ProgressControls Tbatchaudioc::Controls() {
    return {this, Label1, progresstotal, Button1};
}

void Tbatchaudioc::showEvent(QShowEvent* event) {
    progresstotal->setValue(0);
    QDialog::showEvent(event);
}

void Tbatchaudioc::reject() {
    if (Button1->isEnabled())
        Button1->click();
}

void Tbatchaudioc::Button1Click() {
    main_->cancelled = true;
    if (main_->running_encoder == "ffencoder")
        main_->FFencoder->StopTasks(true);
    else if (main_->running_encoder == "ffi2v")
        main_->FFi2v->StopTasks(true);
}
