#pragma once

#include "app/settings.h"
#include "data/database.h"
#include "data/hotel_tables.h"
#include "data/user_tables.h"

#include <QString>

namespace tomarina {

// The search criterion, the hits and the district lists.
struct SearchState {
    Integer search_type = 1;
    QString search_key;
    FixedTable<Integer, HotelTables::hotel_capacity> sel_hotel;
    Integer sel_count = 0;
    FixedTable<QString, 3000> sel_syousai;
    Integer sel_syousai_count = 0;
    FixedTable<QString, 3000> narrow_syousai;
    Integer narrow_count = 0;
    // Picker hand-over.
    Integer picker_caller = 0;
    QString input_text;
};

// The orderings of the results and of the maintenance list.
struct OrderState {
    QString sort_key_name;
    FixedTable<QString, HotelTables::hotel_capacity> sort_key1;
    FixedTable<QString, HotelTables::hotel_capacity> sort_key2;
    QString user_sort_key_name;
    FixedTable<QString, UserTables::user_capacity> user_sort_key1;
    FixedTable<QString, UserTables::user_capacity> user_sort_key2;
    FixedTable<Integer, UserTables::user_capacity> user_list;
    bool sort_busy = false;
};

// Everything the windows share for the whole run. main owns one; every window holds a reference.
struct AppState {
    QString ver_text;
    QString app_path;
    QString dat_file = QStringLiteral("tomarina.dat");
    QString ini_file = QStringLiteral("tomarina.ini");
    QString help_file = QStringLiteral("tomarina.hlp");
    Integer dat_open_flg = 0;
    DatabaseFile dat;

    HotelTables db;
    UserTables user;
    Settings settings;
    SearchState search;
    OrderState order;

    // Window hand-over values.
    Integer grid_row = 0;
    Integer edit_mode = 0;

    // app_path trimmed of blanks, a separator, then the file name.
    QString full_path(const QString& file) const;
};

} // namespace tomarina
