// The main window's shell: menus, moving the window by its background, dropped files and
// the start-up check for FFmpeg.
#include "app/p_about.h"
#include "app/p_main.h"
#include "app/shell.h"
#include "common/helpers.h"
#include "platform/dialogs.h"
#include "platform/fflibrary.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGroupBox>
#include <QMimeData>
#include <QMouseEvent>
#include <QTimer>
#include <QUrl>
#include <QWindow>

bool Tmain::FormCreate() {
    library_folder = system_folder();
    for (TFFEncoder* encoder : {FFencoder, FFi2v}) {
        if (encoder->LibrariesLoaded())
            continue;
        if (!encoder->LoadLibraries(library_folder) &&
            !encoder->LoadLibraries(QCoreApplication::applicationDirPath() + "/redist/ff")) {
            DialogService::instance().message(this, "", "load DLL error!", MessageIcon::Error);
            return false;
        }
    }
    frame_bitmap = QImage();
    Image_start->FillBlack();
    image_end->FillBlack();
    return true;
}

void Tmain::Exit1Click() {
    close();
}

static QString help_page() {
    const QString installed =
        QCoreApplication::applicationDirPath() + "/../share/doc/tolvane/help.html";
    if (QFileInfo::exists(installed))
        return installed;
    return TOLVANE_SOURCE_HELP_PAGE;
}

void Tmain::HelpContents1Click() {
    QDesktopServices::openUrl(QUrl::fromLocalFile(help_page()));
}

void Tmain::About1Click() {
    if (about)
        about->exec();
}

void Tmain::startMoving() {
    if (QWindow* window = windowHandle())
        window->startSystemMove();
}

void Tmain::mousePressEvent(QMouseEvent* event) {
    startMoving();
    event->accept();
}

bool Tmain::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress) {
        if (watched == split_group)
            return true; // the cut box does not move the window
        if (watched == GroupBox1 || watched == GroupBox2 || watched == GroupBox3 ||
            watched == GroupBox8) {
            startMoving();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void Tmain::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void Tmain::dropEvent(QDropEvent* event) {
    QStringList paths;
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile())
            paths << url.toLocalFile();
    event->acceptProposedAction();
    // Loading may show messages: let the drop itself end first.
    QTimer::singleShot(0, this, [this, paths] { dropFiles(paths); });
}

void Tmain::dropFiles(const QStringList& paths) {
    for (const QString& path : paths) {
        QCoreApplication::processEvents();
        load_videofile(path);
    }
}
