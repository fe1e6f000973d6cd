#pragma once

#include "shared/app_state.h"

#include <QString>
#include <array>
#include <optional>

namespace tomarina {

// The user's own hotels: the rules of the maintenance list and of the hotel edit window.

// The store buttons differ in their airport messages.
enum class StoreButton { Update, AddUpdate };

// A refused field: the field to put the focus on and the message for the message area.
struct Refusal {
    int field = 0;
    QString message;
};

// "" when text without surrounding blanks is a prefecture name (an airport name), "err" otherwise.
QString check_prefecture_name(const HotelTables& t, QStringView text);
QString check_airport_name(const HotelTables& t, QStringView text);

// The rooms field holds nothing but the digits 0-9 (an empty field passes).
bool rooms_text_ok(QStringView text);

// The rate field after Enter: a number without the yen sign is shown as "\" and the amount with
// thousands separators; any other text is unchanged.
QString rate_shown(QStringView text);
// The rate a text denotes: a text of more than one character that reads as an amount of the Japanese
// locale, to the nearest yen; otherwise 0.
Long rate_value(QStringView text);

// The file can hold the text: every character has a code page 932 form and no line break splits it.
bool storable_text(QStringView text);

// The prompt of a field on focus: the request, a line break, an example.
QString field_prompt(int field);
// What a field is called, as its label names it and the messages do; empty outside 1..9.
QString field_name(int field);

// Enter in field `field`: fills the district from the airport, formats the rate, and returns the
// refusal message, empty when the field is accepted. given: the fields as the window was filled; a field
// still holding that text is not refused for characters the file cannot hold, since it came from there.
QString enter_check(int field, EditFields& f, const HotelTables& t, const EditFields* given = nullptr);
// The checks of a store button, in order, with the same adjustments; the first refusal, if any.
std::optional<Refusal> store_check(StoreButton button, EditFields& f, const HotelTables& t,
                                   const EditFields* given = nullptr);

// The nine fields of user hotel k.
EditFields user_fields(const UserTables& u, int k);

// The user tables cannot take another hotel.
bool user_tables_full(const UserTables& u);
QString user_tables_full_message();

// The maintenance list's grid: headings (the ordering's column marked) and the cell text of user hotel k.
constexpr int user_list_columns = 9;
std::array<QString, user_list_columns> user_list_headings(const QString& user_sort_key_name);
QString user_list_cell(const UserTables& u, int k, int column);
// Column widths in twips: each heading on one line, and all of them beside the scroll bar the list
// shows when it is long.
constexpr std::array<int, user_list_columns> user_list_widths = {800, 800,  800,  1500, 1170,
                                                                 700, 1400, 1005, 1050};

} // namespace tomarina
