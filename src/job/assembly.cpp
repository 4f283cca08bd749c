// The assembly of the reversed images and the chosen sound into the output file.
#include "app/p_main.h"
#include "app/shell.h"
#include "common/workfolder.h"
#include "job/job_error.h"
#include "job/p_batchaudioc.h"
#include "job/reverse_rules.h"
#include "platform/dialogs.h"
#include "settings/output_rules.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

// The name the assembly writes under until it has succeeded: hidden, in the output's folder,
// with the output's extension so FFmpeg still picks the container by it.
QString writing_name(const QString& output) {
    const QFileInfo info(output);
    QString name = "." + info.completeBaseName() + ".tolvane-part";
    if (!info.suffix().isEmpty())
        name += "." + info.suffix();
    return info.dir().filePath(name);
}

} // namespace

void Tmain::timer_i2vTimer() {
    timer_i2v->stop();
    try {
        if (FFi2v->TaskCount() > 0)
            FFi2v->ClearTasks();
        const QString tmp = work_folder() + "/";
        const TVideoStreamInfo video = Decoder->GetVideoStreamInfo();
        TInputOptions images;
        FFi2v->ResetInputOptions(images);
        images.Options = image_input_options(video.FrameRateNum, video.FrameRateDen);
        const int task = FFi2v->AddTask(tmp + "from%d.jpg", images);
        if (task < 0) {
            error_box(this, "Add image file error: " + FFi2v->LastError());
            throw JobAbort();
        }
        if (!radio_an->isChecked()) {
            TInputOptions sound;
            FFi2v->ResetInputOptions(sound);
            const QString file = radio_originalaudio->isChecked()   ? tmp + "original.wav"
                                 : radio_backwardaudio->isChecked() ? tmp + "backward.wav"
                                                                    : edit_otheraudio->text();
            if (FFi2v->AddInput(task, file, sound) < 0) {
                error_box(this, "Add audio file error: " + FFi2v->LastError());
                throw JobAbort();
            }
        }
        TOutputOptions out;
        FFi2v->ResetOutputOptions(out);
        out.Options = assembly_output_options(assembly_settings(), source_facts());
        writing_path = writing_name(output_path);
        if (FFi2v->SetOutput(task, writing_path, out) < 0) {
            FFi2v->RemoveTask(task);
            error_box(this, "Cannot do convert, error: " + FFi2v->LastError());
            throw JobAbort();
        }
        FFi2v->ThreadPriority = TThreadPriority::tpNormal;
        FFi2v->StartTask(3);
        task_progress.fill(0, FFi2v->TaskCount());
        running_encoder = "ffi2v";
        cancelled = false;
        batchaudioc->Label1->setText("Reverse Video Content......");
        batchaudioc->progresstotal->setValue(0);
        batchaudioc->Button1->setEnabled(true);
    } catch (const std::exception&) {
        error_box(this, "Process Error! Please try again!");
        clear_work_folder();
    }
}

void Tmain::FFi2vProgress(const TProgressInfo& info) {
    if (info.TaskIndex < 0 || info.TaskIndex >= task_progress.size())
        return;
    task_progress[info.TaskIndex] = task_percent(info.CurrentDuration, info.TotalDuration);
    batchaudioc->progresstotal->setValue(average_percent(task_progress));
}

void Tmain::FFi2vTerminate(const TTerminateInfo& info) {
    if (info.TaskIndex >= 0) {
        // The finished file replaces the chosen one only now; anything else is dropped.
        if (info.Finished && !info.Exception && !cancelled) {
            const QByteArray from = QFile::encodeName(writing_path);
            const QByteArray to = QFile::encodeName(output_path);
            if (std::rename(from.constData(), to.constData()) != 0) {
                const QString reason = QString::fromLocal8Bit(std::strerror(errno));
                QFile::remove(writing_path);
                DialogService::instance().message(this, APP_TITLE,
                                                  "Cannot write " + output_path + ": " + reason,
                                                  MessageIcon::Warning);
            }
        } else {
            QFile::remove(writing_path);
        }
    }
    if (info.Exception) {
        DialogService::instance().message(this, APP_TITLE, info.ExceptionMsg, MessageIcon::Warning);
        return;
    }
    if (info.TaskIndex < 0 && info.Finished) {
        clear_work_folder();
        if (!cancelled)
            timer_endmsg->start();
    }
}

void Tmain::timer_endmsgTimer() {
    timer_endmsg->stop();
    DialogService::instance().message(this, "", "Process is finished!", MessageIcon::Warning);
}
