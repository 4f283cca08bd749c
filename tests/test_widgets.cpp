// The platform widgets: the slider, the up/down buttons, the number field and the dialogs.

#include <QComboBox>
#include <QFileDialog>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QStyleOptionSlider>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <QtTest>
#include <functional>

#include "fixtures.h"
#include "platform/dialogs.h"
#include "platform/rxslider.h"
#include "platform/spinbutton.h"
#include "platform/spinedit.h"

namespace {

// Runs `act` on the next modal dialog once it is up; `act` must close it.
void on_modal(std::function<void(QWidget*)> act) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        if (QWidget* dialog = QApplication::activeModalWidget()) {
            timer->stop();
            timer->deleteLater();
            act(dialog);
        }
    });
    timer->start();
}

QRect handle_rect(QSlider* slider) {
    QStyleOptionSlider opt;
    opt.initFrom(slider);
    opt.orientation = slider->orientation();
    opt.minimum = slider->minimum();
    opt.maximum = slider->maximum();
    opt.sliderPosition = slider->sliderPosition();
    opt.sliderValue = slider->value();
    opt.singleStep = slider->singleStep();
    opt.pageStep = slider->pageStep();
    opt.subControls = QStyle::SC_All;
    return slider->style()->subControlRect(QStyle::CC_Slider, &opt, QStyle::SC_SliderHandle,
                                           slider);
}

void drag_handle_to(QSlider* slider, int x) {
    const QPoint from = handle_rect(slider).center();
    QTest::mousePress(slider, Qt::LeftButton, {}, from);
    QTest::mouseMove(slider, {x, from.y()});
    QTest::mouseRelease(slider, Qt::LeftButton, {}, {x, from.y()});
}

// A window with a number field (20..800, four characters) and a second field to move to.
struct SpinWindow {
    QWidget window;
    TSpinEdit* spin = new TSpinEdit(20, 800, 4, &window);
    QLineEdit* other = new QLineEdit(&window);
    SpinWindow() {
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(spin);
        layout->addWidget(other);
        window.show();
        window.activateWindow();
    }
};

} // namespace

Q_DECLARE_METATYPE(MessageIcon)

class TestWidgets : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { QDir::setCurrent(fixtures::temp_folder("widgets")); }

    void slider_settings_data();
    void slider_settings();
    void slider_user_data();
    void slider_user();
    void slider_drag_moves_in_whole_increments();

    void spin_button_click_data();
    void spin_button_click();

    void spin_value_and_text();
    void spin_leaving_data();
    void spin_leaving();
    void spin_typing_data();
    void spin_typing();
    void spin_input_method_commit();
    void spin_arrows_data();
    void spin_arrows();

    void name_filters_data();
    void name_filters();
    void scripted_service();
    void message_box_data();
    void message_box();
    void confirmation_data();
    void confirmation();
    void save_dialog_data();
    void save_dialog();
    void open_dialog_existence_data();
    void open_dialog_existence();
};

// Script: "v" SetValue, "M" SetMaxValue, "m" SetMinValue, each with its number, comma-separated.
void TestWidgets::slider_settings_data() {
    QTest::addColumn<QString>("script");
    QTest::addColumn<int>("min");
    QTest::addColumn<int>("max");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("changes");
    QTest::newRow("value clamped to the maximum") << "v150" << 0 << 100 << 100 << 1;
    QTest::newRow("value clamped to the minimum") << "v50,v-5" << 0 << 100 << 0 << 2;
    QTest::newRow("same value is no change") << "v0,v-3" << 0 << 100 << 0 << 0;
    QTest::newRow("maximum equal to minimum ignored") << "M0" << 0 << 100 << 0 << 0;
    QTest::newRow("maximum below minimum ignored") << "m10,M5" << 10 << 100 << 10 << 1;
    QTest::newRow("minimum not below maximum ignored") << "m100" << 0 << 100 << 0 << 0;
    QTest::newRow("narrowed range pushes the value in") << "v80,M50" << 0 << 50 << 50 << 2;
    QTest::newRow("widened range keeps the value") << "v80,M300" << 0 << 300 << 80 << 1;
    QTest::newRow("raised minimum pushes the value up") << "m30" << 30 << 100 << 30 << 1;
}

