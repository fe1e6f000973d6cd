#include "tools/progress_window.h"

#include "platform/nested_loop.h"

#include <QCloseEvent>
#include <QPainter>
#include <QProgressBar>

namespace tomarina {

namespace {

// A flat bar: the style's rounded, shaded bar costs a quarter of a millisecond a step, which a
// search that takes a few milliseconds would spend mostly on its progress.
class FlatProgressBar : public QProgressBar {
  public:
    using QProgressBar::QProgressBar;

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        const QRect r = rect();
        p.fillRect(r, palette().color(QPalette::Base));
        const qint64 span = qint64(maximum()) - minimum();
        const qint64 done = qint64(value()) - minimum();
        if (span > 0 && done > 0) {
            const int inner = std::max(0, r.width() - 2);
            const int w = int(inner * std::min(done, span) / span);
            p.fillRect(QRect(1, 1, w, std::max(0, r.height() - 2)), palette().color(QPalette::Highlight));
        }
        // The frame as four one-pixel rectangles: the pixels a pen would take, at a tenth of its cost.
        const QColor frame = palette().color(QPalette::Mid);
        p.fillRect(QRect(r.left(), r.top(), r.width(), 1), frame);
        p.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), frame);
        p.fillRect(QRect(r.left(), r.top(), 1, r.height()), frame);
        p.fillRect(QRect(r.right(), r.top(), 1, r.height()), frame);
    }
};

} // namespace

ProgressWindow::ProgressWindow(Forms& forms)
    : Form(forms, stored_names::progress, QStringLiteral("progress_window")) {
    // No close box: the window goes when the work it shows is done.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFixedSize(twips_to_px(6330), twips_to_px(255));
    progress_bar = add_control<FlatProgressBar>(this, "progress_bar", 0, 0, 6375, 255);
    progress_bar->setAttribute(Qt::WA_OpaquePaintEvent);
    progress_bar->setTextVisible(false);
}

void ProgressWindow::start(int steps, const QString& work) {
    progress_bar->setRange(0, steps);
    // A screen reader says the value with what it is the progress of, and says the work as it starts:
    // of the bar's changes it says only the percentage.
    progress_bar->setAccessibleName(work);
    announce(work);
}

void ProgressWindow::step_to(int value) {
    // The bar repaints itself at once whenever the value changes what it draws; a repaint of our own
    // would draw the same again.
    progress_bar->setValue(std::clamp(value, progress_bar->minimum(), progress_bar->maximum()));
    NestedLoop::process_events();
}

void ProgressWindow::closeEvent(QCloseEvent* event) {
    if (NestedLoop::running()) {
        event->ignore();
        return;
    }
    Form::closeEvent(event);
}

void ProgressWindow::on_unload() {
    save_position();
}

} // namespace tomarina
