#pragma once

#include <initializer_list>

class QAbstractButton;
class QGroupBox;

namespace tomarina {

// The design's widths and frames were drawn for another system's font and frame style. These keep every
// caption whole and every control clear of its frame in the font and style the windows really get.

// Widens each control of a row (left to right) whose caption needs more than its width; a later control
// that would then come nearer than gap_twips to the widened one moves right by as much.
void fit_captions(std::initializer_list<QAbstractButton*> row, int gap_twips);

// Moves the controls inside a titled frame down below the line the style draws under its caption, and the
// frame's lower edge and the controls of its window below the frame with them. Returns how far (0 when
// nothing lay above the line), for the window to grow by.
int fit_below_caption(QGroupBox* frame);

} // namespace tomarina
