#include "shared/ordering.h"
#include "shared/result_rows.h"
#include "support/test_support.h"

#include <QTest>
#include <limits>
#include <random>

using namespace tomarina;
using tomarina::test::u8;

namespace {

// The exchange sort written out step by step, the reference for the ordering's result.
void transcription(std::vector<int>& L, const std::vector<QString>& k1, const std::vector<QString>& k2) {
    const int n = int(L.size()) - 1;
    for (int i = 1; i <= n - 1; ++i) {
        int a = L[i];
        for (int j = i + 1; j <= n; ++j) {
            const int b = L[j];
            if (k1[a] < k1[b]) continue;
            if (k1[a] == k1[b] && k2[a] <= k2[b]) continue;
            L[i] = b;
            L[j] = a;
            a = L[i];
        }
    }
}

// A results list over a table of hotels with the given fields.
struct Fixture {
    HotelTables t;
    SearchState s;
    ResultOrder o;
    void add(int ken, int airport, int syousai, const QString& name, const QString& tel, const QString& rooms,
             Long price) {
        const int i = ++t.hotel_count;
        t.hotel_count_db = t.hotel_count;
        t.hotel_ken(i) = ken;
        t.hotel_airport(i) = airport;
        t.hotel_syousai(i) = syousai;
        t.hotel_name(i) = name;
        t.hotel_tel(i) = tel;
        t.hotel_rooms(i) = rooms;
        t.hotel_price_num(i) = price;
        s.sel_hotel(i) = Integer(i);
        s.sel_count = t.hotel_count;
    }
    QList<int> order(const QString& name) {
        ResultRows rows;
        rows.take(t, s);
        rows.sort(name, o);
        QList<int> out;
        for (int k = 1; k <= rows.count(); ++k) out << rows.hotel(k);
        return out;
    }
};

} // namespace

class TestOrdering : public QObject {
    Q_OBJECT
  private slots:
    void same_result_as_the_exchange_sort_on_random_lists() {
        std::mt19937 rng(12345);
        for (int trial = 0; trial < 3000; ++trial) {
            const int n = int(rng() % 40);
            const int distinct = 1 + int(rng() % 6);
            std::vector<QString> k1(n + 1), k2(n + 1);
            std::vector<int> L(n + 1);
            for (int id = 1; id <= n; ++id) {
                k1[id] = QString::number(rng() % distinct);
                k2[id] = (rng() % 3 == 0) ? QString::number(rng() % 2) : QString();
            }
            // The list holds ids in a shuffled order.
            for (int p = 1; p <= n; ++p) L[p] = p;
            std::shuffle(L.begin() + 1, L.end(), rng);
            std::vector<int> expected = L;
            transcription(expected, k1, k2);
            std::vector<int> got = L;
            exchange_sort(got.data(), n, k1, k2);
            QCOMPARE(got, expected);
        }
    }

    void larger_lists_with_many_ties() {
        std::mt19937 rng(99);
        for (const int n : {500, 1500}) {
            for (const int distinct : {1, 7, 50, 1000}) {
                std::vector<QString> k1(n + 1), k2(n + 1);
                std::vector<int> L(n + 1);
                for (int id = 1; id <= n; ++id)
                    k1[id] = QStringLiteral("%1").arg(rng() % distinct, 5, 10, QChar(u'0'));
                for (int p = 1; p <= n; ++p) L[p] = p;
                if (distinct != 7)
                    std::shuffle(L.begin() + 1, L.end(), rng);
                else
                    std::reverse(L.begin() + 1, L.end());
                std::vector<int> expected = L;
                transcription(expected, k1, k2);
                exchange_sort(L.data(), n, k1, k2);
                QCOMPARE(L, expected);
            }
        }
    }

