#pragma once

#include "shared/results_design.h"

#include <QList>

namespace tomarina {

// Twips of one character in the grids' 9-point fixed-pitch font.
inline constexpr int full_width_char_twips = 180;
inline constexpr int half_width_char_twips = 90;

// Characters per line of results column c (0..6) at its width: the digit columns hold half-width text.
int results_capacity(int column, int width_twips);
// Lines a text of length characters needs in a column of that capacity; a column too narrow for one
// character counts as one line.
int line_count(qsizetype length, int capacity);
// Row height in twips for the largest line count of the row; 5 lines and more (and 0) cut off at five.
int row_height_for(int lines);

// The difference of the window's size to its design (or opening) size, which the resize rule moves
// and grows the controls by.
struct SizeDelta {
    int dh = 0;
    int dw = 0;
};
SizeDelta size_delta(int height, int width, int design_height, int design_width);
// A size grown by the delta, never below zero.
int grown(int design, int delta);

// Where a control recorded at (left, top) goes: every control follows the bottom edge, those anchored
// right also follow the right edge.
struct TwipsPoint {
    int left = 0;
    int top = 0;
    bool operator==(const TwipsPoint&) const = default;
};
enum class Anchor { bottom_left, bottom_right };
TwipsPoint moved(TwipsPoint recorded, Anchor anchor, SizeDelta d);

// Column widths scaled so that each keeps its share of the grid's width less 400 (at least 100), each
// ending on a whole pixel (a multiple of 15 twips). Empty when the widths sum to zero or less: nothing
// to share out.
QList<int> scaled_widths(const QList<int>& widths, int grid_width);

} // namespace tomarina
