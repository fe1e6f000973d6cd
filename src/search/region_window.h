#pragma once

#include "shared/form.h"

class QGroupBox;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace tomarina {

// A short list of regions; the chosen region's reservation page opens in the browser.
class RegionWindow : public Form {
    Q_OBJECT
  public:
    explicit RegionWindow(Forms& forms);

    void set_up() override;
    void restore_position() override;
    void set_list1();

    void Command1_Click();
    void Command2_Click() { close_window(); }
    void List1_DblClick();

    QGroupBox* Frame1;
    QListWidget* List1;
    QLineEdit* Text1;
    QPushButton* Command1;
    QPushButton* Command2;

    // The link of the region shown in list row r (from 1).
    FixedTable<QString, HotelTables::rsv_capacity> rsv_row_link;

  private:
    void open_region();
};

} // namespace tomarina
