#pragma once
// How sizes and times are written in the report.

#include <QString>
#include <cstdint>

inline QString mb(int64_t bytes) {
    return QString::number(double(bytes) / 1e6, 'f', 0) + " MB";
}
inline QString secs(double seconds) {
    return QString::number(seconds, 'f', seconds < 10 ? 2 : 1) + " s";
}
// "27.8 s (CPU 52.1 s)"
inline QString secs_cpu(double seconds, double cpu) {
    return secs(seconds) + " (CPU " + secs(cpu) + ")";
}
inline QString ratio(double a, double b) {
    return b > 0 ? QString::number(a / b, 'f', 2) : QString("-");
}
