#include "shared/twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <cmath>

namespace tomarina {

namespace {
double logical_dpi() {
    if (const QScreen* s = QGuiApplication::primaryScreen()) return s->logicalDotsPerInch();
    return 96.0;
}
} // namespace

int twips_to_px(int twips) {
    return int(std::lround(twips * logical_dpi() / 1440.0));
}
int px_to_twips(int px) {
    return int(std::lround(px * 1440.0 / logical_dpi()));
}
QRect twips_rect(int left, int top, int width, int height) {
    return QRect(twips_to_px(left), twips_to_px(top), twips_to_px(width), twips_to_px(height));
}

} // namespace tomarina
