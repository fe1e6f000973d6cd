#pragma once

#include "shared/settings.h"
#include "data/database.h"
#include "data/hotel_tables.h"
#include "data/user_tables.h"
#include "shared/order_state.h"
#include "shared/search_state.h"

#include <QString>

namespace tomarina {

// Everything the windows share for the whole run. main owns one; every window holds a reference.
struct AppState {
    QString ver_text;
    QString app_path;
    QString dat_file = QStringLiteral("tomarina.dat");
    QString ini_file = QStringLiteral("tomarina.ini");
    QString help_file = QStringLiteral("tomarina.hlp");
    QString user_file = QStringLiteral("hotelusr.csv");
    // The scratch copy of the user file's last line read.
    QString tmp_file = QStringLiteral("tmp.csv");
    // The program folder's own files, read but never written: the user's folder could not be used.
    bool read_only_folder = false;
    // 1 while dat holds the open database file: the one flag for it.
    Integer dat_open_flg = 0;
    DatabaseFile dat;

    HotelTables db;
    UserTables user;
    Settings settings;
    SearchState search;
    OrderState order;

    // Window hand-over values.
    Integer grid_row = 0;
    // The maintenance list and the edit window: "add" or "upd", and the user hotel to modify.
    QString edit_mode;
    Integer user_edit_no = 0;
    // 1 once 登録終了 wrote the file in the list's current opening.
    Integer user_saved_flg = 0;
    Integer user_sel_row = 0;

    // app_path trimmed of blanks, a separator, then the file name.
    QString full_path(const QString& file) const;
};

} // namespace tomarina
