#pragma once

#include "data/hotel_tables.h"
#include "shared/search_state.h"

#include <optional>

namespace tomarina {

// The six selections. Each scans the hotel table once, in table order, and leaves the hits in
// sel_hotel/sel_count and the districts of every hotel that met the criterion in sel_syousai.
void select_by_prefecture(const HotelTables& t, SearchState& s, Integer max_kensuu);
void select_by_airport(const HotelTables& t, SearchState& s, Integer max_kensuu);
void select_by_hotel_name(const HotelTables& t, SearchState& s, Integer max_kensuu);
void select_by_district(const HotelTables& t, SearchState& s, Integer max_kensuu);
void select_by_station(const HotelTables& t, SearchState& s, Integer max_kensuu);
void select_by_keyword(const HotelTables& t, SearchState& s, Integer max_kensuu);

// The selection of s.search_type; a value outside the six criteria selects nothing.
void select_hotels(const HotelTables& t, SearchState& s, Integer max_kensuu);

// The airport names that stand for one another in a search.
QString airport_synonym(const QString& key);

// An entry the search accepts: the criterion, the entry as the entry box shows it afterwards (a
// prefecture's other name replaced by its table name) and the key the selections compare.
struct AcceptedEntry {
    SearchType search_type = SearchType::prefecture;
    QString entry;
    QString search_key;
};

// The one message for an entry that is refused.
QString search_entry_error();

// The check of an entry for criterion option: a prefecture or airport must name a table entry
// (surrounding half-width blanks aside), any other criterion needs at least one character; a "¥" in
// the entry is the data's yen sign "\". Nothing when refused.
std::optional<AcceptedEntry> accept_search_entry(const HotelTables& t, SearchType option,
                                                 const QString& entry);

// The search text as the selections compare it: the entry in full-width characters.
QString search_key_of(const QString& entry);

// The chosen districts become the narrowing; an empty list clears it. Districts beyond the table's
// capacity are dropped.
void store_narrowing(SearchState& s, const QStringList& chosen);

} // namespace tomarina
