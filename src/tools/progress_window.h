#pragma once

#include "shared/form.h"

class QProgressBar;

namespace tomarina {

// The progress bar shown while the directory loads and while a search runs.
class ProgressWindow : public Form {
    Q_OBJECT
  public:
    explicit ProgressWindow(Forms& forms);
    QProgressBar* progress_bar;

    // An empty bar of that many steps, named by the work it shows.
    void start(int steps, const QString& work);
    // Sets the bar, drawn at once, and lets the windows repaint.
    void step_to(int value);

  protected:
    // It only remembers its position; the help window stays.
    void on_unload() override;
    // Alt+F4 while a step runs is ignored: the step still works on the window.
    void closeEvent(QCloseEvent* event) override;
};

} // namespace tomarina
