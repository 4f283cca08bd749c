#pragma once
// The proportional link of the two custom size fields.

#include <QString>
#include <optional>

// The other field's number for `typed` (the text of the field being edited) with a source of
// `from` x `to` in the edited and the other direction: Round(typed * to / from), the product
// in 32-bit arithmetic. Nothing when the text is not an integer; 0 when `from` is 0.
std::optional<int> proportional_value(const QString& typed, int from, int to);
