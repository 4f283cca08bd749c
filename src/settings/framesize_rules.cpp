#include "settings/framesize_rules.h"

#include "common/helpers_rules.h"

#include <algorithm>
#include <cstdint>
#include <limits>

std::optional<int> proportional_value(const QString& typed, int from, int to) {
    bool ok = false;
    const int value = typed.toInt(&ok);
    if (!ok)
        return std::nullopt;
    if (from == 0)
        return 0;
    // The product wraps around like the 32-bit arithmetic it has always been computed in.
    const auto product =
        static_cast<int32_t>(static_cast<uint32_t>(value) * static_cast<uint32_t>(to));
    const int64_t result = round_even_extended(static_cast<long double>(product) / from);
    return static_cast<int>(std::clamp<int64_t>(result, std::numeric_limits<int>::min(),
                                                std::numeric_limits<int>::max()));
}
