#include "search/list_rows.h"

#include "data/text_rules.h"
#include "search/search_texts.h"

#include <algorithm>

namespace tomarina {

QString picker_option_caption(const HotelTables& t, SearchType mode, int area) {
    if (area < 0 || area > 9) return {};
    return mode == SearchType::prefecture ? t.area_list(area) : t.area_title(area);
}

PickerTexts picker_texts(SearchType mode) {
    if (mode == SearchType::prefecture)
        return {search_texts::prefecture_frame, search_texts::prefecture_heading,
                search_texts::prefecture_guidance};
    return {search_texts::airport_frame, search_texts::airport_heading, search_texts::airport_guidance};
}

QString picker_row(const QString& name, Integer count) {
    QString row = name + u'\t';
    if (name.size() < 4) row += u'\t';
    row += format_picture(count, u"###");
    if (count != 0) row += search_texts::hotels_unit;
    return row;
}

QStringList picker_rows(const HotelTables& t, SearchType mode, int area) {
    QStringList rows;
    if (area < 0 || area > 9) return rows;
    if (mode == SearchType::prefecture) {
        const int n = decltype(t.ken_name)::held(t.ken_count);
        for (int i = 1; i <= n; ++i)
            if (area == 0 || t.ken_area(i) == t.area_list(area))
                rows << picker_row(t.ken_name(i), t.ken_hotel_cnt(i));
    } else {
        const int n = decltype(t.airport_name)::held(t.airport_count);
        for (int i = 1; i <= n; ++i)
            if (area == 0 || t.airport_area(i) == area)
                rows << picker_row(t.airport_name(i), t.airport_hotel_cnt(i));
    }
    return rows;
}

QString picker_name(const QString& row) {
    const QString text = trim(row);
    const qsizetype tab = text.indexOf(u'\t');
    return tab < 0 ? text : text.left(tab);
}

QStringList offered_districts(const SearchState& s) {
    const QStringList chosen = chosen_districts(s);
    QStringList rows;
    const int n = decltype(s.sel_syousai)::held(s.sel_syousai_count);
    for (int k = 1; k <= n; ++k)
        if (!chosen.contains(s.sel_syousai(k))) rows << s.sel_syousai(k);
    return rows;
}

QStringList chosen_districts(const SearchState& s) {
    QStringList rows;
    const int n = decltype(s.narrow_syousai)::held(s.narrow_count);
    for (int k = 1; k <= n; ++k) rows << s.narrow_syousai(k);
    return rows;
}

void move_rows(QStringList& from, QStringList& to, QList<int> selected) {
    std::sort(selected.begin(), selected.end());
    selected.erase(std::unique(selected.begin(), selected.end()), selected.end());
    selected.removeIf([&](int k) { return k < 0 || k >= from.size(); });
    for (int k : selected) to << from[k];
    // From the last row to the first, so the indexes still to remove stay valid.
    for (auto it = selected.crbegin(); it != selected.crend(); ++it) from.removeAt(*it);
}

QString moved_rows_notice(const QStringList& moved, bool to_chosen) {
    if (moved.isEmpty()) return {};
    const QString what = moved.size() > 3 ? search_texts::districts_counted.arg(moved.size())
                                          : moved.join(search_texts::district_separator) + u' ';
    return what + (to_chosen ? search_texts::moved_to_chosen : search_texts::moved_to_offered);
}

QString region_separator(qsizetype stored_length) {
    if (stored_length <= 4) return QStringLiteral("\t\t");
    if (stored_length <= 8) return QStringLiteral("\t");
    // Longer names keep a gap of three blanks, so every row still shows its own name and text.
    return QStringLiteral("   ");
}

QStringList region_rows(const HotelTables& t, FixedTable<QString, HotelTables::rsv_capacity>& rsv_row_link) {
    QStringList rows;
    rsv_row_link.clear();
    const int n = decltype(t.rsv_area)::held(t.rsv_count);
    for (int j = 1; j <= n; ++j) {
        const QString& area = t.rsv_area(j);
        rows << trim(area) + region_separator(area.size()) + t.rsv_text(j);
        rsv_row_link(rows.size()) = t.rsv_link(j);
    }
    return rows;
}

} // namespace tomarina
