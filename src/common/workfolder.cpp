#include "common/workfolder.h"

#include "common/helpers.h"

#include <QCoreApplication>
#include <QDialog>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

QString work_folder() {
    return program_folder() + "tmp";
}

bool folder_is_empty(const QString& path) {
    return QDir(path).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::System |
                              QDir::NoDotAndDotDot);
}

bool clear_folder(const QString& path, const ProgressControls& progress) {
    QString folder = path;
    if (!folder.endsWith('/'))
        folder += '/';
    progress.bar->setValue(0);
    progress.label->setText("Gather Video and Audio Stream Information");
    progress.button->setEnabled(false);

    QDirIterator entries(folder,
                         QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    // Pending events run every few milliseconds rather than after every one of thousands of
    // files: the dialog stays painted and the clearing does not wait on it.
    QElapsedTimer sinceEvents;
    sinceEvents.start();
    while (entries.hasNext()) {
        const QFileInfo entry(entries.next());
        if (entry.isDir() && !entry.isSymLink())
            clear_folder(entry.absoluteFilePath(), progress);
        else
            QFile::remove(entry.absoluteFilePath());
        if (sinceEvents.elapsed() >= 20) {
            QCoreApplication::processEvents();
            sinceEvents.restart();
        }
        progress.bar->setValue(progress.bar->value() + 1 >= 100 ? 0 : progress.bar->value() + 1);
    }
    if (progress.form->isVisible())
        progress.form->done(QDialog::Accepted);
    return true;
}
