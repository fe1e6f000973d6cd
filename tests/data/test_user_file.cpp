#include "data/database.h"
#include "data/save_file.h"
#include "data/text_rules.h"
#include "data/user_file.h"
#include "support/test_support.h"

#include <QBuffer>
#include <QDir>
#include <QTest>

using namespace tomarina;
using tomarina::test::u8;

namespace {

struct Files {
    test::ProgramDir dir;
    HotelTables t;
    Files() {
        const QByteArray bytes = build_database(test::small_source());
        Loader(t, bytes).load_all();
    }
    QString csv() const { return dir.file(QStringLiteral("hotelusr.csv")); }
    QString tmp() const { return dir.file(QStringLiteral("tmp.csv")); }
    void write(const QString& text) const { dir.write(QStringLiteral("hotelusr.csv"), encode_cp932(text)); }
    std::unique_ptr<UserTables> read() const {
        auto u = std::make_unique<UserTables>();
        read_user_file(csv(), *u, t, tmp());
        return u;
    }
    QString file_text() const { return decode_cp932(dir.read(QStringLiteral("hotelusr.csv"))); }
};

} // namespace

class TestUserFile : public QObject {
    Q_OBJECT
  private slots:
    void save_and_read_back() {
        Files f;
        UserTables u;
        u.user_count = 2;
        const QStringList first = {u8("東京"),
                                   u8("東京／羽田"),
                                   u8("京橋"),
                                   u8("トマリナホテル"),
                                   u8("012-345-6789"),
                                   u8("123"),
                                   u8("京橋駅徒歩１０分"),
                                   u8("\\10,000"),
                                   u8("○")};
        const QStringList second = {u8("千葉"), u8("東京／成田"), u8("成田, 空港前"), u8("ホテル\"成田\""),
                                    QString(),  QString(),        QString(),          u8("\\"),
                                    u8("a,b")};
        set_user_record(u, 1, first);
        set_user_record(u, 2, second);
        QVERIFY(save_hotel_user(f.csv(), u));
        QVERIFY(f.file_text().startsWith(
            u8("\"東京\",\"東京／羽田\",\"京橋\",\"トマリナホテル\",\"012-345-6789\",\"123\","
               "\"京橋駅徒歩１０分\",\"\\10,000\",\"○\"\r\n")));
        auto r = f.read();
        QCOMPARE(r->user_count, Integer(2));
        QCOMPARE(user_record(*r, 1), first);
        QCOMPARE(user_record(*r, 2), second);
        QCOMPARE(r->user_ken(1), 2);
        QCOMPARE(r->user_airport(1), 2);
        QCOMPARE(r->user_syousai(1), 3);
        QCOMPARE(r->user_price_num(1), 10000);
        QCOMPARE(r->user_ken(2), 3);
        QCOMPARE(r->user_airport(2), 3);
        QCOMPARE(r->user_syousai(2), 999);
        QCOMPARE(r->user_price_num(2), 0);
        // The scratch file holds the last line.
        QCOMPARE(decode_cp932(f.dir.read(QStringLiteral("tmp.csv"))),
                 f.file_text().section(QStringLiteral("\r\n"), 1, 1) + QStringLiteral("\r\n"));
    }

    void accepted_forms() {
        Files f;
        f.write(u8("東京, 東京／羽田,\t京橋\r\n"
                   "\r\n"
                   "\"a\" junk,\"b,c\"x,d,e,f,g,h,\\5,000,note,tenth\r\n"
                   "\" 東京\",x,y\n"
                   "\"unterminated"));
        auto r = f.read();
        QCOMPARE(r->user_count, Integer(4));
        QCOMPARE(user_record(*r, 1),
                 QStringList({u8("東京"), u8("東京／羽田"), u8("京橋"), "", "", "", "", "", ""}));
        QCOMPARE(user_record(*r, 2), QStringList({"a", "b,c", "d", "e", "f", "g", "h", "\\5", "000"}));
        QCOMPARE(r->user_ken(3), 99); // a blank before a known name
        QCOMPARE(r->user_ken_name(3), u8(" 東京"));
        QCOMPARE(r->user_ken(1), 2);
        QCOMPARE(r->user_name(4), QString());
        QCOMPARE(r->user_ken_name(4), QStringLiteral("unterminated"));
        QVERIFY(save_hotel_user(f.csv(), *r));
        const QStringList lines = f.file_text().split(QStringLiteral("\r\n"));
        QCOMPARE(lines.size(), 5);
        QCOMPARE(lines[0], u8("\"東京\",\"東京／羽田\",\"京橋\",\"\",\"\",\"\",\"\",\"\",\"\""));
        QCOMPARE(lines[1], QStringLiteral("\"a\",\"b,c\",\"d\",\"e\",\"f\",\"g\",\"h\",\"\\5\",\"000\""));
    }

