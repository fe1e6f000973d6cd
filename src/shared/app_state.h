#pragma once

#include "shared/directory.h"
#include "shared/hotel_search.h"
#include "shared/settings_store.h"

#include <QString>

namespace tomarina {

// Everything the windows share for the whole run. main owns one; every window holds a reference. The
// windows change the shared state only through its owners (directory, settings, browser, search); the
// version and the program folder are set by the start-up before any window opens.
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
    // The program folder's own files, read but never written from then on: the user's folder could not
    // be used, or another copy of the program may be using the folder.
    bool read_only_folder() const { return read_only_folder_; }
    void use_read_only_folder() { read_only_folder_ = true; }

    // The directory with the user's hotels, and what the windows read of it.
    Directory directory;
    const HotelTables& db = directory.tables();
    const UserTables& user = directory.user_hotels();
    SettingsStore settings_store;
    // What the windows read of the settings; they change them only through settings_store.
    const Settings& settings = settings_store.values();
    HotelSearch search{db};

    // app_path trimmed of blanks, a separator, then the file name.
    QString full_path(const QString& file) const;
    // Where the user file's scratch copy goes; none while the folder is used read-only.
    QString scratch_path() const;

  private:
    bool read_only_folder_ = false;
};

} // namespace tomarina
