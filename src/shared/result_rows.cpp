#include "shared/result_rows.h"

#include "shared/ordering.h"

namespace tomarina {

void ResultRows::take(const HotelTables& t, const SearchState& s) {
    t_ = &t;
    db_count_ = t.hotel_name.held(t.hotel_count_db);
    count_ = s.sel_hotel.held(s.sel_count);
    hits_.clear();
    users_.clear();
    for (int r = 1; r <= count_; ++r) {
        const Integer h = s.sel_hotel(r);
        hits_(r) = h;
        if (h <= db_count_) continue;
        if (std::size_t(h - db_count_) > users_.size()) users_.resize(std::size_t(h - db_count_));
        users_[std::size_t(h - db_count_ - 1)] = hotel_record(t, h);
    }
}

const HotelRecord* ResultRows::user(long long h) const {
    if (h <= db_count_ || h - db_count_ > static_cast<long long>(users_.size())) return nullptr;
    return &users_[std::size_t(h - db_count_ - 1)];
}

HotelRecord ResultRows::record(int row) const {
    const Integer h = hotel(row);
    if (const HotelRecord* u = user(h)) return *u;
    return hotel_record(*t_, h);
}

void ResultRows::sort(const QString& name, ResultOrder& o) {
    if (t_) sort_rows(*this, hits_, count_, name, o);
}

} // namespace tomarina
