#pragma once

#include "data/fixed_table.h"
#include "data/text_rules.h"

#include <QString>
#include <type_traits>

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

    // Calls f with a pointer to every member above, tables and counts alike. A member added above
    // belongs here too, or a cleared set of tables keeps its old value (a test checks the layout).
    template <typename F> static void for_each_member(F&& f) {
        using T = HotelTables;
        f(&T::ken_count), f(&T::ken_area), f(&T::ken_name), f(&T::ken_alias), f(&T::ken_hotel_cnt);
        f(&T::area_list), f(&T::area_title);
        f(&T::airport_count), f(&T::airport_name), f(&T::airport_area), f(&T::airport_hotel_cnt);
        f(&T::syousai_count), f(&T::syousai_name);
        f(&T::hotel_count), f(&T::hotel_count_db);
        f(&T::hotel_info_no), f(&T::hotel_ken), f(&T::hotel_airport), f(&T::hotel_syousai);
        f(&T::hotel_syousai_name), f(&T::hotel_name), f(&T::hotel_tel), f(&T::hotel_rooms);
        f(&T::hotel_access), f(&T::hotel_price), f(&T::hotel_price_num), f(&T::hotel_note);
        f(&T::hotel_note_wide), f(&T::hotel_address), f(&T::hotel_url), f(&T::hotel_best);
        f(&T::rsv_count), f(&T::rsv_area), f(&T::rsv_text), f(&T::rsv_link);
        f(&T::ctl_tbl), f(&T::blk_count), f(&T::db_date);
    }

    // Back to the state of a fresh set, at the cost of what was stored rather than of the capacities,
    // so that a reader run over many inputs reuses one set.
    void clear() {
        for_each_member([this](auto member) {
            auto& value = this->*member;
            if constexpr (std::is_arithmetic_v<std::remove_reference_t<decltype(value)>>)
                value = 0;
            else
                value.clear();
        });
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