    void ties_follow_the_exchange_rule() {
        // b1, b2, a with b1 and b2 equal and a smaller: a, b2, b1.
        std::vector<QString> k1 = {QString(), u8("b"), u8("b"), u8("a")}, k2(4);
        std::vector<int> L = {0, 1, 2, 3};
        exchange_sort(L.data(), 3, k1, k2);
        QCOMPARE(L, (std::vector<int>{0, 3, 2, 1}));
        std::vector<int> none = {0};
        exchange_sort(none.data(), 0, k1, k2);
        std::vector<int> one = {0, 2};
        exchange_sort(one.data(), 1, k1, k2);
        QCOMPARE(one[1], 2);
    }

    void keys_of_the_results_list() {
        Fixture f;
        f.add(13, 17, 5, u8("ホテルＢ"), u8("03-1111-1111"), u8("120"), 8000);
        f.add(13, 17, 5, u8("ホテルＡ"), QString(), u8("80"), 0);
        f.add(1, 1, 2, u8("ホテルＣ"), u8("011-111-1111"), QString(), 8000);
        f.add(13, 16, 2500, u8("ホテルＤ"), u8("ｘ"), u8("約60"), 5000);
        // A district of 2000 or more reaches into the next airport's range.
        QCOMPARE(f.order(ordering_name(Ordering::ken)), QList<int>({3, 2, 1, 4}));
        QCOMPARE(f.o.sort_key1(3), QStringLiteral("00000202002"));
        QCOMPARE(f.o.sort_key2(3), u8("ホテルＣ"));
        QCOMPARE(f.order(ordering_name(Ordering::name)), QList<int>({2, 1, 3, 4}));
        QCOMPARE(f.o.sort_key2(1), QString());
        // No telephone number comes after every number starting with a digit.
        QCOMPARE(f.order(ordering_name(Ordering::tel)), QList<int>({3, 1, 2, 4}));
        QCOMPARE(f.o.sort_key1(2), QStringLiteral("9999999999999"));
        // 80 before 120; a text without a leading number is 00000; no rooms last.
        QCOMPARE(f.order(ordering_name(Ordering::rooms)), QList<int>({4, 2, 1, 3}));
        QCOMPARE(f.o.sort_key1(4), QStringLiteral("00000"));
        QCOMPARE(f.o.sort_key1(3), QStringLiteral("99999"));
        // Same price ordered by location; a price of 0 last.
        QCOMPARE(f.order(ordering_name(Ordering::price)), QList<int>({4, 3, 1, 2}));
        QCOMPARE(f.o.sort_key1(2), QStringLiteral("999999"));
        QCOMPARE(f.o.sort_key1(4), QStringLiteral("005000"));
        QCOMPARE(f.order(ordering_name(Ordering::syousai)), QList<int>({3, 2, 1, 4}));
        QCOMPARE(f.o.sort_key1(4), QStringLiteral("00012501316"));
    }

    // The ordering a heading double-click selects, in the results grid and in the maintenance list.
    void heading_double_click_data() {
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("results");
        QTest::addColumn<QString>("list");
        const auto row = [](int column, const char16_t* results, const char16_t* list) {
            QTest::addRow("column %d", column)
                << column << QStringView(results).toString() << QStringView(list).toString();
        };
        row(0, shared_texts::order_by_district, shared_texts::order_by_prefecture);
        row(1, shared_texts::order_by_name, shared_texts::order_by_airport);
        row(2, shared_texts::order_by_tel, shared_texts::order_by_district);
        row(3, shared_texts::order_by_rooms, shared_texts::order_by_name);
        row(4, shared_texts::order_by_prefecture, shared_texts::order_by_tel);
        row(5, shared_texts::order_by_price, shared_texts::order_by_rooms);
        row(6, shared_texts::order_by_prefecture, shared_texts::order_by_prefecture);
        row(7, shared_texts::order_by_prefecture, shared_texts::order_by_price);
        row(8, shared_texts::order_by_prefecture, shared_texts::order_by_prefecture);
        row(-1, shared_texts::order_by_prefecture, shared_texts::order_by_prefecture);
    }
    void heading_double_click() {
        QFETCH(int, column);
        QFETCH(QString, results);
        QFETCH(QString, list);
        QCOMPARE(ordering_name(results_ordering_at(column)), results);
        QCOMPARE(ordering_name(list_ordering_at(column)), list);
    }

