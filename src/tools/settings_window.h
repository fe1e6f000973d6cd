#pragma once

#include "shared/form.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace tomarina {

// The environment settings: the search limit, whether a result row opens the detail window, and
// finding the browser again.
class SettingsWindow : public Form {
    Q_OBJECT
  public:
    explicit SettingsWindow(Forms& forms);

    void restore_position() override;
    void close_window() override;

    QGroupBox* settings_frame;
    QTabWidget* tabs;
    QLabel* browser_again_label;
    QPushButton* browser_again_button;
    QLabel* limit_label;
    QLineEdit* limit_box;
    QLabel* limit_note_label;
    QGroupBox* detail_frame;
    QRadioButton* show_detail_option;
    QRadioButton* hide_detail_option;
    QPushButton* close_button;

    // Forgets the browser and looks it up again; the selection window opens when none is found.
    void find_browser_again();
    // Enter takes the limit when it is a valid one; anything else keeps the focus in the box.
    void take_typed_limit(KeyAscii key);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace tomarina