void TestWidgets::slider_settings() {
    QFETCH(QString, script);
    TRxSlider slider;
    QSignalSpy changes(&slider, &TRxSlider::OnChange);
    for (const QString& step : script.split(u',')) {
        const int n = step.mid(1).toInt();
        if (step.front() == u'v')
            slider.SetValue(n);
        else if (step.front() == u'M')
            slider.SetMaxValue(n);
        else
            slider.SetMinValue(n);
    }
    QTEST(slider.MinValue(), "min");
    QTEST(slider.MaxValue(), "max");
    QTEST(slider.Value(), "value");
    QTEST(int(changes.count()), "changes");
    auto* inner = slider.findChild<QSlider*>();
    QCOMPARE(inner->value(), slider.Value());
}

void TestWidgets::slider_user_data() {
    QTest::addColumn<QString>("action");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<int>("value");
    const QStringList actions{"right", "up", "left", "track", "drag"};
    const QList<int> values{15, 15, 5, 15, 100};
    for (int i = 0; i < int(actions.size()); ++i) {
        QTest::addRow("%s", qPrintable(actions[i])) << actions[i] << true << values[i];
        QTest::addRow("%s disabled", qPrintable(actions[i])) << actions[i] << false << 10;
    }
}

void TestWidgets::slider_user() {
    QFETCH(QString, action);
    QFETCH(bool, enabled);
    TRxSlider slider;
    slider.resize(300, 24);
    slider.SetIncrement(5);
    slider.SetValue(10);
    slider.setEnabled(enabled);
    slider.show();
    QVERIFY(QTest::qWaitForWindowExposed(&slider));
    auto* inner = slider.findChild<QSlider*>();
    QSignalSpy changes(&slider, &TRxSlider::OnChange);

    if (action == "right")
        QTest::keyClick(inner, Qt::Key_Right);
    else if (action == "up")
        QTest::keyClick(inner, Qt::Key_Up);
    else if (action == "left")
        QTest::keyClick(inner, Qt::Key_Left);
    else if (action == "track")
        QTest::mouseClick(inner, Qt::LeftButton, {}, {inner->width() - 10, inner->height() / 2});
    else
        drag_handle_to(inner, inner->width() + 50);

    QTEST(slider.Value(), "value");
    QCOMPARE(int(changes.count()), slider.Value() == 10 ? 0 : 1);
}

void TestWidgets::slider_drag_moves_in_whole_increments() {
    TRxSlider slider;
    slider.resize(400, 24);
    slider.SetIncrement(5);
    slider.show();
    QVERIFY(QTest::qWaitForWindowExposed(&slider));
    auto* inner = slider.findChild<QSlider*>();
    QSignalSpy changes(&slider, &TRxSlider::OnChange);
    int previous = slider.Value();
    for (int x : {53, 97, 141, 188, 230, 271, 333}) {
        drag_handle_to(inner, x);
        QVERIFY2(slider.Value() % 5 == 0, qPrintable(QString::number(slider.Value())));
        QVERIFY(slider.Value() > previous);
        QCOMPARE(inner->value(), slider.Value());
        previous = slider.Value();
    }
    QVERIFY(changes.count() >= 7);
}

void TestWidgets::spin_button_click_data() {
    QTest::addColumn<bool>("up");
    QTest::addColumn<bool>("hold");
    QTest::newRow("up, click") << true << false;
    QTest::newRow("down, click") << false << false;
    QTest::newRow("up, held") << true << true;
    QTest::newRow("down, held") << false << true;
}

