#pragma once

#include "data/hotel_tables.h"

#include <QString>

namespace tomarina {

// The last entries of a criterion, newest first.
using EntryHistory = FixedTable<QString, 5>;

// The search criterion, the hits and the district lists.
struct SearchState {
    Integer search_type = 1;
    QString search_key;
    FixedTable<Integer, HotelTables::hotel_capacity> sel_hotel;
    Integer sel_count = 0;
    FixedTable<QString, HotelTables::syousai_capacity> sel_syousai;
    Integer sel_syousai_count = 0;
    FixedTable<QString, HotelTables::syousai_capacity> narrow_syousai;
    Integer narrow_count = 0;
    // The last search entry or picker choice, for the history.
    QString input_text;
};

} // namespace tomarina
