#include "tools/progress_window.h"

#include "platform/nested_loop.h"

#include <QCloseEvent>
#include <QProgressBar>

namespace tomarina {

tomarina91::tomarina91(Forms& forms) : Form(forms, 91, QStringLiteral("tomarina91")) {
    // No close box: the window goes when the work it shows is done.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFixedSize(twips_to_px(6330), twips_to_px(255));
    ProgressBar1 = add_control<QProgressBar>(this, "ProgressBar1", 0, 0, 6375, 255);
    ProgressBar1->setTextVisible(false);
}

void tomarina91::start(int steps) {
    ProgressBar1->setRange(0, steps);
}

void tomarina91::step_to(int value) {
    // The bar repaints itself at once whenever the value changes what it draws; a repaint of our own
    // would draw the same again.
    ProgressBar1->setValue(std::clamp(value, ProgressBar1->minimum(), ProgressBar1->maximum()));
    NestedLoop::process_events();
}

void tomarina91::closeEvent(QCloseEvent* event) {
    if (NestedLoop::running()) {
        event->ignore();
        return;
    }
    Form::closeEvent(event);
}

void tomarina91::form_unload() {
    save_position();
}

} // namespace tomarina