void TestWidgets::spin_button_click() {
    QFETCH(bool, up);
    QFETCH(bool, hold);
    TSpinButton buttons;
    buttons.resize(27, 33);
    buttons.show();
    QVERIFY(QTest::qWaitForWindowExposed(&buttons));
    QSignalSpy ups(&buttons, &TSpinButton::OnUpClick);
    QSignalSpy downs(&buttons, &TSpinButton::OnDownClick);
    QSignalSpy& pressed = up ? ups : downs;
    QSignalSpy& other = up ? downs : ups;
    QToolButton* half = up ? buttons.UpButton() : buttons.DownButton();
    QVERIFY(half->geometry().bottom() < 33 && half->height() > 0);
    if (up)
        QVERIFY(buttons.UpButton()->y() < buttons.DownButton()->y());

    if (hold) {
        QTest::mousePress(half, Qt::LeftButton);
        QTRY_VERIFY(pressed.count() > 1);
        QTest::mouseRelease(half, Qt::LeftButton);
    } else {
        QTest::mouseClick(half, Qt::LeftButton);
        QCOMPARE(pressed.count(), 1);
    }
    QCOMPARE(other.count(), 0);
}

void TestWidgets::spin_value_and_text() {
    TSpinEdit spin(20, 800, 4);
    QSignalSpy changes(&spin, &TSpinEdit::OnChange);
    spin.SetText("abc");
    QCOMPARE(spin.Value(), 20);
    spin.SetText("999");
    QCOMPARE(spin.Value(), 999);
    spin.SetText("123456");
    QCOMPARE(spin.Text(), QString("123456"));
    spin.SetValue(5);
    QCOMPARE(spin.Text(), QString("20"));
    spin.SetValue(1000);
    QCOMPARE(spin.Text(), QString("800"));
    QCOMPARE(changes.count(), 5);
    spin.SetValue(900);
    spin.SetText("800");
    QCOMPARE(changes.count(), 5);
}

void TestWidgets::spin_leaving_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("left");
    QTest::newRow("empty") << ""
                           << "20";
    QTest::newRow("zero") << "0"
                          << "20";
    QTest::newRow("leading zero") << "090"
                                  << "90";
    QTest::newRow("above the range") << "999"
                                     << "800";
    QTest::newRow("four nines") << "9999"
                                << "800";
    QTest::newRow("in range") << "100"
                              << "100";
}

void TestWidgets::spin_leaving() {
    QFETCH(QString, text);
    SpinWindow w;
    QVERIFY(QTest::qWaitForWindowActive(&w.window));
    // The program's exit handlers write the value back as plain decimal text.
    QString seenOnExit = "(not run)";
    QObject::connect(w.spin, &TSpinEdit::OnExit, [&] {
        seenOnExit = w.spin->Text();
        w.spin->SetText(QString::number(w.spin->Value()));
    });
    w.spin->setFocus();
    QVERIFY(w.spin->Edit()->hasFocus());
    w.spin->SetText(text);
    QCOMPARE(seenOnExit, QString("(not run)"));
    QTest::keyClick(w.spin->Edit(), Qt::Key_Tab);
    QVERIFY(w.other->hasFocus());
    QCOMPARE(seenOnExit, text);
    QTEST(w.spin->Text(), "left");
}

void TestWidgets::spin_typing_data() {
    QTest::addColumn<QKeySequence>("keys");
    QTest::addColumn<QString>("text");
    QTest::newRow("letters") << QKeySequence("A, B, Z") << "100";
    QTest::newRow("minus and plus") << QKeySequence(Qt::Key_Minus, Qt::Key_Plus) << "100";
    QTest::newRow("point and space") << QKeySequence("., Space") << "100";
    QTest::newRow("enter") << QKeySequence("Return") << "100";
    QTest::newRow("ctrl combination") << QKeySequence("5, Ctrl+Z") << "1005";
    QTest::newRow("ctrl backspace") << QKeySequence("Ctrl+Backspace") << "100";
    QTest::newRow("digits up to the length") << QKeySequence("5, 6") << "1005";
    QTest::newRow("backspace") << QKeySequence("Backspace") << "10";
    QTest::newRow("home and digit") << QKeySequence("Home, 7") << "7100";
    QTest::newRow("left, delete") << QKeySequence("Left, Left, Del") << "10";
}

