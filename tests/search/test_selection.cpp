#include "data/database.h"
#include "data/text_rules.h"
#include "data/user_file.h"
#include "shared/selection.h"
#include "shared/shared_texts.h"
#include "support/test_support.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTest>

using namespace tomarina;
using tomarina::test::u8;

namespace {

struct World {
    HotelTables t;
    SearchState s;
    explicit World(const DbSource& src) {
        const QByteArray bytes = build_database(src);
        Loader(t, bytes).load_all();
    }
    QList<int> run(int type, const QString& key, Integer limit = 1000) {
        s.search_type = SearchType(type);
        s.search_key = key;
        select_hotels(t, s, limit);
        QList<int> hits;
        for (int k = 1; k <= s.sel_count; ++k) hits << s.sel_hotel(k);
        return hits;
    }
    QStringList districts() const {
        QStringList d;
        for (int k = 1; k <= s.sel_syousai_count; ++k) d << s.sel_syousai(k);
        return d;
    }
};

DbSource::Hotel hotel(int ken, int airport, int syousai, const QString& name, const QString& access = {},
                      const QString& note = {}) {
    DbSource::Hotel h;
    h.ken = ken;
    h.airport = airport;
    h.syousai = syousai;
    h.name = name;
    h.access = access;
    h.note = note;
    return h;
}

} // namespace

