#pragma once

#include "data/hotel_tables.h"
#include "data/user_tables.h"

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <QStringList>

namespace tomarina {

// The fields of one line of hotelusr.csv: fields split at commas, blanks and tabs before a field
// skipped, a quoted field running to its closing quote ("" inside it is one quote), at most ten fields.
QStringList user_line_fields(QStringView line);
// One record in the written form, without the line end.
QString user_line(const QStringList& nine_fields);

// Reads the user file from dev to its end into u, replacing its records; blank lines are skipped.
// The last line read is written to tmp_path as the scratch copy. Records past the table's capacity are
// kept aside so that a save writes them back. Derives the numbers against t.
void get_hotel_user(QIODevice& dev, UserTables& u, const HotelTables& t, const QString& tmp_path);
// Reads the file at path when it exists and is not empty; otherwise leaves u as it is.
void read_user_file(const QString& path, UserTables& u, const HotelTables& t, const QString& tmp_path);

// The nine text fields of record i, in file order, and the other way.
QStringList user_record(const UserTables& u, int i);
void set_user_record(UserTables& u, int i, const QStringList& nine_fields);

// The prefecture, airport and district numbers and the rate of record i.
void derive_user_hotel(UserTables& u, int i, const HotelTables& t);

// The whole file text of records 1..user_count (and any kept aside), as written.
QByteArray user_file_bytes(const UserTables& u);
// Writes records 1..user_count (and any kept aside) to path at once; false when the old file stays.
bool save_hotel_user(const QString& path, const UserTables& u, QString* error = nullptr);

// Appends the user hotels behind the directory's hotels, as far as the hotel table reaches.
void copy_user_hotel(const UserTables& u, HotelTables& t);

} // namespace tomarina
