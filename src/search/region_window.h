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
    void fill_region_list();

    // 検索＆予約, a double click or Enter on a row: the chosen region's page, after the caution.
    void open_region();

    QGroupBox* regions_frame;
    QListWidget* region_list;
    QLineEdit* guidance_box;
    QPushButton* reserve_button;
    QPushButton* close_button;

    // The link of the region shown in list row r (from 1).
    FixedTable<QString, HotelTables::rsv_capacity> rsv_row_link;
};

} // namespace tomarina
