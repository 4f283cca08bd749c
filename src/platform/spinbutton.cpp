#include "platform/spinbutton.h"

#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr int repeat_delay_ms = 400;
constexpr int repeat_interval_ms = 60;

QToolButton* make_half(Qt::ArrowType arrow, QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setArrowType(arrow);
    button->setAutoRepeat(true);
    button->setAutoRepeatDelay(repeat_delay_ms);
    button->setAutoRepeatInterval(repeat_interval_ms);
    button->setFocusPolicy(Qt::NoFocus);
    // Both halves share whatever height the pair is given, however small.
    button->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    return button;
}

} // namespace

TSpinButton::TSpinButton(QWidget* parent)
    : QWidget(parent), up_(make_half(Qt::UpArrow, this)), down_(make_half(Qt::DownArrow, this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(up_);
    layout->addWidget(down_);
    connect(up_, &QToolButton::clicked, this, &TSpinButton::OnUpClick);
    connect(down_, &QToolButton::clicked, this, &TSpinButton::OnDownClick);
}

#include "moc_spinbutton.cpp"
