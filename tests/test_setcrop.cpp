// The crop area dialog and its image view: drawing with the mouse, typing the numbers,
// leaving the fields, and the view's selection rules.

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>
#include <cmath>
#include <memory>

#include "fixtures.h"
#include "platform/dialogs.h"
#include "platform/imageenview.h"
#include "settings/p_setcrop.h"

namespace {

QString frame_file(int width, int height) {
    const QString path =
        fixtures::temp_folder("setcrop") + QString("/frame%1x%2.bmp").arg(width).arg(height);
    if (!QFileInfo::exists(path)) {
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(QColor(90, 140, 200));
        if (!image.save(path, "BMP"))
            qFatal("cannot write %s", qPrintable(path));
    }
    return path;
}

QRect edges(const TImageEnView* view) {
    return QRect(QPoint(view->SelectionLeft(), view->SelectionTop()),
                 QPoint(view->SelectionRight(), view->SelectionBottom()));
}

QStringList field_texts(const Tsetcrop& d) {
    return {d.ed_hp->text(), d.ed_vp->text(), d.ed_w->text(), d.ed_h->text()};
}

QList<QWidget*> fields_and_labels(const Tsetcrop& d) {
    return {d.Label4, d.ed_hp, d.Label5, d.ed_vp, d.Label2, d.ed_w, d.Label3, d.ed_h};
}

bool all_enabled(const Tsetcrop& d, bool enabled) {
    const QList<QWidget*> all = fields_and_labels(d);
    return std::all_of(all.begin(), all.end(),
                       [enabled](QWidget* w) { return w->isEnabled() == enabled; });
}

QLineEdit* field_named(const Tsetcrop& d, const QString& name) {
    return name == "hp" ? d.ed_hp : name == "vp" ? d.ed_vp : name == "w" ? d.ed_w : d.ed_h;
}

// Clears a field the way a user does: to its end, select to its start, Backspace.
void clear_by_keys(QLineEdit* field) {
    QTest::keyClick(field, Qt::Key_End);
    QTest::keyClick(field, Qt::Key_Home, Qt::ShiftModifier);
    QTest::keyClick(field, Qt::Key_Backspace);
}

} // namespace

class TestSetcrop : public QObject {
    Q_OBJECT

    ScriptedDialogService dialogs;
    std::unique_ptr<Tsetcrop> dialog;

    // The dialog as the program opens it: a 640 x 360 frame, then the enabling handler.
    Tsetcrop& open_dialog() {
        dialog = std::make_unique<Tsetcrop>();
        if (!dialog->ImageEnView1->LoadImageFile(frame_file(640, 360)))
            qFatal("frame not loaded");
        dialog->ImageEnView1SelectionChange();
        dialog->show();
        dialog->activateWindow();
        return *dialog;
    }

    // Frame columns 10..109 and rows 20..79, shown in the fields as a drag would show them.
    Tsetcrop& open_with_selection() {
        Tsetcrop& d = open_dialog();
        d.ImageEnView1->SelectionBase = TSelectionBase::iesbBitmap;
        d.ImageEnView1->SelectRect(10, 20, 110, 80);
        d.ImageEnView1SelectionChanging();
        d.ImageEnView1SelectionChange();
        return d;
    }

  private slots:
    void init() {
        dialogs = ScriptedDialogService();
        DialogService::install(&dialogs);
    }
    void cleanup() {
        dialog.reset();
        DialogService::install(nullptr);
    }

    void dialog_layout();
    void drag_data();
    void drag();
    void click_without_drag_clears();
    void typing_example();
    void leaving_data();
    void leaving();
    void typed_characters_filtered();
    void bad_number_reported_data();
    void bad_number_reported();
    void ok_closes();
    void select_rect_data();
    void select_rect();
    void load_keeps_or_clamps_data();
    void load_keeps_or_clamps();
};

