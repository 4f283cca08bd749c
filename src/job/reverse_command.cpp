// The Reverse command and the extraction of the segment into images and sound.
#include "app/p_main.h"
#include "app/shell.h"
#include "common/workfolder.h"
#include "job/job_error.h"
#include "job/joblock.h"
#include "job/p_batchaudioc.h"
#include "job/reverse_rules.h"
#include "platform/dialogs.h"
#include "platform/imageenview.h"
#include "platform/rxslider.h"
#include "settings/p_setcrop.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QTimer>

void Tmain::clear_work_folder() {
    clear_folder(work_folder(), batchaudioc->Controls());
}

void Tmain::BitBtn1Click() {
    const QString source = label_fromvideo->text();
    if (!QFileInfo(source).isFile())
        return error_box(this, "Please load video file at first!");
    if (Decoder->VideoStreamCount() <= 0)
        return error_box(this, "The source video file is NOT loaded!");
    if (!jobLock_->acquire())
        return error_box(this, "Another copy of Tolvane is running a reverse job. Please wait "
                               "until it has finished.");
    const auto unlock = qScopeGuard([this] { jobLock_->release(); });

    try {
        const QString folder = work_folder();
        if (!QDir().mkpath(folder) || !QFileInfo(folder).isWritable())
            return error_box(this, "Can not create tmp folder. Please be sure the installation "
                                   "folder is NOT read only!");
        if (!folder_is_empty(folder))
            clear_work_folder();
        if (radio_otheraudio->isChecked() && edit_otheraudio->text().trimmed().isEmpty())
            return error_box(this, "Please select the audio file");
        if (radio_crop->isChecked() && setcrop->ImageEnView1->SelectionRight() == 0 &&
            setcrop->ImageEnView1->SelectionBottom() == 0)
            return error_box(this, "Please set cropping area!");

        const SaveDialogSetup setup =
            save_dialog_setup(source, split_begin->Value() == split_begin->MinValue());
        output_path = DialogService::instance().saveFile(this, {setup.filter, 0, setup.defaultExt});
        if (output_path.isEmpty())
            return;
        if (output_path == source)
            return error_box(this, "The reversed file name is as same as source file");
        if (QFileInfo::exists(output_path) &&
            !DialogService::instance().confirm(
                this, "Confirm", output_path + " already exists.\nDo you want to replace it?"))
            return;

        if (FFencoder->TaskCount() > 0)
            FFencoder->ClearTasks();
        const Segment segment =
            segment_of(split_begin->Value(), split_begin->MaxValue(), split_end->Value(),
                       split_end->MaxValue(), video_duration);
        const QString tmp = folder + "/";
        const auto declare = [&](const QString& outputFile, const QString& outputOptions) {
            TInputOptions in;
            FFencoder->ResetInputOptions(in);
            in.Options = frames_input_options(segment);
            const int task = FFencoder->AddTask(source, in);
            if (task < 0) {
                error_box(this, "Add video file error: " + FFencoder->LastError());
                throw JobAbort();
            }
            TOutputOptions out;
            FFencoder->ResetOutputOptions(out);
            out.Options = outputOptions;
            if (FFencoder->SetOutput(task, outputFile, out) < 0) {
                FFencoder->RemoveTask(task);
                error_box(this, "Cannot do convert, error: " + FFencoder->LastError());
                throw JobAbort();
            }
        };
        declare(tmp + "to%d.jpg", frames_output_options(segment));
        if (radio_originalaudio->isChecked() || radio_backwardaudio->isChecked())
            declare(tmp + "original.wav", sound_output_options(segment));

        FFencoder->ThreadPriority = TThreadPriority::tpNormal;
        FFencoder->StartTask(3);
        task_progress.fill(0, FFencoder->TaskCount());
        running_encoder = "ffencoder";
        cancelled = false;

        batchaudioc->Label1->setText("Analyzing video, please wait......");
        batchaudioc->progresstotal->setValue(0);
        batchaudioc->Button1->setEnabled(true);
    } catch (const std::exception&) {
        error_box(this, "Process Error! Please try again!");
        clear_work_folder();
        return;
    }
    batchaudioc->exec();
}

void Tmain::FFencoderProgress(const TProgressInfo& info) {
    if (info.TaskIndex < 0 || info.TaskIndex >= task_progress.size())
        return;
    task_progress[info.TaskIndex] = task_percent(info.CurrentDuration, info.TotalDuration);
    batchaudioc->progresstotal->setValue(average_percent(task_progress));
    if (batchaudioc->progresstotal->value() > 0)
        batchaudioc->Label1->setText("Reverse Video Header......");
}

void Tmain::FFencoderTerminate(const TTerminateInfo& info) {
    if (info.Exception) {
        DialogService::instance().message(this, APP_TITLE, info.ExceptionMsg, MessageIcon::Warning);
        return;
    }
    if (info.TaskIndex < 0 && info.Finished) {
        if (!cancelled)
            timer_resound->start();
        else
            clear_work_folder();
    }
}
