// One set of hotel tables used again after clear() reads a directory exactly as a fresh set does.
#include "data/database.h"
#include "data/hotel_tables.h"
#include "support/test_support.h"

#include <QTest>

#include <algorithm>
#include <memory>
#include <new>
#include <string_view>
#include <type_traits>
#include <vector>

using namespace tomarina;

namespace {

template <typename T> struct IsTable : std::false_type {};
template <typename T, int C> struct IsTable<FixedTable<T, C>> : std::true_type {};

// Every member of the two sets, slot by slot.
bool same_tables(const HotelTables& a, const HotelTables& b, QString* first_difference) {
    bool same = true;
    int index = 0;
    HotelTables::for_each_member([&](auto member) {
        const auto& x = a.*member;
        const auto& y = b.*member;
        using M = std::remove_cvref_t<decltype(x)>;
        bool equal = true;
        if constexpr (IsTable<M>::value) {
            for (int i = 0; i <= M::capacity && equal; ++i) equal = x(i) == y(i);
        } else {
            equal = x == y;
        }
        if (!equal && same) *first_difference = QStringLiteral("member %1").arg(index);
        same = same && equal;
        ++index;
    });
    return same;
}

// A second directory that fills other slots than the small one: more hotels, other numbers.
QByteArray other_directory() {
    DbSource s = test::small_source();
    for (int k = 0; k < 40; ++k) {
        DbSource::Hotel h = s.hotels[k % s.hotels.size()];
        h.name += QString::number(k);
        s.hotels.append(h);
    }
    s.districts.append(QStringLiteral("extra"));
    s.date = 40000;
    return build_database(s);
}

} // namespace

class TestTableReuse : public QObject {
    Q_OBJECT
  private slots:
    // The member list of clear() covers the whole object: built over two different byte patterns, every
    // byte outside the listed members still holds its pattern, so it is padding, not a member left out.
    void every_member_is_cleared() {
        alignas(HotelTables) static unsigned char a[sizeof(HotelTables)];
        alignas(HotelTables) static unsigned char b[sizeof(HotelTables)];
        std::fill(std::begin(a), std::end(a), 0xAA);
        std::fill(std::begin(b), std::end(b), 0x55);
        auto* ta = new (a) HotelTables;
        auto* tb = new (b) HotelTables;
        std::vector<bool> listed(sizeof(HotelTables));
        HotelTables::for_each_member([&](auto member) {
            const auto& value = ta->*member;
            const auto offset = std::size_t(reinterpret_cast<const unsigned char*>(&value) - a);
            for (std::size_t k = 0; k < sizeof(value); ++k) listed[offset + k] = true;
        });
        for (std::size_t k = 0; k < sizeof(HotelTables); ++k)
            if (!listed[k] && (a[k] != 0xAA || b[k] != 0x55))
                QFAIL(qPrintable(QStringLiteral("byte %1 belongs to a member clear() leaves out").arg(k)));
        ta->~HotelTables();
        tb->~HotelTables();
    }

    void cleared_set_reads_like_a_fresh_one() {
        const QByteArray small = build_database(test::small_source());
        const QByteArray other = other_directory();
        HotelTables fresh;
        Loader(fresh, small).load_all();

        HotelTables reused;
        Loader(reused, other).load_all();
        reused.hotel_name(15000) = QStringLiteral("stale");
        reused.clear();
        Loader(reused, small).load_all();
        QString difference;
        QVERIFY2(same_tables(fresh, reused, &difference), qPrintable(difference));

        reused.clear();
        QVERIFY2(same_tables(HotelTables(), reused, &difference), qPrintable(difference));
    }

    // A copy of a directory text, as a window or a search result keeps one, still reads the same after
    // the tables are cleared, loaded again or gone.
    void copied_texts_outlive_the_tables_data() {
        QTest::addColumn<int>("after");
        QTest::newRow("cleared") << 0;
        QTest::newRow("loaded again") << 1;
        QTest::newRow("destroyed") << 2;
    }
    void copied_texts_outlive_the_tables() {
        QFETCH(int, after);
        auto t = std::make_unique<HotelTables>();
        Loader(*t, build_database(test::small_source())).load_all();
        const QStringList copies = {t->hotel_name(1), t->hotel_note(1), t->hotel_url(1)};
        t->clear();
        if (after == 1) Loader(*t, other_directory()).load_all();
        if (after == 2) t.reset();
        // Read here, character by character, where the sanitizer sees each read.
        const std::u16string_view expected[] = {u"新宿グランドホテル", u"★★★",
                                                u"http://www.example.jp/shinjuku/"};
        for (int k = 0; k < 3; ++k)
            QVERIFY(std::u16string_view(reinterpret_cast<const char16_t*>(copies[k].constData()),
                                        copies[k].size()) == expected[k]);
    }

    // A table handed out whole, for an algorithm that writes through the pointer, is cleared whole.
    void whole_table_writes_are_cleared() {
        FixedTable<QString, 20> table;
        table.data()[20] = QStringLiteral("x");
        table.clear();
        QVERIFY(std::as_const(table)(20).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestTableReuse)
#include "test_table_reuse.moc"
