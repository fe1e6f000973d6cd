#include "data/database.h"
#include "shared/app_state.h"
#include "shared/ordering.h"
#include "support/test_support.h"

#include <QSignalSpy>
#include <QTest>
#include <stdexcept>

using namespace tomarina;
using tomarina::test::u8;

class TestOwners : public QObject {
    Q_OBJECT
  private slots:
    // The order the results window shows; the small directory's Tokyo hotels are 1, 2, 5, 6.
    void search_tells_each_change_once_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<int>("stop_after");
        QTest::addColumn<QString>("ordering");
        QTest::addColumn<QList<int>>("progress");
        QTest::addColumn<int>("ordered");
        QTest::addColumn<QList<int>>("hits");
        const QList<int> all{1, 2, 3}, ken{6, 1, 2, 5};
        QTest::newRow("by price") << u8("東京") << 0 << ordering_name(Ordering::price) << all << 1
                                  << QList<int>{6, 2, 1, 5};
        QTest::newRow("the order it holds, by default")
            << u8("東京") << 0 << ordering_name(Ordering::ken) << all << 0 << ken;
        QTest::newRow("stopped") << u8("東京") << 1 << QString() << QList<int>{1} << 0 << QList<int>{};
    }
    void search_tells_each_change_once() {
        QFETCH(QString, key);
        QFETCH(int, stop_after);
        QFETCH(QString, ordering);
        QFETCH(QList<int>, progress);
        QFETCH(int, ordered);
        QFETCH(QList<int>, hits);
        HotelTables db;
        Loader(db, build_database(test::small_source())).load_all();
        HotelSearch search(db);
        QList<int> steps, seen;
        connect(&search, &HotelSearch::progress, &search, [&](int step) { steps << step; });
        const auto rows = [&] {
            seen.clear();
            for (int r = 1; r <= search.rows().count(); ++r) seen << search.rows().hotel(r);
        };
        connect(&search, &HotelSearch::searched, &search, rows);
        connect(&search, &HotelSearch::ordered, &search, rows);
        QSignalSpy searches(&search, &HotelSearch::searched), orders(&search, &HotelSearch::ordered);
        const bool done = search.run({SearchType::prefecture, key, {}}, 1000,
                                     [&] { return stop_after == 0 || steps.size() < stop_after; });
        QCOMPARE(steps, progress);
        QCOMPARE(searches.count(), done ? 1 : 0);
        QCOMPARE(done, stop_after == 0);
        if (!ordering.isNull()) search.order_by(ordering);
        QCOMPARE(orders.count(), ordered);
        QCOMPARE(seen, hits); // as read in the slot
    }
    void browser_registration_tells_a_change_once_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("changes");
        QTest::newRow("the same") << u8("1") << 0;
        QTest::newRow("another") << u8("2") << 1;
        QTest::newRow("a look-up that fails midway") << QString() << 1;
    }
    void browser_registration_tells_a_change_once() {
        QFETCH(QString, kind);
        QFETCH(int, changes);
        Settings s;
        s.inet_data1 = u8("1");
        BrowserRegistration browser(s);
        QSignalSpy spy(&browser, &BrowserRegistration::changed);
        browser.look_up([&](Settings& x) {
            x.inet_data1 = kind;
            if (kind.isNull()) throw std::out_of_range("slot"); // a checked table access failing
        });
        QCOMPARE(spy.count(), changes);
    }
};

QTEST_GUILESS_MAIN(TestOwners)
#include "test_owners.moc"
