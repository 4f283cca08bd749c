#include "job/frame_renaming.h"

#include "app/p_main.h"
#include "job/p_batchaudioc.h"
#include "job/reverse_rules.h"
#include "platform/dialogs.h"

#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <cstdio>

RenameResult rename_into_reverse_order(const QString& folder,
                                       const std::function<void(int, int)>& progress) {
    RenameResult result;
    const QDir dir(folder);
    if (!dir.exists())
        return result;
    result.folderFound = true;
    const QStringList names =
        dir.entryList({"to*.jpg"}, QDir::Files | QDir::Hidden | QDir::System, QDir::Unsorted);
    result.count = int(names.size());
    const QByteArray base = QFile::encodeName(dir.absolutePath() + "/");
    int done = 0;
    for (const QString& name : names) {
        bool isNumber = false;
        const qint64 k = name.mid(2, name.size() - 6).toLongLong(&isNumber);
        if (isNumber) {
            const QByteArray from = base + QFile::encodeName(name);
            const QByteArray to =
                base + "from" + QByteArray::number(reversed_number(k, result.count)) + ".jpg";
            // rename(2) directly: one system call per frame, nothing copied.
            if (std::rename(from.constData(), to.constData()) == 0)
                ++result.renamed;
        }
        progress(++done, result.count);
    }
    return result;
}

void Tmain::timer_renamefileTimer() {
    timer_renamefile->stop();
    batchaudioc->progresstotal->setValue(0);
    batchaudioc->Label1->setText("Reverse Video Container......");
    batchaudioc->Button1->setEnabled(false);
    batchaudioc->timer_renamefile_do->start();
}

void Tbatchaudioc::timer_renamefile_doTimer() {
    timer_renamefile_do->stop();
    const RenameResult result =
        rename_into_reverse_order(work_folder(), [this](int done, int count) {
            const int position = rename_percent(done, count);
            // Repaint only when the bar moves: thousands of frames, a hundred steps.
            if (position != progresstotal->value()) {
                progresstotal->setValue(position);
                QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            }
        });
    if (!result.folderFound) {
        DialogService::instance().message(
            this, "Error", "The work folder " + work_folder() + " is gone.", MessageIcon::Error);
        main_->clear_work_folder();
        return;
    }
    main_->timer_i2v->start();
}