void TestWidgets::spin_typing() {
    QFETCH(QKeySequence, keys);
    SpinWindow w;
    QVERIFY(QTest::qWaitForWindowActive(&w.window));
    w.spin->SetValue(100);
    w.spin->setFocus();
    QSignalSpy changes(w.spin, &TSpinEdit::OnChange);
    QTest::keySequence(w.spin->Edit(), keys);
    QTEST(w.spin->Text(), "text");
    QCOMPARE(changes.isEmpty(), w.spin->Text() == "100");
}

void TestWidgets::spin_input_method_commit() {
    SpinWindow w;
    QVERIFY(QTest::qWaitForWindowActive(&w.window));
    w.spin->SetValue(100);
    w.spin->setFocus();
    for (const QString& commit : {QString("x"), QString("1a"), QString("5")}) {
        QInputMethodEvent event;
        event.setCommitString(commit);
        QApplication::sendEvent(w.spin->Edit(), &event);
    }
    QCOMPARE(w.spin->Text(), QString("1005"));
}

void TestWidgets::spin_arrows_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("up");
    QTest::addColumn<bool>("keyboard");
    QTest::addColumn<QString>("result");
    QTest::newRow("up") << "100" << true << false << "101";
    QTest::newRow("down") << "100" << false << false << "99";
    QTest::newRow("up at the maximum") << "800" << true << false << "800";
    QTest::newRow("down at the minimum") << "20" << false << false << "20";
    QTest::newRow("up from a non-number") << "abc" << true << false << "21";
    QTest::newRow("down from empty") << "" << false << false << "20";
    QTest::newRow("up below the range") << "5" << true << false << "20";
    QTest::newRow("down above the range") << "999" << false << false << "800";
    QTest::newRow("up key") << "100" << true << true << "101";
    QTest::newRow("down key at the minimum") << "20" << false << true << "20";
}

void TestWidgets::spin_arrows() {
    QFETCH(QString, text);
    QFETCH(bool, up);
    QFETCH(bool, keyboard);
    SpinWindow w;
    QVERIFY(QTest::qWaitForWindowActive(&w.window));
    w.spin->SetText(text);
    if (keyboard) {
        w.spin->setFocus();
        QTest::keyClick(w.spin->Edit(), up ? Qt::Key_Up : Qt::Key_Down);
    } else {
        TSpinButton* b = w.spin->Buttons();
        QTest::mouseClick(up ? b->UpButton() : b->DownButton(), Qt::LeftButton);
    }
    QTEST(w.spin->Text(), "result");
}

void TestWidgets::name_filters_data() {
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QStringList>("names");
    QTest::newRow("one entry, two patterns")
        << "Video Files|*.AVI;*.MPG;" << QStringList{"Video Files (*.[aA][vV][iI] *.[mM][pP][gG])"};
    QTest::newRow("save entries") << "*.MPG|*.mpg|*.AVI|*.avi|"
                                  << QStringList{"*.MPG (*.[mM][pP][gG])",
                                                 "*.AVI (*.[aA][vV][iI])"};
    QTest::newRow("digits stay") << "*.MP4|*.mp4|*.3GP|*.3gp|"
                                 << QStringList{"*.MP4 (*.[mM][pP]4)", "*.3GP (*.3[gG][pP])"};
    QTest::newRow("nothing") << "" << QStringList{};
}

void TestWidgets::name_filters() {
    QFETCH(QString, filter);
    QTEST(qt_name_filters(filter), "names");
}

