#pragma once

#include "data/hotel_tables.h"
#include "shared/order_state.h"
#include "shared/search_state.h"

#include <vector>

namespace tomarina {

// A column of the hotel table with the same field of a copied record.
template <typename T> struct HotelField {
    FixedTable<T, HotelTables::hotel_capacity> HotelTables::*table;
    T HotelRecord::*own;
};

// The hotels a search found, as a results window shows, opens and re-orders them until it is filled
// again. Directory records never change, but the user part of the hotel table is appended anew after
// every change of the user hotels: the user hotels among the hits are kept as copies.
class ResultRows {
  public:
    // The hits sel_hotel(1..sel_count) as they stand now.
    void take(const HotelTables& t, const SearchState& s);
    int count() const { return count_; }
    // The hotel number of row 1..count.
    Integer hotel(int row) const { return hits_(row); }
    // Hotel h's field as it was taken.
    template <typename T> const T& field(long long h, HotelField<T> f) const {
        if (const HotelRecord* u = user(h)) return u->*f.own;
        return (t_->*f.table)(h);
    }
    template <typename T> const T& at(int row, HotelField<T> f) const { return field(hotel(row), f); }
    HotelRecord record(int row) const;
    // Re-orders the rows by the ordering of that name, with the keys in o.
    void sort(const QString& name, ResultOrder& o);

  private:
    const HotelRecord* user(long long h) const;

    const HotelTables* t_ = nullptr;
    FixedTable<Integer, HotelTables::hotel_capacity> hits_;
    int count_ = 0;
    int db_count_ = 0;
    // User hotel db_count_ + k at k - 1.
    std::vector<HotelRecord> users_;
};

} // namespace tomarina
