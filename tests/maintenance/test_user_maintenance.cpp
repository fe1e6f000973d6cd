#include "data/database.h"
#include "data/text_rules.h"
#include "data/user_file.h"
#include "maintenance/maintenance_texts.h"
#include "maintenance/user_maintenance.h"
#include "shared/ordering.h"
#include "support/test_support.h"

#include <QTest>

using namespace tomarina;
using tomarina::test::u8;
namespace texts = tomarina::maintenance_texts;

namespace {

struct Tables {
    HotelTables t;
    std::unique_ptr<UserTables> u = std::make_unique<UserTables>();
    std::unique_ptr<OrderState> o = std::make_unique<OrderState>();
    Tables() {
        const QByteArray bytes = build_database(test::small_source());
        Loader(t, bytes).load_all();
    }
    // Adds a hotel with the given prefecture, airport, name and rate; the other fields filled.
    void add(const char* ken, const char* airport, const char* name, const char* price = "\\8,000") {
        const int i = u->user_count + 1;
        set_user_record(*u, i,
                        {u8(ken), u8(airport), u8("京橋"), u8(name), u8("03-0000-0000"), u8("10"), u8("徒歩"),
                         u8(price), u8("○")});
        derive_user_hotel(*u, i, t);
        u->user_count = Integer(i);
        o->user_list(i) = Integer(i);
    }
    QStringList names_in_list() const {
        QStringList out;
        for (int r = 1; r <= u->user_count; ++r) out << u->user_name(o->user_list(r));
        return out;
    }
};

// Fields that pass every check.
EditFields good_fields() {
    EditFields f;
    f[1] = u8("東京");
    f[2] = u8("東京／羽田");
    f[3] = u8("京橋");
    f[4] = u8("トマリナホテル");
    f[5] = u8("012-345-6789");
    f[6] = u8("123");
    f[7] = u8("京橋駅徒歩１０分");
    f[8] = u8("10000");
    f[9] = u8("○");
    return f;
}

} // namespace

class TestUserMaintenance : public QObject {
    Q_OBJECT
  private slots:
    void enter_checks_data() {
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("after");

        QTest::newRow("prefecture empty") << 1 << QString() << texts::prefecture_missing << QString();
        QTest::newRow("prefecture unknown") << 1 << u8("大阪") << texts::prefecture_unknown << u8("大阪");
        QTest::newRow("prefecture with blanks") << 1 << u8(" 東京 ") << QString() << u8(" 東京 ");
        QTest::newRow("airport empty") << 2 << QString() << texts::airport_missing << QString();
        QTest::newRow("airport unknown") << 2 << u8("羽田") << texts::airport_unknown << u8("羽田");
        QTest::newRow("district empty takes the airport") << 3 << QString() << QString() << u8("東京／羽田");
        QTest::newRow("hotel name empty") << 4 << QString() << texts::hotel_name_missing << QString();
        QTest::newRow("telephone empty") << 5 << QString() << texts::phone_missing << QString();
        QTest::newRow("rooms empty passes") << 6 << QString() << QString() << QString();
        QTest::newRow("rooms with a letter") << 6 << u8("12a") << texts::rooms_not_digits << u8("12a");
        QTest::newRow("rooms full-width digits") << 6 << u8("１２") << texts::rooms_not_digits << u8("１２");
        QTest::newRow("access empty passes") << 7 << QString() << QString() << QString();
        QTest::newRow("rate typed plain") << 8 << u8("10000") << QString() << u8("\\10,000");
        QTest::newRow("rate with yen sign kept") << 8 << u8("\\10000") << QString() << u8("\\10000");
        QTest::newRow("rate typed with the yen glyph") << 8 << u8("¥2500") << QString() << u8("¥2500");
        QTest::newRow("rate of one digit") << 8 << u8("5") << texts::rate_missing << u8("\\5");
        QTest::newRow("rate of letters") << 8 << u8("abc") << texts::rate_missing << u8("abc");
        QTest::newRow("rate empty") << 8 << QString() << texts::rate_missing << QString();
        QTest::newRow("rate yen sign alone") << 8 << u8("\\") << texts::rate_missing << u8("\\");
        QTest::newRow("remark empty passes") << 9 << QString() << QString() << QString();
        QTest::newRow("emoji in the hotel name")
            << 4 << u8("ホテル😀") << texts::unstorable_characters.arg(field_name(4)) << u8("ホテル😀");
        QTest::newRow("accented letter in the access")
            << 7 << u8("café前") << texts::unstorable_characters.arg(field_name(7)) << u8("café前");
        QTest::newRow("line break in the remark")
            << 9 << u8("a\nb") << texts::unstorable_characters.arg(field_name(9)) << u8("a\nb");
        QTest::newRow("wave dash from an input method is kept")
            << 9 << u8("9時〜") << QString() << u8("9時〜");
    }
    void enter_checks() {
        QFETCH(int, field);
        QFETCH(QString, typed);
        QFETCH(QString, message);
        QFETCH(QString, after);
        Tables tb;
        EditFields f = good_fields();
        f[std::size_t(field)] = typed;
        QCOMPARE(enter_check(field, f, tb.t), message);
        QCOMPARE(f[std::size_t(field)], after);
    }

