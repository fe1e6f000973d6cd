#pragma once

#include "data/hotel_tables.h"
#include "search/search_state.h"

namespace tomarina {

// The six selections. Each scans the hotel table once, in table order, and leaves the hits in
// sel_hotel/sel_count and the districts of every hotel that met the criterion in sel_syousai.
void sel_data1(const HotelTables& t, SearchState& s, Integer max_kensuu);
void sel_data2(const HotelTables& t, SearchState& s, Integer max_kensuu);
void sel_data3(const HotelTables& t, SearchState& s, Integer max_kensuu);
void sel_data4(const HotelTables& t, SearchState& s, Integer max_kensuu);
void sel_data5(const HotelTables& t, SearchState& s, Integer max_kensuu);
void sel_data6(const HotelTables& t, SearchState& s, Integer max_kensuu);

// The selection of s.search_type; a type outside 1..6 selects nothing.
void select_hotels(const HotelTables& t, SearchState& s, Integer max_kensuu);

// The airport names that stand for one another in a search.
QString airport_synonym(const QString& key);

// The search window's check of an entry for criterion option (1..6). On acceptance the entry may be
// replaced (a prefecture's other name by its table name), search_type is set and true comes back.
bool check_text1(const HotelTables& t, int option, QString& entry, Integer& search_type);

// Moves input to the front of a history of five, newest first: an entry already there (compared
// without surrounding blanks) moves up, otherwise the oldest drops out.
void push_history(EntryHistory& hist, const QString& input);

// The search text as the selections compare it: the entry in full-width characters.
QString search_key_of(const QString& entry);

} // namespace tomarina
