#include "platform/rxslider.h"

#include <QHBoxLayout>
#include <QSignalBlocker>
#include <QSlider>
#include <algorithm>
#include <cmath>

TRxSlider::TRxSlider(QWidget* parent)
    : QWidget(parent), slider_(new QSlider(Qt::Horizontal, this)) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(slider_);
    setFocusProxy(slider_);
    slider_->setRange(min_, max_);
    slider_->setValue(value_);
    slider_->setSingleStep(increment_);
    slider_->setPageStep(increment_);
    connect(slider_, &QSlider::valueChanged, this, [this](int v) {
        // A drag can land anywhere; keep the user's changes whole steps away from the value.
        const double steps = std::nearbyint(double(v - value_) / increment_);
        const double snapped = double(value_) + steps * increment_;
        store(int(std::clamp(snapped, double(min_), double(max_))));
    });
}

void TRxSlider::SetMinValue(int v) {
    if (v >= max_)
        return;
    min_ = v;
    {
        const QSignalBlocker blocker(slider_);
        slider_->setMinimum(min_);
    }
    store(std::clamp(value_, min_, max_));
}

void TRxSlider::SetMaxValue(int v) {
    if (v <= min_)
        return;
    max_ = v;
    {
        const QSignalBlocker blocker(slider_);
        slider_->setMaximum(max_);
    }
    store(std::clamp(value_, min_, max_));
}

void TRxSlider::SetValue(int v) {
    store(std::clamp(v, min_, max_));
}

void TRxSlider::SetIncrement(int v) {
    if (v < 1)
        return;
    increment_ = v;
    slider_->setSingleStep(v);
    slider_->setPageStep(v);
}

void TRxSlider::store(int v) {
    {
        const QSignalBlocker blocker(slider_);
        slider_->setValue(v);
    }
    if (v == value_)
        return;
    value_ = v;
    emit OnChange();
}

#include "moc_rxslider.cpp"
