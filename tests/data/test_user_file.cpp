#include "data/database.h"
#include "data/save_file.h"
#include "data/text_rules.h"
#include "data/user_file.h"
#include "support/faulty_disk.h"
#include "support/test_support.h"

#include <QBuffer>
#include <QDir>
#include <QRandomGenerator>
#include <QTest>
#include <sys/stat.h>

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
        f.write(text + QStringLiteral("x\ry"));
        auto r = f.read();
        QCOMPARE(r->user_count, Integer(500));
        QCOMPARE(r->user_ken_name(500), QStringLiteral("500"));
        r->user_count = 499; // one deleted
        QVERIFY(save_hotel_user(f.csv(), *r));
        const QStringList lines = f.file_text().split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 503);
        QCOMPARE(lines[498], QStringLiteral("\"499\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\""));
        // The lines the table could not hold come back as they were.
        QCOMPARE(lines.mid(499), QStringList({"\"501\"", "\"502\"", "\"503\"", "x\ry"}));
    }

    // CR, LF and CR LF each end a line, so no record swallows the ones after it.
    void line_ends_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("prefectures");
        QTest::newRow("lone CR") << QByteArray("\"a\",\"1\"\r\"b\",\"2\"\r\"c\"\r")
                                 << QStringList{"a", "b", "c"};
        QTest::newRow("mixed") << QByteArray("a\r\nb\nc\rd") << QStringList{"a", "b", "c", "d"};
        QTest::newRow("LF then CR") << QByteArray("a\n\rb\n\r") << QStringList{"a", "b"};
        QTest::newRow("mark after CR") << QByteArray("a\r\x1a") << QStringList{"a"};
    }
    void line_ends() {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, prefectures);
        Files f;
        f.dir.write(QStringLiteral("hotelusr.csv"), bytes);
        auto r = f.read();
        QStringList read;
        for (int i = 1; i <= r->user_count; ++i) read << r->user_ken_name(i);
        QCOMPARE(read, prefectures);
        QVERIFY(save_hotel_user(f.csv(), *r));
        auto again = f.read();
        QCOMPARE(again->user_count, r->user_count);
        for (int i = 1; i <= r->user_count; ++i) QCOMPARE(user_record(*again, i), user_record(*r, i));
    }

    // Bytes that are no character of the code page are written back where they stood, at every save.
    void bytes_outside_the_code_page_data() {
        QTest::addColumn<QByteArray>("field");
        QTest::newRow("lone lead byte, blank") << QByteArray("\x81 x");
        QTest::newRow("lead byte at the end") << QByteArray("ab\x81");
        QTest::newRow("single bytes") << QByteArray("\x80\xa0\xfd\xfe\xff");
        QTest::newRow("pair that is no character") << QByteArray("\x85\x40\x93\x8c");
        QTest::newRow("user-defined area and text") << QByteArray("\xf0\x40\x93\x8c\x8b\x9e");
        QTest::newRow("control bytes") << QByteArray("\x7f\x1c\x1a\x01");
    }
    void bytes_outside_the_code_page() {
        QFETCH(QByteArray, field);
        Files f;
        const QByteArray line = "\"" + field + "\",\"b\",\"\",\"\",\"\",\"\",\"\",\"\",\"\"\r\n";
        f.dir.write(QStringLiteral("hotelusr.csv"), line + line);
        auto r = f.read();
        QCOMPARE(r->user_count, Integer(2));
        QCOMPARE(r->user_airport_name(1), QStringLiteral("b"));
        QVERIFY(save_hotel_user(f.csv(), *r));
        QCOMPARE(f.dir.read(QStringLiteral("hotelusr.csv")), line + line);
    }

    // Whatever the file holds, a read and a save give the same records back.
    void random_bytes_survive_a_save() {
        QRandomGenerator random(20);
        for (int round = 0; round < 50; ++round) {
            QByteArray bytes(random.bounded(1, 4000), Qt::Uninitialized);
            for (char& b : bytes) b = char(random.bounded(256));
            Files f;
            f.dir.write(QStringLiteral("hotelusr.csv"), bytes);
            auto first = f.read();
            QVERIFY(save_hotel_user(f.csv(), *first));
            auto second = f.read();
            QCOMPARE(second->user_count, first->user_count);
            for (int i = 1; i <= first->user_count; ++i)
                QCOMPARE(user_record(*second, i), user_record(*first, i));
        }
    }

    // A file past the reading limit: the records up to a line end inside it are read, the rest is kept
    // as bytes and written back unchanged.
    void large_file_is_read_up_to_the_limit() {
        Files f;
        QByteArray bytes = "\"first\"\r\n";
        const QByteArray filler(40000, 'x'); // long lines, so the records fit the table
        while (bytes.size() + 40002 < user_read_limit - 600) bytes += filler + "\r\n";
        bytes += QByteArray(user_read_limit - 600 - bytes.size() - 2, 'p') + "\r\n";
        const QByteArray cut_line = QByteArray(1200, 'y') + "\x81\r\n";
        bytes += cut_line + "\"after\"\r\n";
        f.dir.write(QStringLiteral("hotelusr.csv"), bytes);
        auto r = f.read();
        QCOMPARE(r->user_ken_name(1), QStringLiteral("first"));
        QVERIFY(r->user_tail.startsWith(cut_line));
        r->user_ken_name(1) = QStringLiteral("changed");
        QVERIFY(save_hotel_user(f.csv(), *r));
        const QByteArray saved = f.dir.read(QStringLiteral("hotelusr.csv"));
        QVERIFY(saved.startsWith("\"changed\",\"\""));
        QVERIFY(saved.endsWith("\r\n" + cut_line + "\"after\"\r\n"));
    }

    // At the real limit the file is read whole, past it refused: either way no save makes it shorter.
    void whole_or_refused_at_the_limit_data() {
        QTest::addColumn<qint64>("over");
        QTest::newRow("at the limit") << qint64(0);
        QTest::newRow("one byte over") << qint64(1);
    }
    void whole_or_refused_at_the_limit() {
        QFETCH(qint64, over);
        Files f;
        const QByteArray first = "\"a\"\r\n"; // then no line end: all of the rest is kept as bytes
        const qint64 size = first.size() + user_tail_limit + over;
        f.dir.write(QStringLiteral("hotelusr.csv"), first);
        QVERIFY(QFile::resize(f.csv(), size));
        auto u = std::make_unique<UserTables>();
        QCOMPARE(read_user_file(f.csv(), *u, f.t, f.tmp()), over == 0);
        if (over == 0)
            QCOMPARE(u->user_tail.size(), size - first.size()); // written back whole
        else
            QVERIFY(u->user_read_error.problem == FileProblem::too_large && !save_hotel_user(f.csv(), *u));
        QCOMPARE(QFileInfo(f.csv()).size(), size);
    }

    // The scratch copy is never more open to others than the file it copies, whatever it was before.
    void scratch_copy_is_as_private_as_the_file_data() {
        QTest::addColumn<bool>("left_open");
        QTest::newRow("new") << false;
        QTest::newRow("left readable by all") << true;
    }
    void scratch_copy_is_as_private_as_the_file() {
        QFETCH(bool, left_open);
        Files f;
        f.write(QStringLiteral("\"a\"\r\n"));
        QVERIFY(QFile::setPermissions(f.csv(), QFileDevice::ReadOwner | QFileDevice::WriteOwner));
        if (left_open) {
            f.dir.write(QStringLiteral("tmp.csv"), "old");
            QVERIFY(QFile::setPermissions(f.tmp(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                       QFileDevice::ReadGroup | QFileDevice::ReadOther));
        }
        f.read();
        struct stat st {};
        QCOMPARE(::stat(QFile::encodeName(f.tmp()).constData(), &st), 0);
        QCOMPARE(st.st_mode & 0777, 0600u);
    }

    // A file that is there but cannot be read is never written over in that run.
    void unreadable_file_is_never_replaced() {
        Files f;
        QVERIFY(QDir(f.dir.path()).mkdir(QStringLiteral("hotelusr.csv")));
        UserTables u;
        u.user_count = 1;
        u.user_ken_name(1) = QStringLiteral("kept");
        QVERIFY(!read_user_file(f.csv(), u, f.t, f.tmp()));
        QCOMPARE(u.user_ken_name(1), QStringLiteral("kept"));
        QVERIFY(u.user_read_error.failed());
        SaveReport error;
        QVERIFY(QDir(f.dir.path()).rmdir(QStringLiteral("hotelusr.csv")));
        f.write(QStringLiteral("\"old\"\r\n"));
        QVERIFY(!save_hotel_user(f.csv(), u, &error));
        QVERIFY(error.problem == FileProblem::unread_this_run && error.unread.failed());
        QCOMPARE(f.file_text(), QStringLiteral("\"old\"\r\n"));
        // Once it reads, it may be saved again.
        QVERIFY(read_user_file(f.csv(), u, f.t, f.tmp()));
        QVERIFY(save_hotel_user(f.csv(), u));
    }

    // The same as an unprivileged user with a file left behind by root: the reader says it cannot read
    // it and the save refuses. Skipped where the test cannot change its user.
    void unreadable_for_the_user() {
        if (qEnvironmentVariableIsSet("TOMARINA_AS_NOBODY")) {
            const QString path = qEnvironmentVariable("TOMARINA_AS_NOBODY");
            UserTables u;
            HotelTables t;
            QVERIFY(!read_user_file(path, u, t, QString()));
            QVERIFY(!save_hotel_user(path, u));
            return;
        }
        QTemporaryDir dir;
        QFile::Permissions all = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                                 QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup |
                                 QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;
        QVERIFY(QFile::setPermissions(dir.path(), all));
        const QString csv = dir.filePath(QStringLiteral("hotelusr.csv"));
        const QByteArray content = "\"root's hotel\"\r\n";
        {
            QFile file(csv);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(content);
        }
        QVERIFY(QFile::setPermissions(csv, QFileDevice::ReadOwner | QFileDevice::WriteOwner));
        const test::NobodyRun run = test::run_as_nobody("unreadable_for_the_user", "TOMARINA_AS_NOBODY", csv);
        if (!run.skip.isEmpty()) QSKIP(qPrintable(run.skip));
        QVERIFY2(run.passed, run.output.constData());
        QFile file(csv);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), content);
        QCOMPARE(QFileInfo(csv).ownerId(), 0u);
    }

    void failed_save_leaves_the_old_file() {
        Files f;
        f.write(QStringLiteral("\"old\"\r\n"));
        const QByteArray before = f.dir.read(QStringLiteral("hotelusr.csv"));
        UserTables u;
        u.user_count = 1;
        u.user_ken_name(1) = QStringLiteral("new");
        save_faults.space = 0;
        SaveReport error;
        QVERIFY(!save_hotel_user(f.csv(), u, &error));
        save_faults = {};
        QCOMPARE(error.error_number, ENOSPC);
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
        QCOMPARE(copy_user_hotel(u, f.t), 2); // the window tells how many were left out
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
