#pragma once

#include <QList>
#include <QRect>

namespace tomarina {

// Where a window goes so that all of it can be reached: frame is the window with its frame, areas the
// available areas of the screens. It stays on the area it mostly falls on (the primary one when it
// falls on none) and is moved inside it; a resizable window larger than the area is fitted to it, a
// fixed-size one is placed at the area's top left. A window already inside comes back unchanged.
QRect kept_on_screen(const QRect& frame, const QList<QRect>& areas, qsizetype primary, bool resizable);

} // namespace tomarina