void TestSetcrop::dialog_layout() {
    Tsetcrop& d = open_dialog();
    QVERIFY(QTest::qWaitForWindowExposed(&d));
    QCOMPARE(d.size(), QSize(625, 505));
    QCOMPARE(d.minimumSize(), d.maximumSize());
    QCOMPARE(d.ImageEnView1->size(), QSize(608, 361));
    QCOMPARE(d.windowTitle(), QString());
    QCOMPARE(d.Label1->text(), QString("Use Your Mouse to Select the Cropping Area"));
    QVERIFY(d.Label1->font().bold());
    QCOMPARE(d.group_number->title(), QString("Cropping Area "));
    QCOMPARE(d.Button1->text(), QString("OK"));
    const QStringList captions{"Horizontal position", "Vertical position", "Width", "Height"};
    const QList<QLabel*> labels{d.Label4, d.Label5, d.Label2, d.Label3};
    const QList<QLineEdit*> fields{d.ed_hp, d.ed_vp, d.ed_w, d.ed_h};
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(labels[i]->text(), captions[i]);
        const QPoint at = fields[i]->mapTo(&d, QPoint());
        QVERIFY(at.y() > d.ImageEnView1->geometry().bottom());
        if (i > 0)
            QVERIFY(at.x() > fields[i - 1]->mapTo(&d, QPoint()).x());
        QVERIFY(fields[i]->text().isEmpty());
    }
    QVERIFY(all_enabled(d, false));
    QVERIFY(d.Button1->isEnabled());
}

void TestSetcrop::drag_data() {
    QTest::addColumn<QPoint>("from");
    QTest::addColumn<QPoint>("to");
    QTest::newRow("down and right") << QPoint(100, 50) << QPoint(299, 149);
    QTest::newRow("up and left") << QPoint(299, 149) << QPoint(100, 50);
}

void TestSetcrop::drag() {
    QFETCH(QPoint, from);
    QFETCH(QPoint, to);
    Tsetcrop& d = open_dialog();
    QVERIFY(QTest::qWaitForWindowExposed(&d));
    TImageEnView* view = d.ImageEnView1;

    // 640 x 360 fitted into 608 x 361: scale 0.95, 608 x 342, centred 9.5 pixels down.
    const QRectF fitted(0, 9.5, 608, 342);
    QCOMPARE(view->PictureRect(), fitted.toAlignedRect());
    const auto screen_point = [&](QPoint pixel) {
        return QPoint(int(std::floor(fitted.left() + (pixel.x() + 0.5) * 0.95)),
                      int(std::floor(fitted.top() + (pixel.y() + 0.5) * 0.95)));
    };
    const QPoint a = screen_point(from), b = screen_point(to);
    QCOMPARE(view->WidgetPointOf(from), a);
    QCOMPARE(view->FramePixelAt(b), to);

    QSignalSpy changing(view, &TImageEnView::OnSelectionChanging);
    QSignalSpy changed(view, &TImageEnView::OnSelectionChange);
    QTest::mousePress(view, Qt::LeftButton, {}, a);
    QTest::mouseMove(view, (a + b) / 2);
    QTest::mouseMove(view, b);
    QCOMPARE(changing.count(), 3);
    QCOMPARE(changed.count(), 0);
    QCOMPARE(field_texts(d), (QStringList{"100", "50", "199", "99"}));
    QVERIFY(all_enabled(d, false));

    QTest::mouseRelease(view, Qt::LeftButton, {}, b);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(edges(view), QRect(QPoint(100, 50), QPoint(299, 149)));
    QCOMPARE(field_texts(d), (QStringList{"100", "50", "199", "99"}));
    QVERIFY(all_enabled(d, true));

    // A second drag while the fields are enabled runs their handlers on every write; they
    // select the rectangle that is already there.
    QTest::mousePress(view, Qt::LeftButton, {}, b);
    QTest::mouseMove(view, a);
    QCOMPARE(field_texts(d), (QStringList{"100", "50", "199", "99"}));
    QTest::mouseRelease(view, Qt::LeftButton, {}, a);
    QCOMPARE(edges(view), QRect(QPoint(100, 50), QPoint(299, 149)));
    QVERIFY(dialogs.messages.isEmpty());
}

void TestSetcrop::click_without_drag_clears() {
    Tsetcrop& d = open_with_selection();
    QVERIFY(QTest::qWaitForWindowExposed(&d));
    QVERIFY(all_enabled(d, true));
    QTest::mouseClick(d.ImageEnView1, Qt::LeftButton, {}, {300, 200});
    QVERIFY(!d.ImageEnView1->HasSelection());
    QCOMPARE(edges(d.ImageEnView1), QRect(QPoint(0, 0), QPoint(0, 0)));
    QVERIFY(all_enabled(d, false));
}

