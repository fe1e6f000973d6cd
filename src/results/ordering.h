#pragma once

#include "data/hotel_tables.h"
#include "data/user_tables.h"
#include "results/order_state.h"
#include "search/search_state.h"

#include <QString>
#include <vector>

namespace tomarina {

// The ordering names.
namespace order_names {
inline const QString ken = QStringLiteral("ホテル都道府県");
inline const QString airport = QStringLiteral("ホテル空港");
inline const QString syousai = QStringLiteral("ホテル詳細");
inline const QString name = QStringLiteral("ホテル名");
inline const QString tel = QStringLiteral("ホテル電話");
inline const QString rooms = QStringLiteral("ホテル部屋数");
inline const QString price = QStringLiteral("ホテル料金");
} // namespace order_names

// Decimal digits of x padded on the left with zeros to width digits.
QString fmt_zero(long long x, int width);

// The results list: keys for every listed hotel into sort_key1/sort_key2, then sel_hotel in order.
void sort_hotel(const HotelTables& t, SearchState& s, OrderState& o);
// The maintenance list: the same over the user tables and user_list.
void sort_user_hotel(const UserTables& u, OrderState& o);

// The exchange sort's exact result on list[1..n] by (k1[id], k2[id]): each pass i keeps the
// smallest remaining entry at i, exchanging whenever a strictly smaller one is met. Computed without
// the quadratic number of text comparisons.
template <typename Id, typename Keys> void exchange_sort(Id* list, int n, const Keys& k1, const Keys& k2);

namespace detail {
// The final order of list positions 0..n-1 given the rank (order of distinct keys) of each position.
std::vector<int> exchange_order(const std::vector<int>& rank);
} // namespace detail

template <typename Id, typename Keys> void exchange_sort(Id* list, int n, const Keys& k1, const Keys& k2) {
    if (n < 2) return;
    std::vector<int> pos(static_cast<std::size_t>(n));
    for (int p = 0; p < n; ++p) pos[std::size_t(p)] = p;
    auto less = [&](int a, int b) {
        const auto& ka = k1[std::size_t(list[a + 1])];
        const auto& kb = k1[std::size_t(list[b + 1])];
        const int c = QStringView(ka).compare(QStringView(kb));
        if (c != 0) return c < 0;
        return QStringView(k2[std::size_t(list[a + 1])]).compare(QStringView(k2[std::size_t(list[b + 1])])) <
               0;
    };
    std::stable_sort(pos.begin(), pos.end(), less);
    std::vector<int> rank(static_cast<std::size_t>(n));
    int r = 0;
    for (int k = 0; k < n; ++k) {
        if (k > 0 && less(pos[std::size_t(k - 1)], pos[std::size_t(k)])) ++r;
        rank[std::size_t(pos[std::size_t(k)])] = r;
    }
    const std::vector<int> order = detail::exchange_order(rank);
    std::vector<Id> copy(list + 1, list + 1 + n);
    for (int k = 0; k < n; ++k) list[k + 1] = copy[std::size_t(order[std::size_t(k)])];
}

} // namespace tomarina