    // A DOS end-of-file mark after the last line is no hotel of its own; control bytes survive saves.
    void end_of_file_mark_and_control_bytes() {
        Files f;
        f.dir.write(QStringLiteral("hotelusr.csv"), "\"a\",\"b\x7f\x1c\"\r\n\"c\"\r\n\x1a");
        auto u = f.read();
        QCOMPARE(u->user_count, Integer(2));
        QVERIFY(save_hotel_user(f.csv(), *u));
        const QByteArray once = f.dir.read(QStringLiteral("hotelusr.csv"));
        QVERIFY(once.startsWith("\"a\",\"b\x7f\x1c\""));
        u = f.read();
        QVERIFY(save_hotel_user(f.csv(), *u));
        QCOMPARE(f.dir.read(QStringLiteral("hotelusr.csv")), once);
    }

    // Only an empty line holds no hotel; a line of blanks is a record and is written back.
    void blank_lines_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("prefectures");
        QTest::addColumn<QString>("saved");
        QTest::newRow("empty line between records") << "a\r\n\r\nb\r\n"
                                                    << QStringList{"a", "b"}
                                                    << "\"a\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\"\r\n"
                                                       "\"b\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\"\r\n";
        QTest::newRow("one full-width space") << u8("\u3000\r\n") << QStringList{u8("\u3000")}
                                              << u8("\"\u3000\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\"\r\n");
        QTest::newRow("half-width blanks")
            << " \t \r\n"
            << QStringList{""} << "\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\"\r\n";
    }

    void blank_lines() {
        QFETCH(QString, text);
        QFETCH(QStringList, prefectures);
        QFETCH(QString, saved);
        Files f;
        f.write(text);
        auto r = f.read();
        QStringList read;
        for (int i = 1; i <= r->user_count; ++i) read << r->user_ken_name(i);
        QCOMPARE(read, prefectures);
        QVERIFY(save_hotel_user(f.csv(), *r));
        QCOMPARE(f.file_text(), saved);
    }

    void ten_fields_keep_nine() {
        Files f;
        f.write(QStringLiteral("\"1\",\"2\",\"3\",\"4\",\"5\",\"6\",\"7\",\"8\",\"9\",\"10\",\"11\"\r\n"));
        auto r = f.read();
        QCOMPARE(r->user_note(1), QStringLiteral("9"));
        QVERIFY(save_hotel_user(f.csv(), *r));
        QCOMPARE(f.file_text(), QStringLiteral("\"1\",\"2\",\"3\",\"4\",\"5\",\"6\",\"7\",\"8\",\"9\"\r\n"));
    }

    void rates() {
        QCOMPARE(user_price_number(u"\\10,000"), 10000);
        QCOMPARE(user_price_number(u"\\"), 0);
        QCOMPARE(user_price_number(u"10000"), 0);
        QCOMPARE(user_price_number(u8("\\一万")), 0);
    }

    void empty_missing_and_odd_files() {
        Files f;
        QCOMPARE(f.read()->user_count, Integer(0));
        QVERIFY(!QFile::exists(f.tmp()));
        f.write(QString());
        QCOMPARE(f.read()->user_count, Integer(0));
        f.dir.write(QStringLiteral("hotelusr.csv"), QByteArray("\x00\xff\x81,\"\r\n\r\n", 8));
        QCOMPARE(f.read()->user_count, Integer(1));
        // A scratch file that cannot be written changes nothing that is read.
        QDir(f.dir.path()).mkdir(QStringLiteral("tmp.csv"));
        f.write(QStringLiteral("\"x\"\r\n"));
        QCOMPARE(f.read()->user_name(1), QString());
        QCOMPARE(f.read()->user_ken_name(1), QStringLiteral("x"));
    }

    void more_records_than_the_table_holds_are_not_lost() {
        Files f;
        QString text;
        for (int i = 1; i <= 503; ++i) text += QStringLiteral("\"%1\"\r\n").arg(i);
        f.write(text);
        auto r = f.read();
        QCOMPARE(r->user_count, Integer(500));
        QCOMPARE(r->user_ken_name(500), QStringLiteral("500"));
        QVERIFY(save_hotel_user(f.csv(), *r));
        const QStringList lines = f.file_text().split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 503);
        QCOMPARE(lines.last(), QStringLiteral("\"503\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\""));
    }

    void failed_save_leaves_the_old_file() {
        Files f;
        f.write(QStringLiteral("\"old\"\r\n"));
        const QByteArray before = f.dir.read(QStringLiteral("hotelusr.csv"));
        UserTables u;
        u.user_count = 1;
        u.user_ken_name(1) = QStringLiteral("new");
        save_faults.space = 0;
        QString error;
        QVERIFY(!save_hotel_user(f.csv(), u, &error));
        save_faults = {};
        QVERIFY(!error.isEmpty());
        QCOMPARE(f.dir.read(QStringLiteral("hotelusr.csv")), before);
    }

    void append_to_the_hotel_table() {
        Files f;
        UserTables u;
        u.user_count = 3;
        for (int i = 1; i <= 3; ++i) {
            set_user_record(u, i,
                            {u8("東京"), u8("東京／羽田"), u8("自分"), u8("私のホテル") + QString::number(i),
                             u8("tel"), u8("10"), u8("access"), u8("\\7,000"), u8("note")});
            derive_user_hotel(u, i, f.t);
        }
        f.t.hotel_url(8) = QStringLiteral("stale");
        copy_user_hotel(u, f.t);
        QCOMPARE(f.t.hotel_count, Integer(9));
        QCOMPARE(f.t.hotel_name(7), u8("私のホテル1"));
        QCOMPARE(f.t.hotel_ken(7), 2);
        QCOMPARE(f.t.hotel_syousai(7), 999);
        QCOMPARE(f.t.hotel_syousai_name(7), u8("自分"));
        QCOMPARE(f.t.hotel_price_num(7), 7000);
        QCOMPARE(f.t.hotel_info_no(8), 0);
        QCOMPARE(f.t.hotel_url(8), QString());
        QCOMPARE(f.t.ken_hotel_cnt(2), Integer(4)); // directory hotels only
        u.user_count = 1;
        copy_user_hotel(u, f.t);
        QCOMPARE(f.t.hotel_count, Integer(7));
        u.user_count = 0;
        copy_user_hotel(u, f.t);
        QCOMPARE(f.t.hotel_count, f.t.hotel_count_db);

        // Only as many as the hotel table holds take part; the user table keeps them all.
        f.t.hotel_count_db = 14999;
        u.user_count = 3;
        copy_user_hotel(u, f.t);
        QCOMPARE(f.t.hotel_count, Integer(15000));
        QCOMPARE(f.t.hotel_name(15000), u8("私のホテル1"));
    }

    void line_fields() {
        QCOMPARE(user_line_fields(u"a,,b,"), QStringList({"a", "", "b", ""}));
        QCOMPARE(user_line_fields(u"\"\""), QStringList({""}));
        QCOMPARE(user_line_fields(u"\"x\"\"y\",z"), QStringList({"x\"y", "z"}));
        QCOMPARE(user_line({QStringLiteral("x\"y"), QStringLiteral("z")}),
                 QStringLiteral("\"x\"\"y\",\"z\""));
    }
};

QTEST_GUILESS_MAIN(TestUserFile)
#include "test_user_file.moc"
