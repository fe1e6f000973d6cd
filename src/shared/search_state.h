#pragma once

#include "data/directory_words.h"
#include "data/hotel_tables.h"

#include <QString>

namespace tomarina {

// The six criteria, numbered as the settings and the tool's --type number them.
enum class SearchType : Integer { prefecture = 1, airport, hotel_name, district, station, keyword };

// The criteria whose entry names a table entry, which the picker offers to choose.
inline bool picked_from_list(SearchType type) {
    return type == SearchType::prefecture || type == SearchType::airport;
}

// The last entries of a criterion, newest first.
using EntryHistory = FixedTable<QString, 5>;

// What a prefecture or airport box offers first: the newest entry of its history, 福岡 while the
// history is empty.
inline QString latest_entry(const EntryHistory& hist) {
    const QString& first = hist(1);
    return first.isEmpty() ? directory_words::default_prefecture : first;
}

// The search criterion, the hits and the district lists.
struct SearchState {
    SearchType search_type = SearchType::prefecture;
    QString search_key;
    FixedTable<Integer, HotelTables::hotel_capacity> sel_hotel;
    Integer sel_count = 0;
    FixedTable<QString, HotelTables::syousai_capacity> sel_syousai;
    Integer sel_syousai_count = 0;
    FixedTable<QString, HotelTables::syousai_capacity> narrow_syousai;
    Integer narrow_count = 0;
};

} // namespace tomarina
