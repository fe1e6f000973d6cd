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
using Change = std::function<void(SettingsStore&)>;
Q_DECLARE_METATYPE(Change)

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
    void settings_tell_each_change_once_data() {
        QTest::addColumn<Change>("change");
        QTest::addColumn<QByteArray>("line"); // of the file, as the change makes it, read in the slot
        QTest::addColumn<int>("changes");
        QTest::addColumn<int>("browser_changes");
        const auto row = [](const char* name, int changes, int browser, QByteArray line, Change change) {
            QTest::newRow(name) << change << line << changes << browser;
        };
        row("a position", 1, 0, "tomarina12_top=300\r\ntomarina12_left=450", [](SettingsStore& s) {
            s.set_position(12, {300, 450});
        });
        row("the position it holds", 0, 0, {}, [](SettingsStore& s) { s.set_position(15, {5200, 3800}); });
        row("a window that keeps none", 0, 0, {}, [](SettingsStore& s) { s.set_position(2, {300, 450}); });
        row("max hits", 1, 0, "max_kensuu=200", [](SettingsStore& s) { s.set(&Settings::max_kensuu, 200); });
        row("the max hits it holds", 0, 0, {}, [](SettingsStore& s) { s.set(&Settings::max_kensuu, 1000); });
        row("the pop-up off", 1, 0, "sv_pop=0", [](SettingsStore& s) { s.set(&Settings::sv_pop, 0); });
        row("history entries, the newest again", 2, 0, "[Text2]\r\nItami\r\nNaha\r\n", [](SettingsStore& s) {
            for (const char* entry : {"Naha", "Itami", " Itami "}) s.add_history(SearchType::airport, entry);
        });
        row("a criterion without history", 0, 0, {},
            [](SettingsStore& s) { s.add_history(SearchType::keyword, "x"); });
        row("a column width", 1, 0, "sv_colwidth(1)=3000",
            [](SettingsStore& s) { s.set_column_width(1, 3000); });
        row("a column outside the table", 0, 0, {}, [](SettingsStore& s) { s.set_column_width(11, 3000); });
        row("another browser", 1, 1, "inet_data1=2\r\ninet_data2=/usr/bin/x",
            [](SettingsStore& s) { s.set_browser("2", "/usr/bin/x"); });
        row("the browser it holds", 0, 0, {}, [](SettingsStore& s) { s.set_browser("0", QString()); });
        row("a look-up that fails midway", 1, 1, "inet_data1=3", [](SettingsStore& s) {
            s.look_up_browser([](Settings& x) {
                x.inet_data1 = "3";
                x.sv_colwidth(11) = 1; // a checked table access failing
            });
        });
        row("a look-up that finds none", 0, 0, {},
            [](SettingsStore& s) { s.look_up_browser([](Settings&) {}); });
    }
    void settings_tell_each_change_once() {
        QFETCH(Change, change);
        QFETCH(QByteArray, line);
        QFETCH(int, changes);
        QFETCH(int, browser_changes);
        SettingsStore store;
        store.load({});
        const Settings before = store.values();
        QByteArrayList in_slot;
        connect(&store, &SettingsStore::changed, &store, [&] { in_slot << settings_bytes(store.values()); });
        QSignalSpy browser(&store, &SettingsStore::browser_changed);
        try {
            change(store);
        } catch (const std::out_of_range&) { // refused
        }
        QCOMPARE(in_slot.size(), changes);
        QCOMPARE(browser.count(), browser_changes);
        if (changes) QVERIFY(in_slot.last().contains(line) && !settings_bytes(before).contains(line));
        QCOMPARE(store.values() == before, changes == 0); // nothing changed that was not told
    }
};

QTEST_GUILESS_MAIN(TestOwners)
#include "test_owners.moc"
