#include "platform/spinedit.h"

#include <QFocusEvent>
#include <QHBoxLayout>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <algorithm>

#include "platform/spinbutton.h"

namespace {
constexpr int arrow_width = 16;
}

bool digit_or_backspace(const QString& text) {
    if (text.size() != 1)
        return false;
    const QChar c = text.front();
    return (c >= u'0' && c <= u'9') || c == u'\b';
}

bool number_field_discards(const QEvent& event) {
    if (event.type() == QEvent::InputMethod) {
        const QString commit = static_cast<const QInputMethodEvent&>(event).commitString();
        return std::any_of(commit.begin(), commit.end(),
                           [](QChar c) { return c < u'0' || c > u'9'; });
    }
    if (event.type() != QEvent::KeyPress)
        return false;
    const auto& key = static_cast<const QKeyEvent&>(event);
    if (key.text().isEmpty())
        return false;
    switch (key.key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Delete:
        return false;
    default:
        break;
    }
    if (key.modifiers() & Qt::ControlModifier)
        return true;
    return !digit_or_backspace(key.text());
}

bool field_left(const QEvent& event) {
    if (event.type() != QEvent::FocusOut)
        return false;
    const Qt::FocusReason reason = static_cast<const QFocusEvent&>(event).reason();
    return reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason;
}

TSpinEdit::TSpinEdit(int minValue, int maxValue, int maxLength, QWidget* parent)
    : QWidget(parent), min_(minValue), max_(maxValue), maxLength_(maxLength),
      edit_(new QLineEdit(this)), buttons_(new TSpinButton(this)) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(edit_);
    layout->addWidget(buttons_);
    buttons_->setFixedWidth(arrow_width);
    setFocusProxy(edit_);
    // Only typing is limited; text written by code or pasted is taken whole.
    edit_->setAcceptDrops(false);
    edit_->installEventFilter(this);
    connect(edit_, &QLineEdit::textChanged, this, &TSpinEdit::OnChange);
    connect(buttons_, &TSpinButton::OnUpClick, this, [this] { step(1); });
    connect(buttons_, &TSpinButton::OnDownClick, this, [this] { step(-1); });
}

int TSpinEdit::Value() const {
    bool ok = false;
    const int v = edit_->text().toInt(&ok);
    return ok ? v : min_;
}

void TSpinEdit::SetValue(int v) {
    edit_->setText(QString::number(std::clamp(v, min_, max_)));
}

QString TSpinEdit::Text() const {
    return edit_->text();
}

void TSpinEdit::SetText(const QString& text) {
    edit_->setText(text);
}

void TSpinEdit::step(int delta) {
    if (!edit_->hasFocus())
        edit_->setFocus(Qt::OtherFocusReason);
    const qint64 v = qint64(Value()) + delta;
    SetValue(int(std::clamp<qint64>(v, min_, max_)));
}

bool TSpinEdit::eventFilter(QObject* watched, QEvent* event) {
    if (watched != edit_)
        return QWidget::eventFilter(watched, event);
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down) {
            step(key->key() == Qt::Key_Up ? 1 : -1);
            return true;
        }
        if (number_field_discards(*event))
            return true;
        const bool typesDigit = key->text().size() == 1 && key->text().front().isDigit();
        return typesDigit && edit_->text().size() - edit_->selectedText().size() >= maxLength_;
    }
    if (event->type() == QEvent::InputMethod) {
        const auto* im = static_cast<QInputMethodEvent*>(event);
        if (number_field_discards(*event))
            return true;
        return edit_->text().size() - edit_->selectedText().size() + im->commitString().size() >
               maxLength_;
    }
    if (field_left(*event)) {
        emit OnExit();
        const int v = Value();
        if (v < min_ || v > max_)
            SetValue(v);
    }
    return false;
}

#include "moc_spinedit.cpp"