    // Each store button names the first refused field, in field order, with its own airport messages.
    void store_checks_in_order() {
        Tables tb;
        EditFields f;
        auto expect = [&](StoreButton b, int field, const QString& message) {
            EditFields g = f;
            const auto r = store_check(b, g, tb.t);
            QVERIFY2(r, qPrintable(message));
            QCOMPARE(r->field, field);
            QCOMPARE(r->message, message);
        };
        for (StoreButton b : {StoreButton::Update, StoreButton::AddUpdate}) {
            const bool upd = b == StoreButton::Update;
            f = EditFields{};
            expect(b, 1, texts::prefecture_missing);
            f[1] = u8("大阪");
            expect(b, 1, texts::prefecture_unknown);
            f[1] = u8("千葉");
            expect(b, 2, upd ? texts::airport_missing : texts::hotel_airport_missing);
            f[2] = u8("成田");
            expect(b, 2, upd ? texts::airport_unknown_on_update : texts::hotel_airport_unknown);
            f[2] = u8("東京／成田");
            expect(b, 4, texts::hotel_name_missing);
            f[4] = u8("成田ホテル");
            expect(b, 5, texts::phone_missing);
            f[5] = u8("0476");
            f[6] = u8("x");
            expect(b, 6, texts::rooms_not_digits);
            f[6] = QString();
            f[7] = u8("😀");
            expect(b, 7, texts::unstorable_characters.arg(field_name(7)));
            f[7] = QString();
            expect(b, 8, texts::rate_missing);
            f[8] = u8("7");
            expect(b, 8, texts::rate_missing);
            f[8] = u8("7000");
            f[9] = u8("😀");
            expect(b, 9, texts::unstorable_characters.arg(field_name(9)));
            f[9] = QString();
            EditFields g = f;
            QVERIFY(!store_check(b, g, tb.t));
            QCOMPARE(g[3], u8("東京／成田"));
            QCOMPARE(g[8], u8("\\7,000"));
        }
    }

