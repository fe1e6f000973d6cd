#include "platform/on_screen.h"

#include <algorithm>

namespace tomarina {

QRect kept_on_screen(const QRect& frame, const QList<QRect>& areas, qsizetype primary, bool resizable) {
    if (areas.isEmpty()) return frame;
    QRect area = areas.value(primary, areas.first());
    long long most = 0;
    for (const QRect& a : areas) {
        const QRect common = a.intersected(frame);
        const long long size = common.isEmpty() ? 0 : (long long)common.width() * common.height();
        if (size > most) {
            most = size;
            area = a;
        }
    }
    QRect out = frame;
    if (resizable) out.setSize(out.size().boundedTo(area.size()));
    if (out.width() > area.width() || out.height() > area.height()) {
        out.moveTopLeft(area.topLeft());
        return out;
    }
    out.moveLeft(std::clamp(out.left(), area.left(), area.right() - out.width() + 1));
    out.moveTop(std::clamp(out.top(), area.top(), area.bottom() - out.height() + 1));
    return out;
}

} // namespace tomarina