void TestSetcrop::typing_example() {
    Tsetcrop& d = open_with_selection();
    QVERIFY(QTest::qWaitForWindowActive(&d));
    TImageEnView* view = d.ImageEnView1;
    QCOMPARE(field_texts(d), (QStringList{"10", "20", "99", "59"}));

    QTest::mouseClick(d.ed_hp, Qt::LeftButton);
    QVERIFY(d.ed_hp->hasFocus());
    clear_by_keys(d.ed_hp);
    QTest::keyClicks(d.ed_hp, "20");
    QCOMPARE(view->SelectionLeft(), 20);
    QCOMPARE(view->SelectionRight(), 109);
    QCOMPARE(d.ed_w->text(), QString("99"));

    QTest::mouseClick(d.ed_w, Qt::LeftButton);
    QVERIFY(d.ed_w->hasFocus());
    clear_by_keys(d.ed_w);
    QTest::keyClicks(d.ed_w, "50");
    QCOMPARE(edges(view), QRect(QPoint(20, 20), QPoint(70, 79)));
    QCOMPARE(field_texts(d), (QStringList{"20", "20", "50", "59"}));
    QVERIFY(dialogs.messages.isEmpty());
}

void TestSetcrop::leaving_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("left");
    QTest::addColumn<QRect>("selection");
    const QRect before(QPoint(10, 20), QPoint(109, 79));
    QTest::newRow("position empty") << "hp"
                                    << ""
                                    << "0" << QRect(QPoint(0, 20), QPoint(109, 79));
    QTest::newRow("position zeros") << "vp"
                                    << "000"
                                    << "0" << QRect(QPoint(10, 0), QPoint(109, 79));
    QTest::newRow("position leading zeros") << "hp"
                                            << "007"
                                            << "007" << QRect(QPoint(7, 20), QPoint(109, 79));
    QTest::newRow("width zero") << "w"
                                << "0"
                                << "1" << QRect(QPoint(10, 20), QPoint(11, 79));
    QTest::newRow("height empty") << "h"
                                  << ""
                                  << "1" << QRect(QPoint(10, 20), QPoint(109, 21));
    QTest::newRow("width leading zero") << "w"
                                        << "012"
                                        << "012" << QRect(QPoint(10, 20), QPoint(22, 79));
    QTest::newRow("height unchanged") << "h"
                                      << "59"
                                      << "59" << before;
}

void TestSetcrop::leaving() {
    QFETCH(QString, field);
    QFETCH(QString, typed);
    Tsetcrop& d = open_with_selection();
    QVERIFY(QTest::qWaitForWindowActive(&d));
    QLineEdit* edit = field_named(d, field);
    edit->setFocus();
    QVERIFY(edit->hasFocus());

    clear_by_keys(edit);
    QVERIFY(edit->text().isEmpty());
    QCOMPARE(edges(d.ImageEnView1), QRect(QPoint(10, 20), QPoint(109, 79)));

    QTest::keyClicks(edit, typed);
    QTest::keyClick(edit, Qt::Key_Tab);
    QVERIFY(!edit->hasFocus());
    QTEST(edit->text(), "left");
    QTEST(edges(d.ImageEnView1), "selection");
    QVERIFY(dialogs.messages.isEmpty());
}

void TestSetcrop::typed_characters_filtered() {
    Tsetcrop& d = open_with_selection();
    QVERIFY(QTest::qWaitForWindowActive(&d));
    d.ed_vp->setFocus();
    QTest::keyClick(d.ed_vp, Qt::Key_End);
    QTest::keyClicks(d.ed_vp, "a-+. ");
    QTest::keyClick(d.ed_vp, Qt::Key_Return);
    QTest::keyClick(d.ed_vp, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(d.ed_vp->text(), QString("20"));
    QCOMPARE(edges(d.ImageEnView1), QRect(QPoint(10, 20), QPoint(109, 79)));
    QTest::keyClick(d.ed_vp, Qt::Key_Backspace);
    QTest::keyClicks(d.ed_vp, "5");
    QCOMPARE(d.ed_vp->text(), QString("25"));
    QCOMPARE(d.ImageEnView1->SelectionTop(), 25);
    QVERIFY(d.isVisible());
}

void TestSetcrop::bad_number_reported_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::newRow("ten digits as width") << "w"
                                         << "9999999999";
    QTest::newRow("ten digits as position") << "hp"
                                            << "2147483648";
    QTest::newRow("pasted letters as height") << "h"
                                              << "12ab";
    QTest::newRow("pasted sign as top") << "vp"
                                        << "-";
}

void TestSetcrop::bad_number_reported() {
    QFETCH(QString, field);
    QFETCH(QString, text);
    Tsetcrop& d = open_with_selection();
    field_named(d, field)->setText(text);
    QCOMPARE(dialogs.messages.size(), 1);
    QCOMPARE(dialogs.messages[0].text, QString("'%1' is not a valid integer value").arg(text));
    QCOMPARE(dialogs.messages[0].caption, QString());
    QCOMPARE(dialogs.messages[0].icon, MessageIcon::Error);
    QCOMPARE(edges(d.ImageEnView1), QRect(QPoint(10, 20), QPoint(109, 79)));
}