class TestSelection : public QObject {
    Q_OBJECT
  private slots:
    void limit_ends_the_scan_at_once() {
        DbSource src = test::small_source();
        src.hotels.clear();
        for (int i = 1; i <= 10; ++i)
            src.hotels << hotel(2, 2, i <= 2 ? 2 : (i == 3 ? 5 : 3), u8("ホテル") + QString::number(i));
        World w(src);
        QCOMPARE(w.run(1, u8("東京"), 3), QList<int>({1, 2, 3}));
        // The third hit's district (銀座) was never reached by the district list.
        QCOMPARE(w.districts(), QStringList({u8("新宿")}));
        QCOMPARE(w.run(1, u8("東京"), 1000).size(), 10);
        QCOMPARE(w.districts(), QStringList({u8("新宿"), u8("銀座"), u8("京橋")}));
        // A keyword in every hotel with a limit above the count returns all, in table order.
        QCOMPARE(w.run(6, u8("ホテル"), 32767), QList<int>({1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    }

    void airport_synonyms() {
        DbSource src = test::small_source();
        src.hotels = {hotel(2, 2, 2, u8("羽田の")), hotel(3, 3, 4, u8("成田の")),
                      hotel(2, 2, 3, u8("羽田の２"))};
        World w(src);
        QCOMPARE(w.run(2, u8("東京／成田")), QList<int>({1, 3}));
        QCOMPARE(w.run(2, u8("東京／羽田")), QList<int>({1, 3}));
        QCOMPARE(w.run(2, u8("札幌／新千歳")), QList<int>());
        QCOMPARE(airport_synonym(u8("大阪／関西")), u8("大阪／伊丹"));
        QCOMPARE(airport_synonym(u8("福岡")), u8("福岡"));
    }

    void narrowing() {
        World w(test::small_source());
        const QList<int> all = w.run(1, u8("東京"));
        QCOMPARE(all, QList<int>({1, 2, 5, 6}));
        const QStringList districts = w.districts();
        QCOMPARE(districts, QStringList({u8("新宿"), u8("京橋"), u8("銀座")}));
        w.s.narrow_count = 1;
        w.s.narrow_syousai(1) = u8("札幌駅前");
        QCOMPARE(w.run(1, u8("東京")), QList<int>());
        QCOMPARE(w.districts(), districts);
        w.s.narrow_count = 2;
        w.s.narrow_syousai(1) = u8(" 新宿 ");
        w.s.narrow_syousai(2) = u8("銀座");
        QCOMPARE(w.run(1, u8("東京")), QList<int>({1, 5, 6}));
        QCOMPARE(w.districts(), districts);
    }

    void matching_rules() {
        DbSource src = test::small_source();
        src.prefectures << std::array<QString, 3>{u8("関東"), u8("ｶﾅｶﾞﾜ"), u8("神奈川県")};
        src.hotels = {hotel(2, 2, 2, u8("ＡＢＣホテル"), u8("新宿駅"), u8("abc")),
                      hotel(2, 2, 2, u8("abcホテル"), QString(), QString()),
                      hotel(4, 0, 2, u8("ホテルＡＢＣ")), hotel(2, 0, 2, u8("ザ・ＡＢＣ・イン")),
                      hotel(2, 0, 2, u8("ＡＢＣ"))};
        World w(src);
        // Full-width letters match half-width remarks, never a half-width name.
        QCOMPARE(w.run(6, to_full_width(u8("abc"))), QList<int>({1}));
        // Start, middle, end, whole.
        QCOMPARE(w.run(3, u8("ＡＢＣ")), QList<int>({1, 3, 4, 5}));
        // A half-width table name is accepted by the check but never matches.
        const auto kanagawa = accept_search_entry(w.t, SearchType::prefecture, u8("神奈川県"));
        QVERIFY(kanagawa);
        QCOMPARE(kanagawa->entry, u8("ｶﾅｶﾞﾜ"));
        QCOMPARE(w.run(1, kanagawa->search_key), QList<int>());
        QCOMPARE(w.run(5, u8("新宿")), QList<int>({1}));
        QCOMPARE(w.run(4, u8("新")), QList<int>({1, 2, 3, 4, 5}));
        // A prefecture outside the table matches nothing and is no field for the keyword.
        QCOMPARE(w.run(6, u8("東京")), QList<int>({1, 2, 4, 5}));
    }

    void districts_differing_by_blanks_are_one() {
        DbSource src = test::small_source();
        src.districts = {u8("新宿"), u8(" 新宿"), u8("新宿 "), u8("銀座")};
        src.hotels = {hotel(2, 2, 2, u8("一")), hotel(2, 2, 1, u8("二")), hotel(2, 2, 3, u8("三")),
                      hotel(2, 2, 4, u8("四"))};
        World w(src);
        w.run(1, u8("東京"));
        QCOMPARE(w.districts(), QStringList({u8(" 新宿"), u8("銀座")}));
        w.s.narrow_count = 1;
        w.s.narrow_syousai(1) = u8("新宿");
        QCOMPARE(w.run(1, u8("東京")), QList<int>({1, 2, 3}));
    }

    void user_hotels_come_last() {
        World w(test::small_source());
        UserTables u;
        u.user_count = 2;
        u.user_ken_name(1) = u8("東京");
        u.user_syousai_name(1) = u8("自分の地区");
        u.user_name(1) = u8("マイホテル");
        u.user_ken_name(2) = u8("未知");
        u.user_syousai_name(2) = u8("新宿");
        u.user_name(2) = u8("別ホテル");
        for (int i = 1; i <= 2; ++i) derive_user_hotel(u, i, w.t);
        copy_user_hotel(u, w.t);
        QCOMPARE(w.run(1, u8("東京")), QList<int>({1, 2, 5, 6, 7}));
        QCOMPARE(w.run(4, u8("新宿")), QList<int>({1, 6, 8}));
        QCOMPARE(w.run(6, u8("未知")), QList<int>());
    }

    void keyword_reads_remarks_in_full_width_and_keeps_them_as_stored() {
        World w(test::small_source());
        UserTables u;
        u.user_count = 1;
        set_user_record(u, 1, {u8("東京"), {}, {}, u8("マイホテル"), {}, {}, {}, {}, u8("ﾍﾟｯﾄ可 wifi")});
        derive_user_hotel(u, 1, w.t);
        copy_user_hotel(u, w.t);
        QCOMPARE(w.run(6, search_key_of(u8("ﾍﾟｯﾄ"))), QList<int>({7}));
        QCOMPARE(w.run(6, search_key_of(u8("wifi"))), QList<int>({7}));
        // The grid and the detail window show the remarks as typed.
        QCOMPARE(w.t.hotel_note(7), u8("ﾍﾟｯﾄ可 wifi"));
        // A second copy over the same row replaces the converted remarks too.
        u.user_note(1) = u8("禁煙");
        copy_user_hotel(u, w.t);
        QCOMPARE(w.run(6, search_key_of(u8("wifi"))), QList<int>());
    }

    void entry_check_data() {
        QTest::addColumn<int>("option");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("key");
        QTest::newRow("prefecture by its other name, blanks aside")
            << 1 << u8("  東京都 ") << true << u8("東京") << u8("東京");
        QTest::newRow("airport, not replaced")
            << 2 << u8("東京／成田 ") << true << u8("東京／成田 ") << u8("東京／成田　");
        QTest::newRow("no such airport") << 2 << u8("福岡") << false << QString() << QString();
        QTest::newRow("no such prefecture") << 1 << u8("福岡") << false << QString() << QString();
        QTest::newRow("blanks are a hotel name")
            << 3 << QStringLiteral("   ") << true << QStringLiteral("   ") << u8("　　　");
        QTest::newRow("empty keyword") << 6 << QString() << false << QString() << QString();
        QTest::newRow("keyword to full width")
            << 6 << u8("ﾎﾃﾙ abc") << true << u8("ﾎﾃﾙ abc") << u8("ホテル　ａｂｃ");
        QTest::newRow("no such criterion") << 7 << u8("東京") << false << QString() << QString();
        // Only half-width blanks are removed around a name.
        QTest::newRow("prefecture with a full-width blank after it")
            << 1 << u8("東京　") << false << QString() << QString();
        QTest::newRow("prefecture's other name after a full-width blank")
            << 1 << u8("　東京都") << false << QString() << QString();
        QTest::newRow("airport with a full-width blank after it")
            << 2 << u8("東京／成田　") << false << QString() << QString();
        QTest::newRow("a full-width blank is a keyword") << 6 << u8("　") << true << u8("　") << u8("　");
        // A typed yen sign is the data's.
        QTest::newRow("typed yen sign") << 6 << u8("¥800") << true << u8("\\800") << u8("￥８００");
        // An input method's wave dash and minus sign are the directory's.
        QTest::newRow("typed wave dash")
            << 3 << u8("波〜ホテル") << true << u8("波～ホテル") << u8("波～ホテル");
        QTest::newRow("typed minus sign") << 6 << u8("03−1") << true << u8("03－1") << u8("０３－１");
    }
    void entry_check() {
        QFETCH(int, option);
        QFETCH(QString, entry);
        QFETCH(bool, accepted);
        QFETCH(QString, shown);
        QFETCH(QString, key);
        World w(test::small_source());
        const auto a = accept_search_entry(w.t, SearchType(option), entry);
        QCOMPARE(a.has_value(), accepted);
        if (!a) return;
        QCOMPARE(a->search_type, SearchType(option));
        QCOMPARE(a->entry, shown);
        QCOMPARE(a->search_key, key);
        QCOMPARE(search_key_of(shown), key);
    }

    void tool_search_runs_the_same_code() {
        test::ProgramDir dir(build_database(test::small_source()));
        dir.write(
            QStringLiteral("hotelusr.csv"),
            encode_cp932(u8("\"東京\",\"\",\"新宿\",\"マイホテル\",\"\",\"\",\"\",\"\",\"夕食\\800\"\r\n")));
        auto run = [&](const QStringList& args, int* rc = nullptr) {
            QProcess p;
            p.start(QStringLiteral(TOMARINA_TOOL), args);
            p.waitForFinished(60000);
            if (rc) *rc = p.exitCode();
            return QJsonDocument::fromJson(p.readAllStandardOutput()).object();
        };
        int rc = -1;
        QJsonObject o = run({"search", "--dir", dir.path(), "--type", "1", "--key", u8(" 東京都"), "--order",
                             QStringView(shared_texts::order_by_name).toString()},
                            &rc);
        QCOMPARE(rc, 0);
        QCOMPARE(o[u"search_key"_qs].toString(), u8("東京"));
        QCOMPARE(o[u"hotel_count"_qs].toInt(), 7);
        // By name in code-unit order: ホテル京橋, マイホテル (the user hotel, 7), 新宿グランド, 新宿ビジネス,
        // 銀座
        QCOMPARE(o[u"sel_hotel"_qs].toArray(), QJsonArray({2, 7, 1, 6, 5}));
        QCOMPARE(o[u"sel_syousai"_qs].toArray(), QJsonArray({u8("新宿"), u8("京橋"), u8("銀座")}));
        o = run({"search", "--dir", dir.path(), "--type", "4", "--key", u8("新宿"), "--narrow", u8("新宿"),
                 "--limit", "2"});
        QCOMPARE(o[u"sel_count"_qs].toInt(), 2);
        run({"search", "--dir", dir.path(), "--type", "2", "--key", u8("那覇")}, &rc);
        QCOMPARE(rc, 2);
        // The key is checked as the search window checks it: a full-width blank is no blank there.
        run({"search", "--dir", dir.path(), "--type", "1", "--key", u8("東京　")}, &rc);
        QCOMPARE(rc, 2);
        // A typed yen sign finds the data's.
        for (const char* key : {"¥800", "\\800"}) {
            o = run({"search", "--dir", dir.path(), "--type", "6", "--key", u8(key)}, &rc);
            QCOMPARE(rc, 0);
            QCOMPARE(o[u"search_key"_qs].toString(), u8("￥８００"));
            QCOMPARE(o[u"sel_hotel"_qs].toArray(), QJsonArray({7}));
        }
        o = run({"order-user", "--dir", dir.path(), "--order",
                 QStringView(shared_texts::order_by_tel).toString()},
                &rc);
        QCOMPARE(rc, 0);
        QCOMPARE(o[u"user_list"_qs].toArray(), QJsonArray({1}));
    }

    void out_of_range_types_select_nothing() {
        World w(test::small_source());
        QCOMPARE(w.run(7, u8("東京")), QList<int>());
        QCOMPARE(w.run(0, u8("東京")), QList<int>());
    }
};

QTEST_GUILESS_MAIN(TestSelection)
#include "shared/shared_texts.h"
#include "test_selection.moc"
