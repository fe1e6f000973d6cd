#include "shared/settings_store.h"

#include "data/steps.h"
#include "data/text_rules.h"

namespace tomarina {

void SettingsStore::change(const std::function<void(Settings&)>& edit) {
    Settings next = values_;
    edit(next);
    if (next == values_) return;
    const bool browser = next.inet_data1 != values_.inet_data1 || next.inet_data2 != values_.inet_data2;
    values_ = std::move(next);
    emit changed();
    if (browser) emit browser_changed();
}

void SettingsStore::load(const QString& path) {
    change([&](Settings& s) {
        s.max_kensuu = 1000;
        s.sv_pop = 1;
        if (!path.isEmpty()) try_step("read_settings_file", [&] { read_settings_file(path, s); });
        s.apply_defaults();
    });
}

void SettingsStore::set(Integer Settings::*item, Integer value) {
    change([&](Settings& s) { s.*item = value; });
}

void SettingsStore::set_position(int number, FormPosition position) {
    change([&](Settings& s) { s.form(number) = position; });
}

void SettingsStore::set_column_width(int column, Integer twips) {
    change([&](Settings& s) { s.sv_colwidth(column) = twips; });
}

void SettingsStore::add_history(SearchType type, const QString& typed) {
    if (!picked_from_list(type)) return;
    change([&](Settings& s) {
        EntryHistory& hist = type == SearchType::prefecture ? s.prefecture_history : s.airport_history;
        // The entry goes to the settings file on one line, so it keeps no control character and nothing
        // the file cannot hold, whatever the directory's names hold. One already there (compared without
        // surrounding blanks) moves up, otherwise the oldest drops out.
        const QString input = storable_in_file(typed);
        const QString key = trim(input);
        int p = EntryHistory::capacity;
        for (int k = 1; k <= EntryHistory::capacity; ++k) {
            if (trim(hist(k)) == key) {
                p = k;
                break;
            }
        }
        if (p == 1) return;
        for (int j = p; j >= 2; --j) hist(j) = hist(j - 1);
        hist(1) = input;
    });
}

void SettingsStore::set_browser(const QString& kind, const QString& path) {
    change([&](Settings& s) {
        s.inet_data1 = kind;
        s.inet_data2 = path;
    });
}

void SettingsStore::look_up_browser(const std::function<void(Settings&)>& lookup) {
    change([&](Settings& s) { try_step("lookup", [&] { lookup(s); }); });
}

} // namespace tomarina
