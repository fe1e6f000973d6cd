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

    QGroupBox* Frame1;
    QTabWidget* SSTab1;
    QLabel* Label2;
    QPushButton* Command2;
    QLabel* Label1;
    QLineEdit* Text1;
    QLabel* Label3;
    QGroupBox* Frame2;
    QRadioButton* Option1;
    QRadioButton* Option2;
    QPushButton* Command1;

    void Command1_Click();
    void Command2_Click();
    // Enter takes the limit when it is a valid one; anything else keeps the focus in the box.
    void Text1_KeyPress(KeyAscii key);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace tomarina
