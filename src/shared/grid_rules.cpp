#include "shared/grid_rules.h"

#include <algorithm>
#include <cmath>

namespace tomarina {

int results_capacity(int column, int width_twips) {
    const bool half = column == 2 || column == 3 || column == 5;
    return width_twips / (half ? half_width_char_twips : full_width_char_twips);
}

int line_count(qsizetype length, int capacity) {
    if (capacity <= 0) return 1;
    return int(std::floor(double(length) / capacity + 0.9999));
}

int row_height_for(int lines) {
    switch (lines) {
    case 1:
        return 225;
    case 2:
        return 405;
    case 3:
        return 585;
    case 4:
        return 765;
    }
    return 945;
}

SizeDelta size_delta(int height, int width, int design_height, int design_width) {
    return {height - design_height, width - design_width};
}

int grown(int design, int delta) {
    return std::max(0, design + delta);
}

TwipsPoint moved(TwipsPoint recorded, Anchor anchor, SizeDelta d) {
    return {anchor == Anchor::bottom_right ? recorded.left + d.dw : recorded.left, recorded.top + d.dh};
}

QList<int> scaled_widths(const QList<int>& widths, int grid_width) {
    long long total = 0;
    for (const int w : widths) total += w;
    if (total <= 0) return {};
    const double avail = std::max(100, grid_width - 400);
    QList<int> out;
    out.reserve(widths.size());
    for (const int w : widths) out << int(std::floor(w * avail / double(total) / 15 + 0.99999)) * 15;
    return out;
}

} // namespace tomarina
