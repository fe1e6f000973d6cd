#pragma once

#include "data/fixed_table.h"
#include "data/text_rules.h"

#include <QString>

namespace tomarina {

// The directory's tables: prefectures, airports, districts, hotels (directory hotels first, then the
// user's), the region reservation list and the database facts. Record numbers start at 1.
struct HotelTables {
    static constexpr int ken_capacity = 50;
    static constexpr int airport_capacity = 100;
    static constexpr int syousai_capacity = 3000;
    static constexpr int hotel_capacity = 15000;
    static constexpr int rsv_capacity = 300;

    Integer ken_count = 0;
    FixedTable<QString, ken_capacity> ken_area;
    FixedTable<QString, ken_capacity> ken_name;
    FixedTable<QString, ken_capacity> ken_alias;
    FixedTable<Integer, ken_capacity> ken_hotel_cnt;

    FixedTable<QString, 10> area_list;
    FixedTable<QString, 9> area_title;

    Integer airport_count = 0;
    FixedTable<QString, airport_capacity> airport_name;
    FixedTable<Integer, airport_capacity> airport_area;
    FixedTable<Integer, airport_capacity> airport_hotel_cnt;

    Integer syousai_count = 0;
    FixedTable<QString, syousai_capacity> syousai_name;

    Integer hotel_count = 0;
    Integer hotel_count_db = 0;
    FixedTable<Long, hotel_capacity> hotel_info_no;
    FixedTable<Long, hotel_capacity> hotel_ken;
    FixedTable<Long, hotel_capacity> hotel_airport;
    FixedTable<Long, hotel_capacity> hotel_syousai;
    FixedTable<QString, hotel_capacity> hotel_syousai_name;
    FixedTable<QString, hotel_capacity> hotel_name;
    FixedTable<QString, hotel_capacity> hotel_tel;
    FixedTable<QString, hotel_capacity> hotel_rooms;
    FixedTable<QString, hotel_capacity> hotel_access;
    FixedTable<QString, hotel_capacity> hotel_price;
    FixedTable<Long, hotel_capacity> hotel_price_num;
    FixedTable<QString, hotel_capacity> hotel_note;
    // hotel_note in full-width characters, as the keyword search compares it; kept beside it by set_note.
    FixedTable<QString, hotel_capacity> hotel_note_wide;
    FixedTable<QString, hotel_capacity> hotel_address;
    FixedTable<QString, hotel_capacity> hotel_url;
    FixedTable<QString, hotel_capacity> hotel_best;

    Integer rsv_count = 0;
    FixedTable<QString, rsv_capacity> rsv_area;
    FixedTable<QString, rsv_capacity> rsv_text;
    FixedTable<QString, rsv_capacity> rsv_link;

    // Control block of the database file.
    FixedTable<Long, 24> ctl_tbl;
    Integer blk_count = 0;
    QString db_date;

    // The remarks of hotel h and their converted copy.
    void set_note(long long h, const QString& note) {
        hotel_note(h) = note;
        hotel_note_wide(h) = to_full_width(note);
    }

    // Index of the last entry of area_list that the loader set.
    int area_last() const {
        int last = 0;
        for (int k = 1; k <= 10; ++k)
            if (!area_list(k).isEmpty()) last = k;
        return last;
    }
};

} // namespace tomarina