void TestWidgets::scripted_service() {
    ScriptedDialogService scripted;
    DialogService::install(&scripted);
    scripted.openAnswers = {"/a.avi"};
    scripted.confirmAnswers = {true};
    auto& service = DialogService::instance();
    service.message(nullptr, "Error", "first", MessageIcon::Error);
    service.message(nullptr, "", "second", MessageIcon::Warning);
    QCOMPARE(service.openFile(nullptr, {"Video Files|*.AVI;", 0, ""}), QString("/a.avi"));
    QCOMPARE(service.openFile(nullptr, {"Video Files|*.AVI;", 0, ""}), QString());
    QCOMPARE(service.saveFile(nullptr, {"*.MPG|*.mpg|", 0, "mpg"}), QString());
    QVERIFY(service.confirm(nullptr, "", "replace?"));
    QVERIFY(!service.confirm(nullptr, "", "again?"));
    DialogService::install(nullptr);

    QCOMPARE(scripted.texts(), (QStringList{"first", "second"}));
    QCOMPARE(scripted.messages[0].caption, QString("Error"));
    QCOMPARE(scripted.messages[1].icon, MessageIcon::Warning);
    QCOMPARE(scripted.openRequests.size(), 2);
    QCOMPARE(scripted.saveRequests.value(0).defaultExt, QString("mpg"));
    QCOMPARE(scripted.questions, (QStringList{"replace?", "again?"}));
    QVERIFY(dynamic_cast<RealDialogService*>(&DialogService::instance()) != nullptr);
}

void TestWidgets::message_box_data() {
    QTest::addColumn<MessageIcon>("icon");
    QTest::addColumn<QMessageBox::Icon>("shown");
    QTest::newRow("error") << MessageIcon::Error << QMessageBox::Critical;
    QTest::newRow("warning") << MessageIcon::Warning << QMessageBox::Warning;
    QTest::newRow("information") << MessageIcon::Information << QMessageBox::Information;
}

