#pragma once

#include "data/hotel_tables.h"
#include "data/user_tables.h"

#include <QString>

namespace tomarina {

// The ordering of a search's hits: its name and the keys of each hotel listed.
struct ResultOrder {
    QString sort_key_name;
    FixedTable<QString, HotelTables::hotel_capacity> sort_key1;
    FixedTable<QString, HotelTables::hotel_capacity> sort_key2;
};

// The ordering of the maintenance list.
struct OrderState {
    QString user_sort_key_name;
    FixedTable<QString, UserTables::user_capacity> user_sort_key1;
    FixedTable<QString, UserTables::user_capacity> user_sort_key2;
    FixedTable<Integer, UserTables::user_capacity> user_list;
};

} // namespace tomarina
