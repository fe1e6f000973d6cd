#pragma once

#include "shared/shared_texts.h"

#include <QString>

class QAbstractItemView;
class QWidget;

namespace tomarina {

// Gives the windows and their frames their roles on the accessibility bus, and has every text box, of
// one line or the help's many, read whole; once is enough.
void install_window_roles();

// A control of no size that says its text to a screen reader when it is shown: a notification.
QWidget* new_announcement(QWidget* parent);
// Says the text at once, wherever the focus is; an empty text takes the last one back.
void announce_with(QWidget* announcement, const QString& text);

// The text a screen reader says after a control's name and value (its accessible description); a CR LF
// of the window's texts is one line break to it.
void describe(QWidget* w, const QString& text);

// What a screen reader says of an empty cell of a grid, so that the values of a row it reads keep
// their columns.
using shared_texts::empty_cell_name;
// The text a screen reader says of a grid's cell that shows this text.
inline QString cell_said(const QString& shown) {
    return shown.isEmpty() ? empty_cell_name : shown;
}

// A list or grid taking the focus tells its current row after itself, so that a screen reader says it.
void tell_current_item(QAbstractItemView* view);

} // namespace tomarina