void TestWidgets::message_box() {
    QFETCH(MessageIcon, icon);
    QWidget owner;
    owner.show();
    QMessageBox::Icon shown = QMessageBox::NoIcon;
    QString caption, text;
    QMessageBox::StandardButtons buttons;
    QWidget* parent = nullptr;
    on_modal([&](QWidget* dialog) {
        auto* box = qobject_cast<QMessageBox*>(dialog);
        shown = box->icon();
        caption = box->windowTitle();
        text = box->text();
        buttons = box->standardButtons();
        parent = box->parentWidget();
        QTest::keyClick(box, Qt::Key_Return);
    });
    RealDialogService().message(&owner, "Tolvane", "Something\rwent <b>wrong</b>", icon);
    QTEST(shown, "shown");
    QCOMPARE(caption, QString("Tolvane"));
    QCOMPARE(text, QString("Something\nwent <b>wrong</b>"));
    QCOMPARE(buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(parent, &owner);
}

void TestWidgets::confirmation_data() {
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("result");
    QTest::newRow("enter takes the default, No") << "enter" << false;
    QTest::newRow("escape") << "escape" << false;
    QTest::newRow("yes") << "yes" << true;
    QTest::newRow("no") << "no" << false;
}

void TestWidgets::confirmation() {
    QFETCH(QString, answer);
    QMessageBox::StandardButtons buttons;
    on_modal([&](QWidget* dialog) {
        auto* box = qobject_cast<QMessageBox*>(dialog);
        buttons = box->standardButtons();
        if (answer == "enter")
            QTest::keyClick(box, Qt::Key_Return);
        else if (answer == "escape")
            QTest::keyClick(box, Qt::Key_Escape);
        else
            box->button(answer == "yes" ? QMessageBox::Yes : QMessageBox::No)->click();
    });
    QTEST(RealDialogService().confirm(nullptr, "", "out.avi already exists."), "result");
    QCOMPARE(buttons, QMessageBox::Yes | QMessageBox::No);
}

void TestWidgets::save_dialog_data() {
    QTest::addColumn<int>("filterIndex");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("moves"); // '+' one entry down, '-' one up
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<QString>("chosen");
    QTest::newRow("preselected entry") << 0 << "clip"
                                       << ""
                                       << "Mp4"
                                       << "clip.Mp4";
    QTest::newRow("next entry") << 0 << "clip"
                                << "+"
                                << "avi"
                                << "clip.avi";
    QTest::newRow("last entry") << 0 << "clip"
                                << "++"
                                << "mkv"
                                << "clip.mkv";
    QTest::newRow("back to the first") << 0 << "clip"
                                       << "+-"
                                       << "Mp4"
                                       << "clip.Mp4";
    QTest::newRow("third preselected, one up") << 2 << "clip"
                                               << "-"
                                               << "avi"
                                               << "clip.avi";
    QTest::newRow("typed extension kept") << 0 << "clip.avi"
                                          << ""
                                          << "Mp4"
                                          << "clip.avi";
    QTest::newRow("typed extension follows the entry") << 0 << "clip.mp4"
                                                       << "+"
                                                       << "avi"
                                                       << "clip.avi";
}

void TestWidgets::save_dialog() {
    QFETCH(int, filterIndex);
    QFETCH(QString, typed);
    QFETCH(QString, moves);
    const FileDialogRequest request{"*.MP4|*.mp4|*.AVI|*.avi|*.MKV|*.mkv|", filterIndex, "Mp4"};
    QStringList names;
    QString selected, suffix;
    bool widgetBased = false, asksToReplace = true;
    on_modal([&](QWidget* dialog) {
        auto* files = qobject_cast<QFileDialog*>(dialog);
        names = files->nameFilters();
        selected = files->selectedNameFilter();
        widgetBased = files->testOption(QFileDialog::DontUseNativeDialog);
        asksToReplace = !files->testOption(QFileDialog::DontConfirmOverwrite);
        auto* edit = files->findChild<QLineEdit*>("fileNameEdit");
        QTest::keyClicks(edit, typed);
        auto* combo = files->findChild<QComboBox*>("fileTypeCombo");
        for (const QChar move : moves)
            QTest::keyClick(combo, move == u'+' ? Qt::Key_Down : Qt::Key_Up);
        suffix = files->defaultSuffix();
        QTest::keyClick(edit, Qt::Key_Return);
        if (files->isVisible())
            files->reject();
    });
    const QString chosen = RealDialogService().saveFile(nullptr, request);
    QCOMPARE(names, qt_name_filters(request.filter));
    QCOMPARE(selected, names.value(filterIndex));
    QVERIFY(widgetBased);
    QVERIFY(!asksToReplace);
    QTEST(suffix, "suffix");
    QTEST(QFileInfo(chosen).fileName(), "chosen");
}

void TestWidgets::open_dialog_existence_data() {
    QTest::addColumn<bool>("mustExist");
    QTest::addColumn<QFileDialog::FileMode>("mode");
    QTest::newRow("must exist") << true << QFileDialog::ExistingFile;
    QTest::newRow("need not exist") << false << QFileDialog::AnyFile;
}

void TestWidgets::open_dialog_existence() {
    QFETCH(bool, mustExist);
    FileDialogRequest request{"Audio Files|*.WAV;*.MP3;", 0, ""};
    request.mustExist = mustExist;
    QFileDialog::FileMode mode = QFileDialog::Directory;
    QFileDialog::AcceptMode accept = QFileDialog::AcceptSave;
    QStringList names;
    on_modal([&](QWidget* dialog) {
        auto* files = qobject_cast<QFileDialog*>(dialog);
        mode = files->fileMode();
        accept = files->acceptMode();
        names = files->nameFilters();
        files->reject();
    });
    QCOMPARE(RealDialogService().openFile(nullptr, request), QString());
    QTEST(mode, "mode");
    QCOMPARE(accept, QFileDialog::AcceptOpen);
    QCOMPARE(names, QStringList{"Audio Files (*.[wW][aA][vV] *.[mM][pP]3)"});
}

QTEST_MAIN(TestWidgets)
#include "test_widgets.moc"
