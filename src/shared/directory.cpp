#include "shared/directory.h"

#include "shared/ordering.h"

#include <algorithm>

namespace tomarina {

namespace {

bool same_user_hotels(const UserTables& a, const UserTables& b) {
    if (a.user_count != b.user_count || a.user_tail != b.user_tail || a.user_read_error != b.user_read_error)
        return false;
    for (int i = 1; i <= a.user_name.held(a.user_count); ++i)
        if (user_record(a, i) != user_record(b, i) || a.user_ken(i) != b.user_ken(i) ||
            a.user_airport(i) != b.user_airport(i) || a.user_syousai(i) != b.user_syousai(i) ||
            a.user_price_num(i) != b.user_price_num(i))
            return false;
    return true;
}

// A list that gained or lost rows changed with its hotels, which tell that themselves.
bool same_order(const OrderState& a, const OrderState& b, int rows, bool rows_changed) {
    return a.user_sort_key_name == b.user_sort_key_name &&
           (rows_changed ||
            std::equal(a.user_list.data() + 1, a.user_list.data() + 1 + rows, b.user_list.data() + 1));
}

} // namespace

void del_data(UserTables& u, OrderState& o, int row) {
    const int count = u.user_name.held(u.user_count);
    if (row < 1 || row > count) return;
    const int k = o.user_list(row);
    for (int j = k; j < count; ++j) {
        set_user_record(u, j, user_record(u, j + 1));
        u.user_ken(j) = u.user_ken(j + 1);
        u.user_airport(j) = u.user_airport(j + 1);
        u.user_syousai(j) = u.user_syousai(j + 1);
        u.user_price_num(j) = u.user_price_num(j + 1);
    }
    for (int j = row; j < count; ++j) o.user_list(j) = o.user_list(j + 1);
    for (int j = 1; j < count; ++j)
        if (o.user_list(j) > k) o.user_list(j) = Integer(o.user_list(j) - 1);
    u.user_count = Integer(count - 1);
}

bool Directory::open_file(const QString& path) {
    if (dat_open_flg_ == 0) {
        if (!dat_.open(path)) return false;
        dat_open_flg_ = 1;
    }
    return true;
}

void Directory::close_file() {
    if (dat_open_flg_ == 1) {
        dat_.close();
        dat_open_flg_ = 0;
    }
}

void Directory::load(const std::function<void(HotelTables&)>& read) {
    read(db_);
    emit hotels_changed();
}

int Directory::load_file(const LoadHooks& hooks) {
    int failed = 0;
    load([&](HotelTables& t) { failed = Loader(t, dat_.bytes()).load_all(hooks); });
    return failed;
}

int Directory::add_user_hotels() {
    if (user_.user_copied_flg != 0) return 0;
    const Integer before = db_.hotel_count;
    const int left_out = copy_user_hotel(user_, db_);
    user_.user_copied_flg = 1;
    if (db_.hotel_count != before || user_.user_name.held(user_.user_count) > left_out) emit hotels_changed();
    return left_out;
}

void Directory::change_user(const std::function<void()>& change) {
    const UserTables user = user_;
    const OrderState order = order_;
    const auto tell = [&] {
        const int rows = user_.user_name.held(user_.user_count);
        if (!same_user_hotels(user, user_)) emit user_hotels_changed();
        if (!same_order(order, order_, rows, rows != user.user_name.held(user.user_count)))
            emit order_changed();
    };
    try {
        change();
    } catch (...) {
        tell();
        throw;
    }
    tell();
}

bool Directory::read_user_file(const QString& path, const QString& tmp_path) {
    bool read = false;
    change_user([&] {
        read = tomarina::read_user_file(path, user_, db_, tmp_path);
        if (read) user_.user_copied_flg = 0;
    });
    return read;
}

bool Directory::reread_user_file(const QString& path, const QString& tmp_path) {
    bool read = false;
    change_user([&] {
        user_.user_copied_flg = 0;
        read = tomarina::reread_user_file(path, user_, db_, tmp_path);
        // Nothing of the file could be read: the hotels typed since the last save go with the rest.
        if (!read) clear_user_hotels(user_);
    });
    return read;
}

void Directory::replace_user_hotel(int index, const EditFields& f) {
    change_user([&] { edit_data(user_, index, f, db_); });
}

void Directory::add_user_hotel(const EditFields& f) {
    change_user([&] { add_data(user_, f, db_); });
}

void Directory::delete_user_hotel(int row) {
    change_user([&] {
        user_.user_copied_flg = 0;
        del_data(user_, order_, row);
    });
}

void Directory::list_in_file_order() {
    change_user([this] {
        for (int i = 1; i <= user_.user_name.held(user_.user_count); ++i) order_.user_list(i) = Integer(i);
    });
}

void Directory::order_by(const QString& name) {
    change_user([&] {
        order_.user_sort_key_name = name;
        sort_user_hotel(user_, order_);
    });
}

} // namespace tomarina
