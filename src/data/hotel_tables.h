#pragma once

#include "data/fixed_table.h"
#include "data/text_rules.h"
#include "data/text_store.h"

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

// Every member of HotelTables, once, as X(name, type): the declarations and for_each_member both come
// from this list, so a member cannot be left out of clear().
#define TOMARINA_HOTEL_TABLES(X)                                                                             \
    X(ken_count, Integer)                                                                                    \
    X(ken_area, FixedTable<QString, ken_capacity>)                                                           \
    X(ken_name, FixedTable<QString, ken_capacity>)                                                           \
    X(ken_alias, FixedTable<QString, ken_capacity>)                                                          \
    X(ken_hotel_cnt, FixedTable<Integer, ken_capacity>)                                                      \
    X(area_list, FixedTable<QString, 10>)                                                                    \
    X(area_title, FixedTable<QString, 9>)                                                                    \
    X(airport_count, Integer)                                                                                \
    X(airport_name, FixedTable<QString, airport_capacity>)                                                   \
    X(airport_area, FixedTable<Integer, airport_capacity>)                                                   \
    X(airport_hotel_cnt, FixedTable<Integer, airport_capacity>)                                              \
    X(syousai_count, Integer)                                                                                \
    X(syousai_name, FixedTable<QString, syousai_capacity>)                                                   \
    X(hotel_count, Integer)                                                                                  \
    X(hotel_count_db, Integer)                                                                               \
    X(hotel_info_no, FixedTable<Long, hotel_capacity>)                                                       \
    X(hotel_ken, FixedTable<Long, hotel_capacity>)                                                           \
    X(hotel_airport, FixedTable<Long, hotel_capacity>)                                                       \
    X(hotel_syousai, FixedTable<Long, hotel_capacity>)                                                       \
    X(hotel_syousai_name, FixedTable<QString, hotel_capacity>)                                               \
    X(hotel_name, FixedTable<QString, hotel_capacity>)                                                       \
    X(hotel_tel, FixedTable<QString, hotel_capacity>)                                                        \
    X(hotel_rooms, FixedTable<QString, hotel_capacity>)                                                      \
    X(hotel_access, FixedTable<QString, hotel_capacity>)                                                     \
    X(hotel_price, FixedTable<QString, hotel_capacity>)                                                      \
    X(hotel_price_num, FixedTable<Long, hotel_capacity>)                                                     \
    X(hotel_note, FixedTable<QString, hotel_capacity>)                                                       \
    /* hotel_note in full-width characters, as the keyword search compares it */                             \
    X(hotel_note_wide, FixedTable<QString, hotel_capacity>)                                                  \
    X(hotel_address, FixedTable<QString, hotel_capacity>)                                                    \
    X(hotel_url, FixedTable<QString, hotel_capacity>)                                                        \
    X(hotel_best, FixedTable<QString, hotel_capacity>)                                                       \
    X(rsv_count, Integer)                                                                                    \
    X(rsv_area, FixedTable<QString, rsv_capacity>)                                                           \
    X(rsv_text, FixedTable<QString, rsv_capacity>)                                                           \
    X(rsv_link, FixedTable<QString, rsv_capacity>)                                                           \
    /* the characters of the directory's texts: the loader's texts refer into it */                          \
    X(texts, TextStore)                                                                                      \
    /* the control block of the database file */                                                             \
    X(ctl_tbl, FixedTable<Long, 24>)                                                                         \
    X(blk_count, Integer)                                                                                    \
    X(db_date, QString)

#define TOMARINA_DECLARE_MEMBER(name, ...) __VA_ARGS__ name{};
    TOMARINA_HOTEL_TABLES(TOMARINA_DECLARE_MEMBER)
#undef TOMARINA_DECLARE_MEMBER

    // The remarks of hotel h and their converted copy.
    void set_note(long long h, const QString& note) {
        hotel_note(h) = note;
        hotel_note_wide(h) = to_full_width(note);
    }

    // Calls f with a pointer to every member, tables and counts alike.
    template <typename F> static void for_each_member(F&& f) {
#define TOMARINA_VISIT_MEMBER(name, ...) f(&HotelTables::name);
        TOMARINA_HOTEL_TABLES(TOMARINA_VISIT_MEMBER)
#undef TOMARINA_VISIT_MEMBER
    }

    // The same with each member's name first, for reports.
    template <typename F> static void for_each_named_member(F&& f) {
#define TOMARINA_VISIT_NAMED_MEMBER(name, ...) f(#name, &HotelTables::name);
        TOMARINA_HOTEL_TABLES(TOMARINA_VISIT_NAMED_MEMBER)
#undef TOMARINA_VISIT_NAMED_MEMBER
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

#undef TOMARINA_HOTEL_TABLES

// One hotel of the hotel table, copied out of it.
struct HotelRecord {
    Long info_no = 0;
    Long ken = 0;
    Long airport = 0;
    Long syousai = 0;
    Long price_num = 0;
    QString syousai_name, name, tel, rooms, access, price, note, address, url, best;
};

inline HotelRecord hotel_record(const HotelTables& t, long long h) {
    return {t.hotel_info_no(h), t.hotel_ken(h),          t.hotel_airport(h), t.hotel_syousai(h),
            t.hotel_price_num(h), t.hotel_syousai_name(h), t.hotel_name(h),    t.hotel_tel(h),
            t.hotel_rooms(h),   t.hotel_access(h),       t.hotel_price(h),   t.hotel_note(h),
            t.hotel_address(h), t.hotel_url(h),          t.hotel_best(h)};
}

// The record number of name in a name table of count records: the first record that equals it, or
// whose other name (also, when given) does; 0 when none does.
template <typename Table>
int find_name(const Table& names, long long count, QStringView name, const Table* also = nullptr) {
    for (int k = 1; k <= Table::held(count); ++k)
        if (names(k) == name || (also && (*also)(k) == name)) return k;
    return 0;
}

} // namespace tomarina