void TestSetcrop::ok_closes() {
    Tsetcrop& d = open_with_selection();
    QVERIFY(QTest::qWaitForWindowExposed(&d));
    QTest::mouseClick(d.Button1, Qt::LeftButton);
    QVERIFY(!d.isVisible());
    QCOMPARE(edges(d.ImageEnView1), QRect(QPoint(10, 20), QPoint(109, 79)));
}

void TestSetcrop::select_rect_data() {
    QTest::addColumn<QRect>("given"); // x1, y1 as the top-left; x2, y2 as right and bottom
    QTest::addColumn<QRect>("selection");
    const QRect kept(QPoint(1, 2), QPoint(3, 4));
    const auto r = [](int x1, int y1, int x2, int y2) {
        return QRect(QPoint(x1, y1), QPoint(x2, y2));
    };
    QTest::newRow("inside") << r(10, 20, 110, 80) << r(10, 20, 109, 79);
    QTest::newRow("below zero") << r(-5, -7, 50, 60) << r(0, 0, 49, 59);
    QTest::newRow("beyond the frame") << r(600, 300, 9999, 9999) << r(600, 300, 639, 359);
    QTest::newRow("start beyond the frame") << r(700, 400, 800, 500) << r(639, 359, 639, 359);
    QTest::newRow("equal x ignored") << r(50, 20, 50, 80) << kept;
    QTest::newRow("equal y ignored") << r(10, 30, 110, 30) << kept;
    QTest::newRow("equal after clamping ignored") << r(-9, 20, -1, 80) << kept;
    QTest::newRow("crossed") << r(120, 20, 110, 80) << r(110, 20, 119, 79);
}

void TestSetcrop::select_rect() {
    QFETCH(QRect, given);
    TImageEnView view;
    view.resize(608, 361);
    QVERIFY(view.LoadImageFile(frame_file(640, 360)));
    view.SelectionBase = TSelectionBase::iesbBitmap;
    view.SelectRect(1, 2, 4, 5);
    QSignalSpy changing(&view, &TImageEnView::OnSelectionChanging);
    QSignalSpy changed(&view, &TImageEnView::OnSelectionChange);
    view.SelectRect(given.left(), given.top(), given.right(), given.bottom());
    QTEST(edges(&view), "selection");
    QVERIFY(view.HasSelection());
    QCOMPARE(changing.count() + changed.count(), 0);

    view.Deselect();
    QCOMPARE(edges(&view), QRect(QPoint(0, 0), QPoint(0, 0)));
    QVERIFY(!view.HasSelection());
}

void TestSetcrop::load_keeps_or_clamps_data() {
    QTest::addColumn<QRect>("selection");
    QTest::addColumn<QSize>("next");
    QTest::addColumn<QRect>("after");
    const QRect small(QPoint(10, 20), QPoint(109, 79));
    const QRect corner(QPoint(600, 300), QPoint(639, 359));
    QTest::newRow("same size keeps") << corner << QSize(640, 360) << corner;
    QTest::newRow("fits in the smaller frame") << small << QSize(320, 240) << small;
    QTest::newRow("clamped into the smaller frame")
        << corner << QSize(320, 240) << QRect(QPoint(319, 239), QPoint(319, 239));
    QTest::newRow("partly outside") << QRect(QPoint(300, 100), QPoint(400, 300)) << QSize(320, 240)
                                    << QRect(QPoint(300, 100), QPoint(319, 239));
    QTest::newRow("none stays none")
        << QRect() << QSize(320, 240) << QRect(QPoint(0, 0), QPoint(0, 0));
}

void TestSetcrop::load_keeps_or_clamps() {
    QFETCH(QRect, selection);
    QFETCH(QSize, next);
    TImageEnView view;
    view.resize(608, 361);
    QVERIFY(view.LoadImageFile(frame_file(640, 360)));
    view.SelectionBase = TSelectionBase::iesbBitmap;
    if (!selection.isNull())
        view.SelectRect(selection.left(), selection.top(), selection.right() + 1,
                        selection.bottom() + 1);
    QVERIFY(view.LoadImageFile(frame_file(next.width(), next.height())));
    QCOMPARE(view.Image().size(), next);
    QTEST(edges(&view), "after");
    QVERIFY(!view.LoadImageFile(fixtures::temp_folder("setcrop") + "/missing.bmp"));
    QCOMPARE(view.Image().size(), next);
}

QTEST_MAIN(TestSetcrop)
#include "test_setcrop.moc"
