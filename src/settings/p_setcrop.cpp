#include "settings/p_setcrop.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <algorithm>
#include <limits>

#include "platform/dialogs.h"
#include "platform/fonts.h"
#include "platform/imageenview.h"
#include "platform/spinedit.h"

namespace {

constexpr int client_width = 625;
constexpr int client_height = 505;
constexpr int margin = 8;

int to_int(qint64 v) {
    return int(
        std::clamp<qint64>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

// Empty, not a number or zero: the field takes `fallback`.
void normalise(QLineEdit* field, const QString& fallback) {
    bool ok = false;
    const int v = field->text().trimmed().toInt(&ok);
    if (!ok || v == 0)
        field->setText(fallback);
}

} // namespace

Tsetcrop::Tsetcrop(QWidget* parent)
    : QDialog(parent),
      Label1(new QLabel(QStringLiteral("Use Your Mouse to Select the Cropping Area"), this)),
      ImageEnView1(new TImageEnView(this)),
      group_number(new QGroupBox(QStringLiteral("Cropping Area "), this)),
      Label4(new QLabel(QStringLiteral("Horizontal position"), group_number)),
      ed_hp(new QLineEdit(group_number)),
      Label5(new QLabel(QStringLiteral("Vertical position"), group_number)),
      ed_vp(new QLineEdit(group_number)), Label2(new QLabel(QStringLiteral("Width"), group_number)),
      ed_w(new QLineEdit(group_number)), Label3(new QLabel(QStringLiteral("Height"), group_number)),
      ed_h(new QLineEdit(group_number)), Button1(new QPushButton(QStringLiteral("OK"), this)) {
    setWindowTitle(QString());
    setFont(program_font());
    setFixedSize(client_width, client_height);

    QFont bold = Label1->font();
    bold.setBold(true);
    Label1->setFont(bold);
    Label1->move(margin, margin);
    Label1->adjustSize();

    ImageEnView1->setGeometry(margin, 28, 608, 361);

    group_number->setGeometry(margin, 394, 608, 76);
    auto* grid = new QGridLayout(group_number);
    grid->setContentsMargins(margin, 4, margin, 6);
    grid->setVerticalSpacing(2);
    const QList<QPair<QLabel*, QLineEdit*>> pairs{
        {Label4, ed_hp}, {Label5, ed_vp}, {Label2, ed_w}, {Label3, ed_h}};
    for (int column = 0; column < int(pairs.size()); ++column) {
        auto [label, field] = pairs[column];
        grid->addWidget(label, 0, column);
        grid->addWidget(field, 1, column);
        grid->setColumnStretch(column, 1);
        label->setBuddy(field);
        label->setEnabled(false);
        field->setEnabled(false);
        field->setAcceptDrops(false);
        field->installEventFilter(this);
    }

    Button1->setGeometry(client_width - margin - 80, 474, 80, 25);

    connect(ImageEnView1, &TImageEnView::OnSelectionChanging, this,
            &Tsetcrop::ImageEnView1SelectionChanging);
    connect(ImageEnView1, &TImageEnView::OnSelectionChange, this,
            &Tsetcrop::ImageEnView1SelectionChange);
    connect(ed_hp, &QLineEdit::textChanged, this, &Tsetcrop::ed_hpChange);
    connect(ed_vp, &QLineEdit::textChanged, this, &Tsetcrop::ed_vpChange);
    connect(ed_w, &QLineEdit::textChanged, this, &Tsetcrop::ed_wChange);
    connect(ed_h, &QLineEdit::textChanged, this, &Tsetcrop::ed_hChange);
    connect(Button1, &QPushButton::clicked, this, &Tsetcrop::Button1Click);
}

void Tsetcrop::ImageEnView1SelectionChanging() {
    const TImageEnView* v = ImageEnView1;
    ed_hp->setText(QString::number(v->SelectionLeft()));
    ed_vp->setText(QString::number(v->SelectionTop()));
    ed_w->setText(QString::number(v->SelectionRight() - v->SelectionLeft()));
    ed_h->setText(QString::number(v->SelectionBottom() - v->SelectionTop()));
}

void Tsetcrop::ImageEnView1SelectionChange() {
    const bool selected =
        ImageEnView1->SelectionRight() != 0 || ImageEnView1->SelectionBottom() != 0;
    for (QWidget* w : {static_cast<QWidget*>(Label4), static_cast<QWidget*>(ed_hp),
                       static_cast<QWidget*>(Label5), static_cast<QWidget*>(ed_vp),
                       static_cast<QWidget*>(Label2), static_cast<QWidget*>(ed_w),
                       static_cast<QWidget*>(Label3), static_cast<QWidget*>(ed_h)})
        w->setEnabled(selected);
}

bool Tsetcrop::active(const QLineEdit* field) const {
    return field->isEnabled() && !field->text().trimmed().isEmpty();
}

bool Tsetcrop::number(const QLineEdit* field, int& value) {
    bool ok = false;
    value = field->text().trimmed().toInt(&ok);
    if (!ok)
        DialogService::instance().message(
            this, QString(), QStringLiteral("'%1' is not a valid integer value").arg(field->text()),
            MessageIcon::Error);
    return ok;
}

void Tsetcrop::select(qint64 x1, qint64 y1, qint64 x2, qint64 y2) {
    ImageEnView1->SelectionBase = TSelectionBase::iesbBitmap;
    ImageEnView1->SelectRect(to_int(x1), to_int(y1), to_int(x2), to_int(y2));
}

void Tsetcrop::ed_hpChange() {
    int left = 0;
    if (!active(ed_hp) || !number(ed_hp, left))
        return;
    const TImageEnView* v = ImageEnView1;
    select(left, v->SelectionTop(), qint64(v->SelectionRight()) + 1,
           qint64(v->SelectionBottom()) + 1);
}

void Tsetcrop::ed_vpChange() {
    int top = 0;
    if (!active(ed_vp) || !number(ed_vp, top))
        return;
    const TImageEnView* v = ImageEnView1;
    select(v->SelectionLeft(), top, qint64(v->SelectionRight()) + 1,
           qint64(v->SelectionBottom()) + 1);
}

void Tsetcrop::ed_wChange() {
    int left = 0, top = 0, width = 0;
    if (!active(ed_w) || !number(ed_hp, left) || !number(ed_vp, top) || !number(ed_w, width))
        return;
    const TImageEnView* v = ImageEnView1;
    select(left, top, qint64(v->SelectionLeft()) + width + 1, qint64(v->SelectionBottom()) + 1);
}

void Tsetcrop::ed_hChange() {
    int left = 0, top = 0, height = 0;
    if (!active(ed_h) || !number(ed_hp, left) || !number(ed_vp, top) || !number(ed_h, height))
        return;
    const TImageEnView* v = ImageEnView1;
    select(left, top, qint64(v->SelectionRight()) + 1, qint64(v->SelectionTop()) + height + 1);
}

void Tsetcrop::ed_hpExit() {
    normalise(ed_hp, QStringLiteral("0"));
}
void Tsetcrop::ed_vpExit() {
    normalise(ed_vp, QStringLiteral("0"));
}
void Tsetcrop::ed_wExit() {
    normalise(ed_w, QStringLiteral("1"));
}
void Tsetcrop::ed_hExit() {
    normalise(ed_h, QStringLiteral("1"));
}

bool Tsetcrop::ed_KeyPress(const QEvent& event) const {
    return number_field_discards(event);
}

void Tsetcrop::Button1Click() {
    close();
}

bool Tsetcrop::eventFilter(QObject* watched, QEvent* event) {
    if (watched != ed_hp && watched != ed_vp && watched != ed_w && watched != ed_h)
        return QDialog::eventFilter(watched, event);
    if (ed_KeyPress(*event))
        return true;
    if (field_left(*event)) {
        if (watched == ed_hp)
            ed_hpExit();
        else if (watched == ed_vp)
            ed_vpExit();
        else if (watched == ed_w)
            ed_wExit();
        else
            ed_hExit();
    }
    return false;
}

void Tsetcrop::showEvent(QShowEvent* event) {
    if (!centred_ && screen() != nullptr) {
        centred_ = true;
        move(screen()->availableGeometry().center() - rect().center());
    }
    QDialog::showEvent(event);
}

#include "moc_p_setcrop.cpp"
