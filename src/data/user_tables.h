#pragma once

#include "data/file_report.h"
#include "data/fixed_table.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace tomarina {

// The user's own hotels, as read from hotelusr.csv or typed in the edit window.
struct UserTables {
    static constexpr int user_capacity = 500;

    Integer user_count = 0;
    FixedTable<QString, user_capacity> user_ken_name;
    FixedTable<QString, user_capacity> user_airport_name;
    FixedTable<QString, user_capacity> user_syousai_name;
    FixedTable<QString, user_capacity> user_name;
    FixedTable<QString, user_capacity> user_tel;
    FixedTable<QString, user_capacity> user_rooms;
    FixedTable<QString, user_capacity> user_access;
    FixedTable<QString, user_capacity> user_price;
    FixedTable<QString, user_capacity> user_note;
    FixedTable<Long, user_capacity> user_ken;
    FixedTable<Long, user_capacity> user_airport;
    FixedTable<Long, user_capacity> user_syousai;
    FixedTable<Long, user_capacity> user_price_num;

    Integer user_copied_flg = 0;

    // The bytes of the file past the records read (beyond the table's capacity or the reading limit),
    // written back unchanged after the records.
    QByteArray user_tail;
    // Why the file could not be read in this run; while it is set, nothing writes over the file.
    ReadReport user_read_error;
};

} // namespace tomarina
