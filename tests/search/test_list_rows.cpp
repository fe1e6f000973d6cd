#include "data/database.h"
#include "search/list_rows.h"
#include "search/search_texts.h"
#include "shared/selection.h"
#include "support/test_support.h"

#include <QTest>

using namespace tomarina;
using tomarina::test::u8;

namespace {

// Eleven prefectures: one in each of ten areas, the first area twice.
DbSource ten_areas() {
    DbSource src = test::small_source();
    src.prefectures.clear();
    const char* areas[] = {"北海道", "東北", "関東", "中部", "近畿", "中国", "四国", "九州", "沖縄", "離島"};
    src.prefectures.append({u8("北海道"), u8("北海道"), u8("北海道")});
    src.prefectures.append({u8("北海道"), u8("道東"), u8("道東")});
    for (int a = 1; a < 10; ++a) src.prefectures.append({u8(areas[a]), u8(areas[a]) + u8("県"), u8("")});
    src.hotels.clear();
    for (int k : {1, 1, 3, 11}) {
        DbSource::Hotel h;
        h.ken = k;
        h.airport = 1;
        h.syousai = 1;
        h.name = u8("ホテル");
        src.hotels << h;
    }
    return src;
}

HotelTables load(const DbSource& src) {
    HotelTables t;
    Loader(t, build_database(src)).load_all();
    return t;
}

QStringList names(const QStringList& rows) {
    QStringList out;
    for (const QString& r : rows) out << picker_name(r);
    return out;
}

} // namespace

