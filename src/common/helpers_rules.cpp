#include "common/helpers_rules.h"

#include <cmath>
#include <cstdio>
#include <limits>

namespace {

template <typename Float> int64_t to_int64(Float rounded) {
    if (!std::isfinite(rounded))
        return 0;
    if (rounded >= static_cast<Float>(std::numeric_limits<int64_t>::max()))
        return std::numeric_limits<int64_t>::max();
    if (rounded <= static_cast<Float>(std::numeric_limits<int64_t>::min()))
        return std::numeric_limits<int64_t>::min();
    return static_cast<int64_t>(rounded);
}

} // namespace

// std::nearbyint follows the current rounding mode, which the program never changes from
// round-to-nearest-even.
int64_t round_even(double value) {
    return to_int64(std::nearbyint(value));
}

int64_t round_even_extended(long double value) {
    return to_int64(std::nearbyintl(value));
}

QString timecode_text(int64_t microseconds) {
    constexpr int64_t perSecond = 1000000;
    const long long hours = microseconds / perSecond / 60 / 60;
    const long long minutes = (microseconds / perSecond / 60) % 60;
    const long long seconds = (microseconds / perSecond) % 60;
    const long long millis = (microseconds % perSecond) * 1000 / perSecond;
    char text[96];
    std::snprintf(text, sizeof text, "%.2lld:%.2lld:%.2lld.%.3lld", hours, minutes, seconds,
                  millis);
    return QString::fromLatin1(text);
}

Edges fit_rect(const Edges& source, const Edges& dest) {
    const int sw = source.right - source.left;
    const int sh = source.bottom - source.top;
    const int dw = dest.right - dest.left;
    const int dh = dest.bottom - dest.top;
    const double a = static_cast<double>(sw) / dw;
    const double b = static_cast<double>(sh) / dh;
    Edges result = dest;
    if (a >= b) {
        const auto margin = static_cast<int>(round_even((dh - sh / a) / 2));
        result.top += margin;
        result.bottom -= margin;
    } else {
        const auto margin = static_cast<int>(round_even((dw - sw / b) / 2));
        result.left += margin;
        result.right -= margin;
    }
    return result;
}
