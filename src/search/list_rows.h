#pragma once

#include "data/hotel_tables.h"
#include "shared/search_state.h"

#include <QList>
#include <QStringList>

namespace tomarina {

// The picker lists prefectures in mode SearchType::prefecture and airports otherwise.

// The caption of the picker's option for area (0 the whole country, 1..9 an area).
QString picker_option_caption(const HotelTables& t, SearchType mode, int area);

// The texts of the picker that follow its mode.
struct PickerTexts {
    QString frame;    // the list's frame
    QString heading;  // the button over the list
    QString guidance; // the disabled guidance box
};
PickerTexts picker_texts(SearchType mode);

// One picker row: the name, a TAB (two for a name shorter than four characters), the hotel count
// without leading zeros and "件"; a count of 0 leaves the count and "件" out.
QString picker_row(const QString& name, Integer count);

// The picker's rows for the area in table order: every entry for 0, only that area's for 1..9, none
// for an index outside 0..9.
QStringList picker_rows(const HotelTables& t, SearchType mode, int area);

// The name a picker row stands for: the row without surrounding blanks, up to its first TAB.
QString picker_name(const QString& row);

// The district narrowing lists: the districts of the search not chosen yet, and the chosen ones.
QStringList offered_districts(const SearchState& s);
QStringList chosen_districts(const SearchState& s);
// Appends the rows of from at the given indexes (0-based, in list order) to the end of to and removes
// them from from. Indexes outside from are ignored.
void move_rows(QStringList& from, QStringList& to, QList<int> selected);
// What a screen reader is told of a move: the districts by name, or their number when there are more
// than three, and the list they went to (to_chosen: the chosen districts). Nothing when none moved.
QString moved_rows_notice(const QStringList& moved, bool to_chosen);

// What separates a region's name from its text, by the name's stored length: two TABs up to 4
// characters, one TAB for 5 to 8, three blanks beyond.
QString region_separator(qsizetype stored_length);

// The region rows in file order; row r (from 1) opens the link stored at rsv_row_link(r).
QStringList region_rows(const HotelTables& t, FixedTable<QString, HotelTables::rsv_capacity>& rsv_row_link);

} // namespace tomarina
