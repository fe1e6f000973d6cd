#pragma once

namespace tomarina {

// Sizes of the results window as designed, in twips. The window's height and width count its frame,
// as the settings keep them.
struct ResultsDesign {
    static constexpr int height = 5085;
    static constexpr int width = 9615;
    static constexpr int grid_height = 3855;
    static constexpr int grid_width = 9495;
    static constexpr int columns = 7;
    static constexpr int column_widths[columns] = {1080, 2300, 1170, 700, 2100, 1080, 1080};
};

} // namespace tomarina
