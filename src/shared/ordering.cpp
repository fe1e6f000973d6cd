#include "shared/ordering.h"

#include "data/text_rules.h"
#include "shared/result_rows.h"

#include <algorithm>

namespace tomarina {

static_assert([] {
    for (int k = 0; k < int(std::size(ordering_rules)); ++k)
        if (int(ordering_rules[k].ordering) != k) return false;
    return true;
}());

const OrderingRule& rule_of(Ordering o) {
    return ordering_rules[int(o)];
}

QString ordering_name(Ordering o) {
    return QString::fromUtf16(rule_of(o).name);
}

std::optional<Ordering> ordering_of(QStringView name) {
    for (const OrderingRule& r : ordering_rules)
        if (name == QStringView(r.name)) return r.ordering;
    return std::nullopt;
}

Ordering results_ordering_at(int column) {
    for (const OrderingRule& r : ordering_rules)
        if (r.results_column == column) return r.ordering;
    return Ordering::ken;
}

Ordering list_ordering_at(int column) {
    for (const OrderingRule& r : ordering_rules)
        if (r.list_column == column) return r.ordering;
    return Ordering::ken;
}

int results_marked_column(QStringView name) {
    const auto o = ordering_of(name);
    return o ? rule_of(*o).results_column : -1;
}

int list_marked_column(QStringView name) {
    const auto o = ordering_of(name);
    return o ? rule_of(*o).list_column : -1;
}

QString fmt_zero(long long x, int width) {
    // Built in place, one allocation a key: an ordering writes two keys for every hotel listed.
    unsigned long long v =
        x < 0 ? 0ULL - static_cast<unsigned long long>(x) : static_cast<unsigned long long>(x);
    int count = 0;
    for (unsigned long long rest = v; count == 0 || rest != 0; rest /= 10) ++count;
    const int digits = std::max(count, width);
    const int sign = x < 0 ? 1 : 0;
    QString out(sign + digits, u'0');
    QChar* d = out.data();
    if (sign) d[0] = u'-';
    for (int k = sign + digits - 1; v != 0; --k, v /= 10) d[k] = QChar(char16_t(u'0' + v % 10));
    return out;
}

namespace detail {

// Ties are what the exchange sort leaves in a particular order. For the entries of one key v, only the
// entries with smaller keys matter, in list order: the entries of v gather in a run that grows with
// each entry of v met, and every smaller entry met after the run started turns the run by one (its
// first entry goes to its end). The run at the end is the order of v's entries.
std::vector<int> exchange_order(const std::vector<int>& rank) {
    const int n = int(rank.size());
    int groups = 0;
    for (int r : rank) groups = std::max(groups, r + 1);
    std::vector<std::vector<int>> members(static_cast<std::size_t>(groups));
    for (int p = 0; p < n; ++p) members[std::size_t(rank[std::size_t(p)])].push_back(p);

    // Fenwick tree over list positions of the entries of smaller keys seen so far.
    std::vector<int> tree(std::size_t(n) + 1, 0);
    auto add = [&](int p) {
        for (int k = p + 1; k <= n; k += k & -k) ++tree[std::size_t(k)];
    };
    auto count_before = [&](int p) { // positions < p
        int c = 0;
        for (int k = p; k > 0; k -= k & -k) c += tree[std::size_t(k)];
        return c;
    };
    // A circular list of the run, with the run's first entry at `front`.
    std::vector<int> next(static_cast<std::size_t>(n)), prev(static_cast<std::size_t>(n));
    std::vector<int> order;
    order.reserve(static_cast<std::size_t>(n));
    for (int g = 0; g < groups; ++g) {
        const auto& m = members[std::size_t(g)];
        if (m.size() == 1) {
            order.push_back(m[0]);
        } else {
            int front = -1, size = 0;
            for (std::size_t k = 0; k < m.size(); ++k) {
                const int p = m[k];
                // p joins the run at its end, just before the front.
                if (front < 0) {
                    front = p;
                    next[std::size_t(p)] = prev[std::size_t(p)] = p;
                } else {
                    const int last = prev[std::size_t(front)];
                    next[std::size_t(last)] = p;
                    prev[std::size_t(p)] = last;
                    next[std::size_t(p)] = front;
                    prev[std::size_t(front)] = p;
                }
                ++size;
                // Smaller entries between p and the next entry of the group (or the list's end).
                const int until = k + 1 < m.size() ? m[k + 1] : n;
                const int turns = (count_before(until) - count_before(p + 1)) % size;
                for (int t = 0; t < turns; ++t) front = next[std::size_t(front)];
            }
            for (int k = 0, p = front; k < size; ++k, p = next[std::size_t(p)]) order.push_back(p);
        }
        for (const int p : m) add(p);
    }
    return order;
}

} // namespace detail

namespace {

// What an ordering reads of one list: the hotels' numbers and texts, the location key's multiplier M
// and width W, and the placeholder for a missing telephone number.
template <typename Numbers, typename Texts, typename Prices> struct Fields {
    const Numbers& ken;
    const Numbers& airport;
    const Numbers& syousai;
    const Texts& name;
    const Texts& tel;
    const Texts& rooms;
    const Prices& price;
    long long m;
    int width;
    QString no_tel;

    QString loc(long h) const {
        return fmt_zero((static_cast<long long>(ken(h)) * 100 + airport(h)) * m + syousai(h), width);
    }

    QString key(KeyPart part, long h) const {
        switch (part) {
        case KeyPart::none:
            return {};
        case KeyPart::location:
            return loc(h);
        case KeyPart::airport_location:
            return fmt_zero((static_cast<long long>(airport(h)) * 50 + ken(h)) * m + syousai(h), width);
        case KeyPart::district_location:
            return fmt_zero((static_cast<long long>(syousai(h)) * 50 + ken(h)) * 100 + airport(h), width);
        case KeyPart::name:
            return name(h);
        case KeyPart::tel:
            return tel(h).isEmpty() ? no_tel : tel(h);
        case KeyPart::rooms:
            if (rooms(h).isEmpty()) return QStringLiteral("99999");
            return fmt_zero(round_even(std::clamp(leading_number(rooms(h)), -9e17, 9e17)), 5);
        case KeyPart::price:
            return price(h) == 0 ? QStringLiteral("999999") : fmt_zero(price(h), 6);
        }
        return {};
    }
};

template <typename F, typename List, typename Keys>
void order_list(const F& f, const QString& name, List& list, int n, Keys& key1, Keys& key2) {
    // A name that is no ordering gives every hotel empty keys, which leaves the list as it is.
    const auto order = ordering_of(name);
    const KeyPart part1 = order ? rule_of(*order).key1 : KeyPart::none;
    const KeyPart part2 = order ? rule_of(*order).key2 : KeyPart::none;
    for (int k = 1; k <= n; ++k) {
        const long h = list(k);
        key1(h) = f.key(part1, h);
        key2(h) = f.key(part2, h);
    }
    // Every listed hotel's keys were just written through the checked access.
    exchange_sort(list.data(), n, key1.data(), key2.data());
}

} // namespace

namespace {
// A column of the hotel table read through the rows.
template <typename T> struct RowsColumn {
    const ResultRows& rows;
    HotelField<T> f;
    const T& operator()(long h) const { return rows.field(h, f); }
};
} // namespace

void sort_rows(const ResultRows& rows, FixedTable<Integer, HotelTables::hotel_capacity>& list, int n,
               const QString& name, ResultOrder& o) {
    using Number = RowsColumn<Long>;
    using Text = RowsColumn<QString>;
    const Number ken{rows, {&HotelTables::hotel_ken, &HotelRecord::ken}};
    const Number airport{rows, {&HotelTables::hotel_airport, &HotelRecord::airport}};
    const Number syousai{rows, {&HotelTables::hotel_syousai, &HotelRecord::syousai}};
    const Text hotel_name{rows, {&HotelTables::hotel_name, &HotelRecord::name}};
    const Text tel{rows, {&HotelTables::hotel_tel, &HotelRecord::tel}};
    const Text rooms{rows, {&HotelTables::hotel_rooms, &HotelRecord::rooms}};
    const Number price{rows, {&HotelTables::hotel_price_num, &HotelRecord::price_num}};
    const Fields<Number, Text, Number> f{ken,   airport, syousai, hotel_name, tel,
                                         rooms, price,   2000,    11,         QStringLiteral("9999999999999")};
    order_list(f, name, list, n, o.sort_key1, o.sort_key2);
}

void sort_user_hotel(const UserTables& u, OrderState& o) {
    const Fields<decltype(u.user_ken), decltype(u.user_name), decltype(u.user_price_num)> f{
        u.user_ken,
        u.user_airport,
        u.user_syousai,
        u.user_name,
        u.user_tel,
        u.user_rooms,
        u.user_price_num,
        500,
        10,
        QStringLiteral("999999999999")};
    order_list(f, o.user_sort_key_name, o.user_list, u.user_name.held(u.user_count), o.user_sort_key1,
               o.user_sort_key2);
}

} // namespace tomarina
