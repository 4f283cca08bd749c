#pragma once
// Small rules shared by several windows.

#include <QRect>
#include <QString>
#include <cstdint>

// Nearest integer, halves to the even neighbour.
int64_t round_even(double value);
// The same for extended precision (64-bit mantissa) values.
int64_t round_even_extended(long double value);

// Microseconds as "hh:mm:ss.mmm" ("%.2d:%.2d:%.2d.%.3d"); each field carries its own sign.
QString timecode_text(int64_t microseconds);

// Edges as left, top, right, bottom (right and bottom exclusive).
struct Edges {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool operator==(const Edges&) const = default;
};
// The rectangle inside `dest` into which `source` fits whole, keeping its proportions,
// centred.
Edges fit_rect(const Edges& source, const Edges& dest);
