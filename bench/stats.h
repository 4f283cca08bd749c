#pragma once
// Small summaries of repeated measurements.

#include <QVector>
#include <algorithm>

inline double median(QVector<double> values) {
    if (values.isEmpty())
        return 0;
    std::sort(values.begin(), values.end());
    const qsizetype n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

inline double worst(const QVector<double>& values) {
    return values.isEmpty() ? 0 : *std::max_element(values.begin(), values.end());
}
