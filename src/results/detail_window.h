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

    // Shows the hotel: the seven boxes, the three link boxes and the two buttons.
    void fill(const HotelRecord& hotel);

    // The hotel's information pages, or its reservation pages, for the link boxes ticked.
    void show_information();
    void reserve();

    QGroupBox* hotel_frame;
    QLabel* address_label;
    QLabel* name_label;
    QLabel* phone_label;
    QLabel* rooms_label;
    QLabel* access_label;
    QLabel* price_label;
    QLabel* note_label;
    QLabel* mode_label;
    QLineEdit* address_box;
    QLineEdit* name_box;
    QLineEdit* phone_box;
    QLineEdit* rooms_box;
    QPlainTextEdit* access_box;
    QLineEdit* price_box;
    QPlainTextEdit* note_box;
    QCheckBox* first_service_check;
    QCheckBox* second_service_check;
    QCheckBox* home_page_check;
    QPushButton* information_button;
    QPushButton* reserve_button;
    QPushButton* close_button;

  private:
    // The buttons for the hotel shown, while a browser is set.
    void set_buttons();
    // The hotel shown; the buttons act on it even after the results are re-ordered.
    HotelRecord hotel_;
    bool filled_ = false;
};

} // namespace tomarina
