#pragma once

#include "data/hotel_tables.h"
#include "data/user_tables.h"
#include "shared/order_state.h"
#include "shared/search_state.h"
#include "shared/shared_texts.h"

#include <QString>
#include <cstdint>
#include <optional>
#include <tuple>
#include <vector>

namespace tomarina {

// The orderings of the results and of the maintenance list.
enum class Ordering { ken, airport, syousai, name, tel, rooms, price };

// What one key of an ordering is made of.
enum class KeyPart {
    none,              // empty
    location,          // prefecture, airport, district
    airport_location,  // airport, prefecture, district
    district_location, // district, prefecture, airport
    name,
    tel,   // the placeholder when missing
    rooms, // the leading number, the placeholder when missing
    price, // the placeholder when 0
};

struct OrderingRule {
    Ordering ordering;
    const char16_t* name;
    // The heading that selects it by a double-click and shows its mark; -1 for none.
    int results_column;
    int list_column;
    KeyPart key1;
    KeyPart key2;
};

inline constexpr OrderingRule ordering_rules[] = {
    {Ordering::ken, shared_texts::order_by_prefecture, -1, 0, KeyPart::location, KeyPart::name},
    {Ordering::airport, shared_texts::order_by_airport, -1, 1, KeyPart::airport_location, KeyPart::name},
    {Ordering::syousai, shared_texts::order_by_district, 0, 2, KeyPart::district_location, KeyPart::name},
    {Ordering::name, shared_texts::order_by_name, 1, 3, KeyPart::name, KeyPart::none},
    {Ordering::tel, shared_texts::order_by_tel, 2, 4, KeyPart::tel, KeyPart::none},
    {Ordering::rooms, shared_texts::order_by_rooms, 3, 5, KeyPart::rooms, KeyPart::location},
    {Ordering::price, shared_texts::order_by_price, 5, 7, KeyPart::price, KeyPart::location},
};

const OrderingRule& rule_of(Ordering o);
// The name kept in sort_key_name and user_sort_key_name.
QString ordering_name(Ordering o);
// The one conversion from a kept name; nothing for a name that is not an ordering (the empty one).
std::optional<Ordering> ordering_of(QStringView name);
// The ordering a heading double-click selects: the column's own, else the default by location.
Ordering results_ordering_at(int column);
Ordering list_ordering_at(int column);
// The column whose heading carries the mark of the ordering of that name, or -1.
int results_marked_column(QStringView name);
int list_marked_column(QStringView name);

// Decimal digits of x padded on the left with zeros to width digits.
QString fmt_zero(long long x, int width);

// The hits of a search in the named order: keys for every listed hotel into sort_key1/sort_key2, read
// through the rows (whose user hotels are their own copies), then list[1..n] in order.
class ResultRows;
void sort_rows(const ResultRows& rows, FixedTable<Integer, HotelTables::hotel_capacity>& list, int n,
               const QString& name, ResultOrder& o);
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
    // Each key's first eight code units packed so that two compare as the texts do: where the heads
    // differ they decide, where they are equal and both keys end within them the shorter key is the
    // smaller, and otherwise the whole texts decide. The entries sort by value, beside their heads.
    struct Head {
        std::uint64_t high = 0, low = 0;
        qsizetype size = 0;
    };
    struct Entry {
        Head h1, h2;
        int p;
    };
    auto head = [](QStringView text) {
        Head h;
        for (qsizetype k = 0; k < 8 && k < text.size(); ++k)
            (k < 4 ? h.high : h.low) |= std::uint64_t(text[k].unicode()) << (16 * (3 - k % 4));
        h.size = text.size();
        return h;
    };
    auto compare = [&](const Head& a, const Head& b, const Keys& keys, int pa, int pb) {
        if (a.high != b.high) return a.high < b.high ? -1 : 1;
        if (a.low != b.low) return a.low < b.low ? -1 : 1;
        if (a.size <= 8 && b.size <= 8) return a.size < b.size ? -1 : a.size > b.size ? 1 : 0;
        return QStringView(keys[std::size_t(list[pa + 1])])
            .compare(QStringView(keys[std::size_t(list[pb + 1])]));
    };
    auto keys_compare = [&](const Entry& a, const Entry& b) {
        const int c = compare(a.h1, b.h1, k1, a.p, b.p);
        return c != 0 ? c : compare(a.h2, b.h2, k2, a.p, b.p);
    };
    std::vector<Entry> entries(static_cast<std::size_t>(n));
    for (int p = 0; p < n; ++p)
        entries[std::size_t(p)] = {head(k1[std::size_t(list[p + 1])]), head(k2[std::size_t(list[p + 1])]), p};
    // Equal keys keep their list order.
    std::sort(entries.begin(), entries.end(), [&](const Entry& a, const Entry& b) {
        const int c = keys_compare(a, b);
        return c != 0 ? c < 0 : a.p < b.p;
    });
    std::vector<int> rank(static_cast<std::size_t>(n));
    int r = 0;
    for (int k = 0; k < n; ++k) {
        if (k > 0 && keys_compare(entries[std::size_t(k - 1)], entries[std::size_t(k)]) != 0) ++r;
        rank[std::size_t(entries[std::size_t(k)].p)] = r;
    }
    const std::vector<int> order = detail::exchange_order(rank);
    std::vector<Id> copy(list + 1, list + 1 + n);
    for (int k = 0; k < n; ++k) list[k + 1] = copy[std::size_t(order[std::size_t(k)])];
}

} // namespace tomarina
