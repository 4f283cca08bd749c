// Testing and emptying the work folder.
#include "fixtures.h"
#include "window_fixture.h"

#include "common/workfolder.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

void touch(const QString& path) {
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write("x");
}

} // namespace

class WorkFolderTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { use_test_folders(); }

    void emptiness() {
        const QString d = fixtures::temp_folder("emptiness");
        QVERIFY(folder_is_empty(d));
        QVERIFY(folder_is_empty(d + "/missing"));
        QDir().mkpath(d + "/sub");
        QVERIFY(!folder_is_empty(d));
        QDir(d).rmdir("sub");
        touch(d + "/.hidden");
        QVERIFY(!folder_is_empty(d));
    }

    void clearingMovesTheBarPerEntryAndClosesTheDialog() {
        Windows w;
        const QString d = fixtures::temp_folder("clearing");
        for (int i = 0; i < 150; ++i)
            touch(d + QString("/to%1.jpg").arg(i + 1));
        QDir().mkpath(d + "/sub");
        touch(d + "/sub/inner.wav");
        Tbatchaudioc& dialog = *w.batchaudioc;
        dialog.Button1->setEnabled(true);

        int closings = 0;
        QObject::connect(&dialog, &QDialog::finished, [&] { ++closings; });
        QTimer::singleShot(0, [&] { QVERIFY(clear_folder(d, dialog.Controls())); });
        dialog.exec();

        QVERIFY(!dialog.isVisible());
        QCOMPARE(QDir(d).entryList(QDir::Files).size(), 0);
        QVERIFY(QDir(d + "/sub").exists());
        QVERIFY(folder_is_empty(d + "/sub"));
        // 150 files and the subfolder: 151 steps, wrapping at 100.
        QCOMPARE(dialog.progresstotal->value(), 51);
        QCOMPARE(dialog.Label1->text(), QString("Gather Video and Audio Stream Information"));
        QVERIFY(!dialog.Button1->isEnabled());
        QCOMPARE(closings, 1);
    }

    void clearingAMissingFolderStillClosesTheDialog() {
        Windows w;
        w.batchaudioc->show();
        QVERIFY(clear_folder(fixtures::temp_folder("x") + "/missing", w.batchaudioc->Controls()));
        QVERIFY(!w.batchaudioc->isVisible());
    }
};

QTEST_MAIN(WorkFolderTest)
#include "test_workfolder.moc"
