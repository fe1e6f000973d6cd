#pragma once

#include "data/database.h"
#include "data/hotel_tables.h"
#include "data/user_tables.h"
#include "shared/hotel_search.h"
#include "shared/order_state.h"
#include "shared/settings_store.h"

#include <QString>

namespace tomarina {

// Everything the windows share for the whole run. main owns one; every window holds a reference.
struct AppState {
    QString ver_text;
    QString app_path;
    // The program folder's files, named here and nowhere else.
    static inline const QString dat_file = QStringLiteral("tomarina.dat");
    static inline const QString ini_file = QStringLiteral("tomarina.ini");
    static inline const QString help_file = QStringLiteral("tomarina.hlp");
    static inline const QString user_file = QStringLiteral("hotelusr.csv");
    // The scratch copy of the user file's last line read.
    static inline const QString tmp_file = QStringLiteral("tmp.csv");
    // The program folder's own files, read but never written: the user's folder could not be used.
    bool read_only_folder = false;
    // 1 while dat holds the open database file: the one flag for it.
    Integer dat_open_flg = 0;
    DatabaseFile dat;

    HotelTables db;
    UserTables user;
    SettingsStore settings_store;
    // What the windows read of the settings; they change them only through settings_store.
    const Settings& settings = settings_store.values();
    HotelSearch search{db};
    // The ordering of the maintenance list.
    OrderState order;

    // app_path trimmed of blanks, a separator, then the file name.
    QString full_path(const QString& file) const;
    // Where the user file's scratch copy goes; none while the folder is used read-only.
    QString scratch_path() const;
};

} // namespace tomarina
