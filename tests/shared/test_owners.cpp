#include "data/database.h"
#include "shared/app_state.h"
#include "shared/ordering.h"
#include "support/test_support.h"

#include <QSignalSpy>
#include <QTest>
#include <functional>
#include <map>
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
    // Hotels B, A in file order; told: user hotels, order and directory changes; the slot reads the first.
    void directory_tells_each_change_once_data() {
        QTest::addColumn<QList<int>>("told");
        QTest::addColumn<QString>("first_listed");
        QTest::newRow("add") << QList<int>{1, 0, 0} << u8("ホテルB");
        QTest::newRow("replace") << QList<int>{1, 0, 0} << u8("ホテルC");
        QTest::newRow("replace with what it holds") << QList<int>{0, 0, 0} << QString();
        QTest::newRow("delete") << QList<int>{1, 0, 0} << u8("ホテルA");
        QTest::newRow("delete a row not there") << QList<int>{0, 0, 0} << QString();
        QTest::newRow("order by name") << QList<int>{0, 1, 0} << u8("ホテルA");
        QTest::newRow("cancel with no file keeps them") << QList<int>{0, 0, 0} << QString();
        QTest::newRow("append to the directory") << QList<int>{0, 0, 1} << QString();
        QTest::newRow("append them again") << QList<int>{0, 0, 0} << QString();
    }
    void directory_tells_each_change_once() {
        QFETCH(QList<int>, told);
        QFETCH(QString, first_listed);
        const QString step = QString::fromUtf8(QTest::currentDataTag());
        Directory d;
        d.load([](HotelTables& t) { Loader(t, build_database(test::small_source())).load_all(); });
        const auto hotel = [](const char* name) {
            return EditFields{{{}, u8("東京"), u8("東京／羽田"), {}, u8(name)}};
        };
        for (const char* name : {"ホテルB", "ホテルA"}) d.add_user_hotel(hotel(name));
        d.list_in_file_order();
        if (step.endsWith(u"again")) d.add_user_hotels();
        QString seen;
        const auto first = [&] { seen = d.user_hotels().user_name(d.order().user_list(1)); };
        for (auto told_by : {&Directory::user_hotels_changed, &Directory::order_changed})
            connect(&d, told_by, &d, first);
        QSignalSpy users(&d, &Directory::user_hotels_changed), orders(&d, &Directory::order_changed),
            hotels(&d, &Directory::hotels_changed);
        const std::map<QString, std::function<void()>> steps{
            {u8("add"), [&] { d.add_user_hotel(hotel("ホテルC")); }},
            {u8("replace"), [&] { d.replace_user_hotel(1, hotel("ホテルC")); }},
            {u8("replace with what it holds"), [&] { d.replace_user_hotel(2, hotel("ホテルA")); }},
            {u8("delete"), [&] { d.delete_user_hotel(1); }},
            {u8("delete a row not there"), [&] { d.delete_user_hotel(3); }},
            {u8("order by name"), [&] { d.order_by(ordering_name(Ordering::name)); }},
            {u8("cancel with no file keeps them"),
             [&] { QVERIFY(d.reread_user_file(u8("/nonexistent/x"), {})); }},
            {u8("append to the directory"), [&] { QCOMPARE(d.add_user_hotels(), 0); }},
            {u8("append them again"), [&] { d.add_user_hotels(); }},
        };
        steps.at(step)();
        QCOMPARE((QList<int>{int(users.count()), int(orders.count()), int(hotels.count())}), told);
        QCOMPARE(seen, first_listed);
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
