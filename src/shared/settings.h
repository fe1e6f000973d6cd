#pragma once

#include "data/file_report.h"
#include "data/fixed_table.h"
#include "shared/search_state.h"

#include <QIODevice>
#include <QString>
#include <array>

namespace tomarina {

// The saved top/left pair of one window, in twips.
struct FormPosition {
    Integer top = 0;
    Integer left = 0;
    bool operator==(const FormPosition&) const = default;
};

// Windows that keep a position, in the order of the settings file.
inline constexpr std::array<int, 14> saved_forms = {1, 11, 12, 13, 14, 15, 21, 31, 32, 34, 41, 42, 91, 92};

// One member per settings key, named after it: the plain values the file is read into and written from.
// The run's own settings are held by SettingsStore, which tells their changes.
struct Settings {
    FormPosition main_menu_window, search_conditions_window, results_window, narrowing_window, picker_window,
        detail_window, region_window, tools_menu_window, settings_window, about_window,
        maintenance_list_window, hotel_edit_window, progress_window, browser_window;

    Integer control1_flg = 0;
    Integer control2_flg = 0;
    Integer control3_flg = 0;
    Integer control9_flg = 0;
    Integer sv_count = 0;
    Integer max_kensuu = 0;
    Integer sv_pop = 0;
    QString inet_data1 = QStringLiteral("0");
    QString inet_data2;
    Integer sv_height12 = 0;
    Integer sv_width12 = 0;
    Integer sv_grid1_height12 = 0;
    Integer sv_grid1_width12 = 0;
    FixedTable<Integer, 10> sv_colwidth;

    // The entries last searched for by prefecture ([Text1]) and by airport ([Text2]), newest first.
    EntryHistory prefecture_history;
    EntryHistory airport_history;

    // Why a settings file that is there could not be read; while it is set, that file is never written
    // over, so settings the user could not see are not lost.
    ReadReport read_error;

    // The saved pair of window tomarina<number>; throws for a window that keeps none.
    FormPosition& form(int number);
    const FormPosition& form(int number) const { return const_cast<Settings*>(this)->form(number); }

    // Zero sizes, widths and detail-window position get their defaults.
    void apply_defaults();

    bool operator==(const Settings&) const = default;
};

// A browser path the settings file holds on its line and reads back as it is: no control character,
// every character in the code page, no comma, quote or surrounding blank.
bool storable_browser_path(QStringView path);

// No real settings file comes near this size; a larger one is read only this far, up to its last whole
// line, and the rest is dropped, as the next save writes the file anew.
inline constexpr qint64 settings_read_limit = 16 * 1024 * 1024;

// Reads tomarina.ini from dev into s, item by item; a failing statement is skipped.
void read_settings(QIODevice& dev, Settings& s);
// The whole file, as written; empty, with ok false, when a value has no code page form.
QByteArray settings_bytes(const Settings& s, bool* ok = nullptr);
// Replaces the file at path at once; on failure the old file stays whole and false comes back.
bool write_settings_file(const QString& path, const Settings& s, QString* error = nullptr);
// Reads the file at path when it exists; a missing or unreadable file changes no setting, and an
// unreadable one is remembered in read_error.
void read_settings_file(const QString& path, Settings& s);

} // namespace tomarina