    // The heading that carries the mark of a kept ordering name.
    void marked_heading_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("results");
        QTest::addColumn<int>("list");
        QTest::newRow("prefecture") << QStringView(shared_texts::order_by_prefecture).toString() << -1 << 0;
        QTest::newRow("airport") << QStringView(shared_texts::order_by_airport).toString() << -1 << 1;
        QTest::newRow("district") << QStringView(shared_texts::order_by_district).toString() << 0 << 2;
        QTest::newRow("name") << QStringView(shared_texts::order_by_name).toString() << 1 << 3;
        QTest::newRow("telephone") << QStringView(shared_texts::order_by_tel).toString() << 2 << 4;
        QTest::newRow("rooms") << QStringView(shared_texts::order_by_rooms).toString() << 3 << 5;
        QTest::newRow("price") << QStringView(shared_texts::order_by_price).toString() << 5 << 7;
        QTest::newRow("not yet reordered") << QString() << -1 << -1;
        QTest::newRow("no ordering") << u8("ホテル") << -1 << -1;
    }
    void marked_heading() {
        QFETCH(QString, name);
        QFETCH(int, results);
        QFETCH(int, list);
        QCOMPARE(results_marked_column(name), results);
        QCOMPARE(list_marked_column(name), list);
        if (const auto o = ordering_of(name)) QCOMPARE(ordering_name(*o), name);
    }

    void an_unknown_name_leaves_the_list_as_it_is() {
        Fixture f;
        f.add(13, 17, 5, u8("ホテルＢ"), QString(), QString(), 0);
        f.add(1, 1, 2, u8("ホテルＡ"), QString(), QString(), 0);
        QCOMPARE(f.order(QString()), QList<int>({1, 2}));
        QCOMPARE(f.o.sort_key1(2), QString());
    }

    void keys_of_the_maintenance_list() {
        UserTables u;
        OrderState o;
        u.user_count = 2;
        u.user_ken(1) = 99;
        u.user_airport(1) = 99;
        u.user_syousai(1) = 999;
        u.user_name(1) = u8("Ｂ");
        u.user_ken(2) = 13;
        u.user_airport(2) = 17;
        u.user_syousai(2) = 3;
        u.user_name(2) = u8("Ａ");
        o.user_list(1) = 1;
        o.user_list(2) = 2;
        o.user_sort_key_name = ordering_name(Ordering::ken);
        sort_user_hotel(u, o);
        QCOMPARE(o.user_sort_key1(1), QStringLiteral("0005000499")); // (99*100+99)*500+999
        QCOMPARE(o.user_sort_key1(2), QStringLiteral("0000658503"));
        QCOMPARE(o.user_list(1), Integer(2));
        o.user_sort_key_name = ordering_name(Ordering::airport);
        sort_user_hotel(u, o);
        QCOMPARE(o.user_sort_key1(2), QStringLiteral("0000431503")); // (17*50+13)*500+3
        o.user_sort_key_name = ordering_name(Ordering::tel);
        sort_user_hotel(u, o);
        QCOMPARE(o.user_sort_key1(1), QStringLiteral("999999999999"));
        QCOMPARE(fmt_zero(-5, 3), QStringLiteral("-005"));
        // The most negative number has no positive twin: its digits come out whole, not overflowed.
        QCOMPARE(fmt_zero(std::numeric_limits<long long>::min(), 3), QStringLiteral("-9223372036854775808"));
    }
};

QTEST_GUILESS_MAIN(TestOrdering)
#include "shared/shared_texts.h"
#include "test_ordering.moc"
