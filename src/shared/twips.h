#pragma once

#include <QRect>
#include <QString>
#include <QWidget>

namespace tomarina {

// Twips (1/1440 inch) to pixels and back, at the screen's logical dpi (15 twips a pixel at 96 dpi).
int twips_to_px(int twips);
int px_to_twips(int px);
QRect twips_rect(int left, int top, int width, int height);

// A control of a window: the system's name as its objectName, its place given in twips.
template <typename T>
T* add_control(QWidget* parent, const QString& name, int left, int top, int width, int height) {
    auto* control = new T(parent);
    control->setObjectName(name);
    control->setGeometry(twips_rect(left, top, width, height));
    return control;
}

} // namespace tomarina