    void rate_rule_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("value");
        QTest::newRow("plain") << u8("10000") << u8("\\10,000") << 10000;
        QTest::newRow("millions") << u8("1234567") << u8("\\1,234,567") << 1234567;
        QTest::newRow("commas") << u8("12,000") << u8("\\12,000") << 12000;
        QTest::newRow("yen and commas") << u8("\\9,800") << u8("\\9,800") << 9800;
        QTest::newRow("surrounding blanks") << u8(" 8000 ") << u8("\\8,000") << 8000;
        QTest::newRow("fraction rounds") << u8("99.6") << u8("\\100") << 100;
        QTest::newRow("one character") << u8("9") << u8("\\9") << 0;
        QTest::newRow("letters") << u8("abc") << u8("abc") << 0;
        QTest::newRow("yen then kanji") << u8("\\一万") << u8("\\一万") << 0;
        QTest::newRow("too large for the table") << u8("99999999999") << u8("\\99,999,999,999") << 0;
    }
    void rate_rule() {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(int, value);
        QCOMPARE(rate_shown(typed), shown);
        QCOMPARE(rate_value(typed), Long(value));
    }

    void edit_data_stores_and_derives() {
        Tables tb;
        EditFields f = good_fields();
        f[1] = u8(" 東京");
        f[3] = QString();
        f[8] = u8("¥10000");
        QVERIFY(!store_check(StoreButton::Update, f, tb.t));
        tb.u->user_copied_flg = 1;
        edit_data(*tb.u, 1, f, tb.t);
        const UserTables& u = *tb.u;
        QCOMPARE(u.user_ken_name(1), u8(" 東京")); // stored untrimmed
        QCOMPARE(u.user_ken(1), Long(99));         // and so not found
        QCOMPARE(u.user_airport_name(1), u8("東京／羽田"));
        QCOMPARE(u.user_airport(1), Long(2));
        QCOMPARE(u.user_syousai_name(1), u8("東京／羽田"));
        QCOMPARE(u.user_syousai(1), Long(999));
        QCOMPARE(u.user_price(1), u8("\\10,000"));
        QCOMPARE(u.user_price_num(1), Long(10000));
        QCOMPARE(u.user_copied_flg, Integer(0));

        // The yen glyph and the input method's twins are stored as the code page holds them.
        f[9] = u8("〜¥");
        edit_data(*tb.u, 2, f, tb.t);
        QCOMPARE(u.user_note(2), u8("～\\"));
        // An index the tables do not have stores nothing.
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, edit_data(*tb.u, UserTables::user_capacity + 1, f, tb.t));
    }

    // After an ordering by name, deleting a row keeps every other hotel once, in the same order.
    void delete_after_ordering() {
        Tables tb;
        tb.add("東京", "東京／羽田", "ホテルC");
        tb.add("千葉", "東京／成田", "ホテルA");
        tb.add("北海道", "札幌／新千歳", "ホテルE");
        tb.add("東京", "東京／羽田", "ホテルB");
        tb.add("東京", "東京／羽田", "ホテルD");
        tb.o->user_sort_key_name = ordering_name(Ordering::name);
        sort_user_hotel(*tb.u, *tb.o);
        QCOMPARE(tb.names_in_list(),
                 (QStringList{u8("ホテルA"), u8("ホテルB"), u8("ホテルC"), u8("ホテルD"), u8("ホテルE")}));

        del_data(*tb.u, *tb.o, 3); // ホテルC, record 1
        QCOMPARE(tb.u->user_count, Integer(4));
        QCOMPARE(tb.names_in_list(),
                 (QStringList{u8("ホテルA"), u8("ホテルB"), u8("ホテルD"), u8("ホテルE")}));
        // The records moved up with their numbers.
        QCOMPARE(tb.u->user_name(1), u8("ホテルA"));
        QCOMPARE(tb.u->user_ken(1), Long(3));
        QCOMPARE(tb.u->user_ken(2), Long(1));

        del_data(*tb.u, *tb.o, 4); // the last row
        QCOMPARE(tb.names_in_list(), (QStringList{u8("ホテルA"), u8("ホテルB"), u8("ホテルD")}));
        for (int r = 1; r <= 3; ++r) del_data(*tb.u, *tb.o, 1);
        QCOMPARE(tb.u->user_count, Integer(0));
        // A row that is not there removes nothing.
        del_data(*tb.u, *tb.o, 1);
        QCOMPARE(tb.u->user_count, Integer(0));
    }

    void list_headings_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<int>("marked");
        QTest::newRow("none") << QString() << -1;
        QTest::newRow("prefecture") << ordering_name(Ordering::ken) << 0;
        QTest::newRow("airport") << ordering_name(Ordering::airport) << 1;
        QTest::newRow("district") << ordering_name(Ordering::syousai) << 2;
        QTest::newRow("name") << ordering_name(Ordering::name) << 3;
        QTest::newRow("telephone") << ordering_name(Ordering::tel) << 4;
        QTest::newRow("rooms") << ordering_name(Ordering::rooms) << 5;
        QTest::newRow("price") << ordering_name(Ordering::price) << 7;
    }
    void list_headings() {
        QFETCH(QString, key);
        QFETCH(int, marked);
        const auto h = user_list_headings(key);
        const auto plain = user_list_headings(QString());
        for (int c = 0; c < user_list_columns; ++c) {
            if (c == marked)
                QCOMPARE(h[std::size_t(c)], texts::heading_mark + plain[std::size_t(c)]);
            else
                QCOMPARE(h[std::size_t(c)], plain[std::size_t(c)]);
        }
        QCOMPARE(plain, texts::list_headings);
    }

    void rooms_cell() {
        Tables tb;
        tb.add("東京", "東京／羽田", "x");
        tb.u->user_rooms(1) = u8("0");
        QCOMPARE(user_list_cell(*tb.u, 1, 5), QString());
        tb.u->user_rooms(1) = u8("0120");
        QCOMPARE(user_list_cell(*tb.u, 1, 5), u8("120"));
        tb.u->user_rooms(1) = u8("約60");
        QCOMPARE(user_list_cell(*tb.u, 1, 5), u8("約60"));
    }

    void capacity() {
        UserTables u;
        u.user_count = 499;
        QVERIFY(!user_tables_full(u));
        u.user_count = 500;
        QVERIFY(user_tables_full(u));
        QVERIFY(user_tables_full_message().contains(u8("500件")));
    }

    void reload_for_cancel() {
        Tables tb;
        test::ProgramDir dir;
        const QString csv = dir.file(QStringLiteral("hotelusr.csv"));
        const QString tmp = dir.file(QStringLiteral("tmp.csv"));
        tb.add("東京", "東京／羽田", "消えるホテル");
        // Missing: no user hotels.
        QVERIFY(read_user_file(csv, *tb.u, tb.t, tmp));
        QCOMPARE(tb.u->user_count, Integer(0));
        // Empty: the same.
        tb.add("東京", "東京／羽田", "消えるホテル");
        dir.write(QStringLiteral("hotelusr.csv"), QByteArray());
        QVERIFY(read_user_file(csv, *tb.u, tb.t, tmp));
        QCOMPARE(tb.u->user_count, Integer(0));
        // A file: its hotels.
        dir.write(QStringLiteral("hotelusr.csv"),
                  encode_cp932(u8("\"千葉\",\"東京／成田\",\"成田\",\"残るホテル\"\r\n")));
        QVERIFY(read_user_file(csv, *tb.u, tb.t, tmp));
        QCOMPARE(tb.u->user_count, Integer(1));
        QCOMPARE(tb.u->user_name(1), u8("残るホテル"));
        QCOMPARE(tb.u->user_ken(1), Long(3));
    }
};

QTEST_GUILESS_MAIN(TestUserMaintenance)
#include "test_user_maintenance.moc"