class TestListRows : public QObject {
    Q_OBJECT
  private slots:
    void picker_row_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("row");
        QTest::newRow("three characters, two TABs") << u8("北海道") << 5 << u8("北海道\t\t5件");
        QTest::newRow("four characters, one TAB") << u8("東京／羽") << 12 << u8("東京／羽\t12件");
        QTest::newRow("five characters, one TAB") << u8("東京／羽田") << 300 << u8("東京／羽田\t300件");
        QTest::newRow("no hotels: no count, no 件") << u8("沖縄") << 0 << u8("沖縄\t\t");
        QTest::newRow("count wider than the picture")
            << u8("東京都区内") << 12345 << u8("東京都区内\t12345件");
        QTest::newRow("empty name") << QString() << 1 << u8("\t\t1件");
    }
    void picker_row() {
        QFETCH(QString, name);
        QFETCH(int, count);
        QFETCH(QString, row);
        QCOMPARE(tomarina::picker_row(name, Integer(count)), row);
    }

    void picker_name_data() {
        QTest::addColumn<QString>("row");
        QTest::addColumn<QString>("name");
        QTest::newRow("before the first TAB") << u8("北海道\t\t5件") << u8("北海道");
        QTest::newRow("the synonym is kept") << u8("東京／成田\t3件") << u8("東京／成田");
        QTest::newRow("surrounding blanks go") << u8("  千葉\t\t ") << u8("千葉");
        QTest::newRow("no TAB: the whole row") << u8(" 東京 ") << u8("東京");
        QTest::newRow("empty") << QString() << QString();
    }
    void picker_name() {
        QFETCH(QString, row);
        QFETCH(QString, name);
        QCOMPARE(tomarina::picker_name(row), name);
    }

    void prefecture_rows_by_area() {
        const HotelTables t = load(ten_areas());
        QCOMPARE(t.area_list(10), u8("離島"));
        // Every prefecture under the whole country, in table order, with its database hotels.
        const QStringList all = picker_rows(t, SearchType::prefecture, 0);
        QCOMPARE(all.size(), 11);
        QCOMPARE(all.first(), u8("北海道\t\t2件"));
        QCOMPARE(all[1], u8("道東\t\t"));
        QCOMPARE(all[2], u8("東北県\t\t1件"));
        QCOMPARE(all.last(), u8("離島県\t\t1件"));
        QCOMPARE(names(picker_rows(t, SearchType::prefecture, 1)), QStringList({u8("北海道"), u8("道東")}));
        QCOMPARE(names(picker_rows(t, SearchType::prefecture, 9)), QStringList({u8("沖縄県")}));
        // The tenth area has no option of its own: its prefecture shows only under the whole country.
        for (int indx = 1; indx <= 9; ++indx)
            QVERIFY(!names(picker_rows(t, SearchType::prefecture, indx)).contains(u8("離島県")));
        QVERIFY(picker_rows(t, SearchType::prefecture, 10).isEmpty());
        QVERIFY(picker_rows(t, SearchType::prefecture, -1).isEmpty());
    }

    void airport_rows_by_area_number() {
        DbSource src = test::small_source();
        src.airports.append({u8("那覇"), 9});
        const HotelTables t = load(src);
        QCOMPARE(names(picker_rows(t, SearchType::airport, 0)),
                 QStringList(
                     {u8("札幌／新千歳"), u8("東京／羽田"), u8("東京／成田"), u8("大阪／伊丹"), u8("那覇")}));
        QCOMPARE(names(picker_rows(t, SearchType::airport, 4)),
                 QStringList({u8("東京／羽田"), u8("東京／成田")}));
        QCOMPARE(picker_rows(t, SearchType::airport, 9), QStringList({u8("那覇\t\t")}));
        QVERIFY(picker_rows(t, SearchType::airport, 3).isEmpty());
        // Counts are of the directory's hotels: 羽田 has three of the six.
        QCOMPARE(picker_rows(t, SearchType::airport, 4).first(), u8("東京／羽田\t3件"));
    }

    void option_captions_follow_the_mode() {
        const HotelTables t = load(test::small_source());
        QCOMPARE(picker_option_caption(t, SearchType::prefecture, 0), u8("全国"));
        QCOMPARE(picker_option_caption(t, SearchType::prefecture, 2), u8("関東"));
        QCOMPARE(picker_option_caption(t, SearchType::prefecture, 3), QString());
        QCOMPARE(picker_option_caption(t, SearchType::airport, 0),
                 QStringView(directory_words::area_titles[0]).toString());
        QCOMPARE(picker_option_caption(t, SearchType::airport, 3),
                 QStringView(directory_words::area_titles[3]).toString());
        QCOMPARE(picker_option_caption(t, SearchType::airport, 9),
                 QStringView(directory_words::area_titles[9]).toString());
        QCOMPARE(picker_texts(SearchType::prefecture).frame, search_texts::prefecture_frame);
        QCOMPARE(picker_texts(SearchType::airport).heading, search_texts::airport_heading);
    }

    void offered_districts_leave_out_the_chosen() {
        SearchState s;
        const QStringList found = {u8("新宿"), u8("京橋"), u8("銀座"), u8("成田"), u8("新宿 ")};
        for (int k = 0; k < found.size(); ++k) s.sel_syousai(k + 1) = found[k];
        s.sel_syousai_count = Integer(found.size());
        QCOMPARE(offered_districts(s), found);
        QVERIFY(chosen_districts(s).isEmpty());
        store_narrowing(s, {u8("銀座"), u8("新宿")});
        QCOMPARE(s.narrow_count, Integer(2));
        QCOMPARE(chosen_districts(s), QStringList({u8("銀座"), u8("新宿")}));
        // The comparison is exact: "新宿 " with its blank is still offered.
        QCOMPARE(offered_districts(s), QStringList({u8("京橋"), u8("成田"), u8("新宿 ")}));
        store_narrowing(s, {});
        QCOMPARE(s.narrow_count, Integer(0));
        QCOMPARE(offered_districts(s), found);
    }

    void move_rows_appends_in_list_order() {
        QStringList from = {"a", "b", "c", "d", "e"};
        QStringList to = {"x"};
        move_rows(from, to, {3, 1});
        QCOMPARE(to, QStringList({"x", "b", "d"}));
        QCOMPARE(from, QStringList({"a", "c", "e"}));
        QCOMPARE(moved_rows_notice(to.mid(1), true), u8("b、d を選択済みに移しました"));
        QCOMPARE(moved_rows_notice({"b"}, false), u8("b をホテル地区名に戻しました"));
        QCOMPARE(moved_rows_notice(from + to, true), u8("6 件の地区を選択済みに移しました"));
        // Moved back, rows go to the end, not to their former place.
        move_rows(to, from, {1});
        QCOMPARE(from, QStringList({"a", "c", "e", "b"}));
        // Repeated and stray indexes move nothing twice.
        move_rows(from, to, {0, 0, 9, -1});
        QCOMPARE(from, QStringList({"c", "e", "b"}));
        QCOMPARE(to, QStringList({"x", "d", "a"}));
    }

    void narrowing_keeps_to_its_capacity() {
        SearchState s;
        QStringList many;
        for (int k = 0; k < 3005; ++k) many << QString::number(k);
        store_narrowing(s, many);
        QCOMPARE(s.narrow_count, Integer(3000));
        QCOMPARE(s.narrow_syousai(3000), QStringLiteral("2999"));
    }

    void region_separator_data() {
        QTest::addColumn<int>("length");
        QTest::addColumn<QString>("separator");
        for (int n : {0, 2, 4}) QTest::addRow("%d characters", n) << n << QStringLiteral("\t\t");
        for (int n : {5, 6, 8}) QTest::addRow("%d characters", n) << n << QStringLiteral("\t");
        for (int n : {9, 10, 12, 13, 40}) QTest::addRow("%d characters", n) << n << QStringLiteral("   ");
    }
    void region_separator() {
        QFETCH(int, length);
        QFETCH(QString, separator);
        QCOMPARE(tomarina::region_separator(length), separator);
    }

    void region_rows_and_their_links() {
        HotelTables t;
        const QStringList areas = {u8("東北"), u8("  東北  "), u8("北陸・甲信越"), u8("北海道・東北・関東"),
                                   u8("北海道・東北・関東・甲信越・北陸")};
        for (int j = 1; j <= areas.size(); ++j) {
            t.rsv_area(j) = areas[j - 1];
            t.rsv_text(j) = u8("説明") + QString::number(j);
            t.rsv_link(j) = QStringLiteral("http://example.jp/r%1").arg(j);
        }
        t.rsv_count = Integer(areas.size());
        FixedTable<QString, HotelTables::rsv_capacity> links;
        links(7) = QStringLiteral("stale");
        const QStringList rows = region_rows(t, links);
        QCOMPARE(rows,
                 QStringList({u8("東北\t\t説明1"),
                              // Shown trimmed; the stored length of 6 decides the separator.
                              u8("東北\t説明2"), u8("北陸・甲信越\t説明3"), u8("北海道・東北・関東   説明4"),
                              // Longer than twelve: still its own name and text.
                              u8("北海道・東北・関東・甲信越・北陸   説明5")}));
        QCOMPARE(links(3), QStringLiteral("http://example.jp/r3"));
        QCOMPARE(links(5), QStringLiteral("http://example.jp/r5"));
        QCOMPARE(links(7), QString());
        t.rsv_count = 0;
        QVERIFY(region_rows(t, links).isEmpty());
        QCOMPARE(links(1), QString());
    }
};

QTEST_GUILESS_MAIN(TestListRows)
#include "data/directory_words.h"
#include "test_list_rows.moc"
