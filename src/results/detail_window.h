#pragma once

#include "shared/form.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace tomarina {

// One hotel in full, with its links. The results window opens and fills it on a row click.
class DetailWindow : public Form {
    Q_OBJECT
  public:
    explicit DetailWindow(Forms& forms);

    void init_sec();
    void set_up() override { init_sec(); }

    // Shows the hotel: the seven boxes, the three link boxes and the two buttons.
    void fill(const HotelRecord& hotel);

    void Command4_Click();
    void Command5_Click();

    QGroupBox* Frame1;
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label4;
    QLabel* Label5;
    QLabel* Label6;
    QLabel* Label7;
    QLabel* Label11;
    QLineEdit* Text1;
    QLineEdit* Text2;
    QLineEdit* Text3;
    QLineEdit* Text4;
    QPlainTextEdit* Text5;
    QLineEdit* Text6;
    QPlainTextEdit* Text7;
    QCheckBox* Check1;
    QCheckBox* Check2;
    QCheckBox* Check3;
    QPushButton* Command4;
    QPushButton* Command5;
    QPushButton* Command1;

  private:
    // The buttons for the hotel shown, while a browser is set.
    void set_buttons();
    // The hotel shown; the buttons act on it even after the results are re-ordered.
    HotelRecord hotel_;
    bool filled_ = false;
};

} // namespace tomarina
