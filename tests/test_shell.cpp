// Start-up, the main window as it first shows, the About dialog and dropped files.
#include "fixtures.h"
#include "window_fixture.h"

#include "common/helpers.h"
#include "platform/fflibrary.h"
#include "platform/rxslider.h"
#include "platform/spinedit.h"

#include <QCheckBox>
#include <QDate>
#include <QDropEvent>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTest>

namespace {

// A stand-in `ffmpeg` that only answers -version.
QString fake_ffmpeg_folder(const QString& name) {
    const QString folder = fixtures::temp_folder(name);
    QFile script(folder + "/ffmpeg");
    script.open(QIODevice::WriteOnly);
    script.write("#!/bin/sh\necho 'ffmpeg version stand-in'\nexit 0\n");
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return folder;
}

struct PathOverride {
    QByteArray saved = qgetenv("PATH");
    explicit PathOverride(const QString& path) {
        qputenv("PATH", path.toLocal8Bit());
        fflibrary::Unload();
    }
    ~PathOverride() {
        qputenv("PATH", saved);
        fflibrary::Unload();
    }
};

void drop(QWidget* target, const QStringList& paths) {
    QMimeData data;
    QList<QUrl> urls;
    for (const QString& p : paths)
        urls << QUrl::fromLocalFile(p);
    data.setUrls(urls);
    QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QDropEvent event(QPointF(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

} // namespace

class ShellTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { use_test_folders(); }

    void withoutFfmpegTheProgramEndsBeforeItsWindowShows() {
        PathOverride path(fixtures::temp_folder("empty-path"));
        Windows w;
        QVERIFY(!w.created);
        QCOMPARE(w.dialogs.messages.size(), 1);
        QCOMPARE(w.dialogs.messages[0].text, QString("load DLL error!"));
        QCOMPARE(w.dialogs.messages[0].caption, QString());
        QCOMPARE(w.dialogs.messages[0].icon, MessageIcon::Error);
        QVERIFY(!w.main->isVisible());
    }

    void theSystemFfmpegComesFirst() {
        const QString folder = fake_ffmpeg_folder("system-ff");
        PathOverride path(folder + ":" + QString::fromLocal8Bit(qgetenv("PATH")));
        Windows w;
        QVERIFY(w.created);
        QCOMPARE(w.main->library_folder, folder + "/");
        QCOMPARE(fflibrary::ffmpegProgram(), folder + "/ffmpeg");
    }

    void theProgramFolderServesWhenThereIsNoSystemFfmpeg() {
        const QString redist = QCoreApplication::applicationDirPath() + "/redist/ff";
        QDir().mkpath(redist);
        QFile::remove(redist + "/ffmpeg");
        QVERIFY(QFile::link(QStandardPaths::findExecutable("ffmpeg"), redist + "/ffmpeg"));
        {
            PathOverride path(fixtures::temp_folder("empty-path"));
            Windows w;
            QVERIFY(w.created);
            QVERIFY(w.dialogs.messages.isEmpty());
        }
        QDir(QCoreApplication::applicationDirPath() + "/redist").removeRecursively();
    }

    void theWindowStartsInItsInitialState() {
        Windows w;
        QVERIFY(w.created);
        Tmain& m = *w.main;
        QCOMPARE(m.windowTitle(), QString("Tolvane V3.9.5"));
        QCOMPARE(m.centralWidget()->size(), QSize(765, 617));
        QCOMPARE(m.BitBtn2->geometry(), QRect(14, 6, 159, 35));
        QCOMPARE(m.BitBtn1->text(), QString("  Reverse"));
        QCOMPARE(m.Image_start->geometry(), QRect(14, 47, 356, 188));
        QCOMPARE(m.image_end->geometry(), QRect(393, 47, 356, 188));
        QCOMPARE(m.Image_start->Canvas().toImage().pixel(100, 100), qRgb(0, 0, 0));
        QCOMPARE(m.split_group->title(), QString("Cut    "));
        QCOMPARE(m.split_begin->Value(), 0);
        QCOMPARE(m.split_end->Value(), 100);
        QCOMPARE(m.split_end->MaxValue(), 100);
        QCOMPARE(m.Label_begintime->text(), QString("Start 00:00:00.000"));
        QCOMPARE(m.label_totaltime->text(), QString("<< 00:00:00.000"));
        QCOMPARE(m.label_totalframe->text(), QString("Frame 0 >>"));
        QCOMPARE(m.Label_endtime->text(), QString("End 00:00:00.000"));
        QCOMPARE(m.label_fromvideo->text(), QString(29, ' '));
        QVERIFY(m.radio_originalaudio->isChecked());
        QVERIFY(!m.edit_otheraudio->isEnabled() && !m.bt_otheraudio->isEnabled());
        QVERIFY(!m.ck_changevolume->isChecked() && !m.spin_volume->isEnabled());
        QCOMPARE(m.spin_volume->Value(), 100);
        QCOMPARE(m.spin_motion->Text(), QString("100"));
        QCOMPARE(m.spin_tempo->Text(), QString("100"));
        QVERIFY(m.radio_original2->isChecked());
        QCOMPARE(m.EdCustomWidth2->Value(), 2);
        QVERIFY(!m.EdCustomWidth2->isEnabled());
        QVERIFY(m.cb_proportion2->isChecked() && !m.cb_proportion2->isEnabled());
        QVERIFY(m.cb_pad->isChecked() && !m.cb_pad->isEnabled());
        QVERIFY(!m.bt_setcrop->isEnabled());
        QVERIFY(m.video_duration == 0 && m.total_frames == 0 && m.frame_bitmap.isNull());

        QStringList menus;
        for (QAction* a : m.menuBar()->actions()) {
            menus << a->text();
            for (QAction* item : a->menu()->actions())
                menus << (item->isSeparator() ? "-" : item->text());
        }
        QCOMPARE(menus, (QStringList{" File ", "Load Video File", "Reverse", "-", "Exit", " Help ",
                                     "Help Contents ", "-", "About"}));
        QCOMPARE(m.HelpContents1->shortcut(), QKeySequence(Qt::Key_F1));
    }

    void theAboutDialogCarriesTheCurrentYear() {
        Windows w;
        w.about->show();
        QVERIFY(w.about->NoticeLine->text().endsWith(QString::number(QDate::currentDate().year())));
        QCOMPARE(w.about->size(), QSize(395, 132));
        for (QLabel* line : w.about->findChildren<QLabel*>())
            QVERIFY2(line->sizeHint().width() <= line->width(), qPrintable(line->text()));
        QTest::keyClick(w.about.get(), Qt::Key_Escape);
        QVERIFY(!w.about->isVisible());
    }

    void aDropLoadsEveryFileAndKeepsTheLast() {
        Windows w;
        const QString folder = fixtures::temp_folder("drops");
        QStringList paths;
        for (const char* name : {"one.avi", "two.avi", "three.avi"})
            paths << fixtures::make_clip(folder + "/" + name, {.seconds = 1, .channels = 0});
        w.main->show();
        drop(w.main.get(), paths);
        QTRY_COMPARE(w.main->label_fromvideo->text(), paths[2]);
        QVERIFY(w.dialogs.messages.isEmpty());
    }

    void aLongDroppedPathIsTakenWhole() {
        Windows w;
        const QString folder =
            fixtures::temp_folder("a folder whose name is long enough to pass eighty characters "
                                  "on its own");
        const QString path = fixtures::make_clip(folder + "/clip.avi", {.seconds = 1});
        QVERIFY(path.size() > 80);
        w.main->show();
        drop(w.main.get(), {path});
        QTRY_COMPARE(w.main->label_fromvideo->text(), path);
        QVERIFY(w.dialogs.messages.isEmpty());
    }

    void aDropOnADialogDoesNothing() {
        Windows w;
        const QString path =
            fixtures::make_clip(fixtures::temp_folder("drops") + "/dialog.avi", {.seconds = 1});
        w.batchaudioc->show();
        drop(w.batchaudioc.get(), {path});
        QTest::qWait(50);
        QCOMPARE(w.main->label_fromvideo->text(), QString(29, ' '));
        w.batchaudioc->hide();
    }
};

QTEST_MAIN(ShellTest)
#include "test_shell.moc"
