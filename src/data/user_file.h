#pragma once

#include "data/file_report.h"
#include "data/hotel_tables.h"
#include "data/user_tables.h"

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <QStringList>
#include <array>

namespace tomarina {

// The nine fields of a user hotel as the edit window holds them, its boxes at [1]..[9] in the order
// of the user file (prefecture, airport, district, hotel name, telephone, rooms, access, rate, remark);
// [0] is unused.
using EditFields = std::array<QString, 10>;

// The written form of a rate: the yen sign and thousands separators.
inline const QString yen_picture = QStringLiteral("\\###,###,###");

// The fields of one line of hotelusr.csv: fields split at commas, blanks and tabs before a field
// skipped, a quoted field running to its closing quote ("" inside it is one quote), at most ten fields.
QStringList user_line_fields(QStringView line);
// One record in the written form, without the line end.
QString user_line(const QStringList& nine_fields);

// The most of the user file that is read as records; the rest, from a line's end on, is kept aside as
// bytes and written back after the records.
inline constexpr qint64 user_read_limit = 16 * 1024 * 1024;
// A file whose part past the reading limit is larger than this is not read at all (and so never written).
inline constexpr qint64 user_tail_limit = 256 * 1024 * 1024;

// Reads the user file from dev to its end into u, replacing its records; CR, LF and CR LF each end a
// line, and empty lines are skipped. The last line read is written to tmp_path as the scratch copy.
// Lines past the table's capacity and bytes past the reading limit are kept aside as bytes so that a save
// writes them back. Derives the numbers against t. When dev cannot be read to its end, u keeps its
// records, user_read_error says why, and false comes back.
bool get_hotel_user(QIODevice& dev, UserTables& u, const HotelTables& t, const QString& tmp_path);
// Leaves the tables without user hotels, nor bytes kept aside for a save.
void clear_user_hotels(UserTables& u);
// The one reader of the file at path, for the start-up and the cancel of the maintenance list alike. A
// missing or empty file gives no records. A file that exists but cannot be read leaves the records as
// they were, sets user_read_error (so nothing writes over it in this run) and gives false.
bool read_user_file(const QString& path, UserTables& u, const HotelTables& t, const QString& tmp_path);
// The same for the cancel of the maintenance list, which reads the file again only when it is a regular
// file that is not empty: a missing or empty one, or one that is no regular file, leaves the records in
// memory as they are.
bool reread_user_file(const QString& path, UserTables& u, const HotelTables& t, const QString& tmp_path);

// The nine text fields of record i, in file order, and the other way.
QStringList user_record(const UserTables& u, int i);
void set_user_record(UserTables& u, int i, const QStringList& nine_fields);

// The prefecture, airport and district numbers and the rate of record i.
void derive_user_hotel(UserTables& u, int i, const HotelTables& t);

// The whole file of records 1..user_count (and anything kept aside), as written; empty, with ok false,
// when a text has no code page form.
QByteArray user_file_bytes(const UserTables& u, bool* ok = nullptr);
// Writes records 1..user_count (and anything kept aside) to path at once; false when the old file stays,
// which it always does while the file could not be read in this run.
bool save_hotel_user(const QString& path, const UserTables& u, SaveReport* report = nullptr);

// Stores the nine fields into the user tables at index and derives its numbers; the rate is written
// again in the yen form. Clears user_copied_flg.
void edit_data(UserTables& u, int index, const EditFields& f, const HotelTables& t);
// Stores the fields as one more user hotel behind the others; user_count counts it once it is stored.
void add_data(UserTables& u, const EditFields& f, const HotelTables& t);

// Appends the user hotels behind the directory's hotels, as far as the hotel table reaches; gives how
// many did not fit (they stay in the file).
int copy_user_hotel(const UserTables& u, HotelTables& t);

} // namespace tomarina
