#pragma once

#include <QtCore/qnamespace.h>

namespace tomarina {

// The main keyboard's Enter and the keypad's are one key to every window.
constexpr bool is_enter(int key) {
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

} // namespace tomarina
