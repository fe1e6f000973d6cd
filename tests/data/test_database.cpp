#include "cli/tool_commands.h"
#include "data/database.h"
#include "data/directory_words.h"
#include "data/save_file.h"
#include "data/text_rules.h"
#include "support/faulty_disk.h"
#include "support/test_support.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTest>
#include <cstring>

using namespace tomarina;
using tomarina::test::u8;

namespace {

struct Loaded {
    HotelTables t;
    QList<int> progress;
    int failed = 0;
};

std::unique_ptr<Loaded> load(const QByteArray& bytes) {
    auto r = std::make_unique<Loaded>();
    LoadHooks hooks;
    hooks.progress = [&r](int block) { r->progress << block; };
    r->failed = Loader(r->t, bytes).load_all(hooks);
    return r;
}

QByteArray le32(std::int32_t v) {
    QByteArray b(4, '\0');
    std::memcpy(b.data(), &v, 4);
    return b;
}

// A file of hand-made sections: each entry of `sections` is (section number, bytes).
QByteArray file_of(const QList<QPair<int, QByteArray>>& sections, std::int32_t date = 37904) {
    ByteWriter w;
    std::int32_t ctl[25] = {};
    // Block 0 is left empty so that no section starts at 0 by accident.
    w.raw(QByteArray(1024, '\0'));
    QList<QPair<int, QByteArray>> all = sections;
    // Sections not given are empty: a count of 0, or a marked list that ends at once.
    for (int n : {1, 2, 3, 4, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20}) {
        bool given = false;
        for (const auto& s : sections) given = given || s.first == n;
        if (given) continue;
        ByteWriter empty;
        if (n >= 13 && n != 19)
            empty.end_marker();
        else
            empty.integer(0);
        all.append({n, empty.bytes()});
    }
    for (const auto& [n, bytes] : all) {
        ctl[n] = w.start_block();
        w.raw(bytes);
    }
    w.start_block();
    ctl[23] = date;
    for (int n = 1; n <= 24; ++n) w.integer(ctl[n]);
    w.raw(QByteArray(1024 - 96, '\0'));
    return w.bytes();
}

QByteArray marked(const QList<QPair<float, QString>>& records, bool end = true) {
    ByteWriter w;
    for (const auto& [h, text] : records) {
        w.number(h);
        w.text(text);
    }
    if (end) w.end_marker();
    return w.bytes();
}

QByteArray counted_hotels(const QList<std::pair<std::int32_t, std::int32_t>>& codes) {
    ByteWriter w;
    w.integer(std::int32_t(codes.size()));
    for (const auto& [a, b] : codes) {
        w.integer(a);
        w.integer(b);
    }
    return w.bytes();
}

// Compares fields of the loaded tables, named as the tool's dump names them ("name" or "name/slot").
void expect_tables(const HotelTables& t, const QVariantMap& expected) {
    const QJsonObject o = dump_tables(t);
    for (auto it = expected.begin(); it != expected.end(); ++it) {
        const QStringList path = it.key().split(u'/');
        QVERIFY2(o.contains(path[0]), qPrintable(it.key()));
        QJsonValue v = o[path[0]];
        if (path.size() == 2) {
            const QJsonArray a = v.toArray();
            const int slot = path[1].toInt();
            QVERIFY2(slot < a.size(), qPrintable(it.key() + QStringLiteral(" beyond the table")));
            v = a[slot];
        }
        QCOMPARE(v.toVariant().toString(), it.value().toString());
    }
}

} // namespace

class TestDatabase : public QObject {
    Q_OBJECT
  private slots:
    void number_encoding() {
        QCOMPARE(Loader::cnv_data(0x3F800000), 1.0); // bytes 00 00 80 3F
        QCOMPARE(le32(0x3F800000), QByteArray("\x00\x00\x80\x3F", 4));
        QCOMPARE(Loader::cnv_data(0x47C34F80), 99999.0); // the end marker 80 4F C3 47
        ByteWriter w;
        w.end_marker();
        QCOMPARE(w.bytes(), QByteArray("\x80\x4F\xC3\x47", 4));
        QCOMPARE(Loader::cnv_data(std::bit_cast<std::int32_t>(-12.0f)), -12.0);
        QCOMPARE(Loader::cnv_data(std::bit_cast<std::int32_t>(0.5f)), 0.0);
        QCOMPARE(Loader::cnv_data(std::bit_cast<std::int32_t>(16777216.0f)), 0.0);
        QCOMPARE(Loader::cnv_data(std::bit_cast<std::int32_t>(16777215.0f)), 16777215.0);
        QCOMPARE(Loader::cnv_data(0x7F800000), 0.0); // infinity
        QCOMPARE(Loader::cnv_data(0x7FC00000), 0.0); // NaN
        QCOMPARE(Loader::cnv_data(0), 0.0);
    }

    void hotel_codes() {
        QCOMPARE(hotel_code_a(4567), 13701000);
        QCOMPARE(le32(13701000), QByteArray("\x88\x0F\xD1\x00", 4));
        QCOMPARE(hotel_code_b(13, 5, 120), 3915120);
        QCOMPARE(le32(3915120), QByteArray("\x70\xBD\x3B\x00", 4));

        ByteWriter names;
        names.number(1);
        names.text(u8("ホテル"));
        auto r = load(
            file_of({{4, QByteArray(4, '\0')},
                     {11, QByteArray("\x01\0\0\0", 4) + QByteArray("\x88\x0F\xD1\x00\x70\xBD\x3B\x00", 8)},
                     {12, names.bytes()}}));
        QCOMPARE(r->t.hotel_count, Integer(1));
        QCOMPARE(r->t.hotel_info_no(1), 4567);
        QCOMPARE(r->t.hotel_ken(1), 13);
        QCOMPARE(r->t.hotel_airport(1), 5);
        QCOMPARE(r->t.hotel_syousai(1), 120);
        QCOMPARE(r->t.ken_hotel_cnt(13), Integer(1));
        QCOMPARE(r->t.airport_hotel_cnt(5), Integer(1));
        QCOMPARE(r->t.hotel_name(1), u8("ホテル"));
    }

    void whole_directory_round_trip() {
        const DbSource src = test::small_source();
        auto r = load(build_database(src));
        const HotelTables& t = r->t;
        QCOMPARE(r->failed, 0);
        QCOMPARE(t.db_date, QStringLiteral("2003/10/10"));
        QCOMPARE(t.ken_count, Integer(3));
        QCOMPARE(t.ken_alias(2), u8("東京都"));
        QCOMPARE(t.area_list(0), u8("全国"));
        QCOMPARE(t.area_list(1), u8("北海道"));
        QCOMPARE(t.area_list(2), u8("関東"));
        QCOMPARE(t.area_last(), 2);
        QCOMPARE(t.area_title(3), QString::fromUtf16(directory_words::area_titles[3]));
        QCOMPARE(t.airport_count, Integer(4));
        QCOMPARE(t.airport_area(2), Integer(4));
        QCOMPARE(t.syousai_count, Integer(5));
        QCOMPARE(t.hotel_count, Integer(6));
        QCOMPARE(t.hotel_count_db, Integer(6));
        for (int i = 1; i <= 6; ++i) {
            const auto& h = src.hotels[i - 1];
            QCOMPARE(t.hotel_name(i), h.name);
            QCOMPARE(t.hotel_tel(i), h.tel);
            QCOMPARE(t.hotel_rooms(i), h.rooms);
            QCOMPARE(t.hotel_access(i), h.access);
            QCOMPARE(t.hotel_price(i), h.price);
            QCOMPARE(t.hotel_note(i), h.note);
            QCOMPARE(t.hotel_url(i), h.url);
            QCOMPARE(t.hotel_address(i), h.address);
            QCOMPARE(t.hotel_best(i), h.best);
            QCOMPARE(t.hotel_syousai_name(i), src.districts[h.syousai - 1]);
        }
        QCOMPARE(t.hotel_price_num(1), 9500);
        QCOMPARE(t.hotel_price_num(2), 8000);
        QCOMPARE(t.hotel_price_num(3), 0);
        QCOMPARE(t.hotel_price_num(4), 0);
        QCOMPARE(t.hotel_price_num(5), 9500);
        QCOMPARE(t.hotel_price_num(6), 8);
        QCOMPARE(t.ken_hotel_cnt(2), Integer(4));
        QCOMPARE(t.airport_hotel_cnt(0), Integer(1));
        QCOMPARE(t.rsv_count, Integer(2));
        QCOMPARE(t.rsv_link(2), QStringLiteral("/best/area?r=04"));
        // The bar moves to the first block of sections 2, 3, 4, 11..18, in that order.
        QList<int> expected;
        for (int n : {2, 3, 4, 11, 12, 13, 14, 15, 16, 17, 18}) expected << t.ctl_tbl(n);
        QCOMPARE(r->progress, expected);
    }

    void section_edge_cases() {
        ByteWriter prefs;
        prefs.integer(4);
        for (const char* area : {"北海道", "東北", "東北", "関東"}) {
            prefs.text(u8(area));
            prefs.text(u8("名"));
            prefs.text(u8("別名"));
        }
        const QByteArray hotels = counted_hotels({{0, 0}, {0, 0}});
        ByteWriter names;
        names.number(1);
        names.text(u8("一"));
        names.number(2);
        names.text(u8("二"));
        const QByteArray file = file_of({
            {1, prefs.bytes()},
            {2, le32(0)},
            {4, le32(0)},
            {11, hotels},
            {12, names.bytes()},
            {13, marked({}, true)},
            {14, marked({{1, u8("10")}, {1, u8("20")}})},
            {17, marked({{1, QStringLiteral("http://example.jp/a")}, {2, u8("駅前||")}})},
        });
        auto r = load(file);
        const HotelTables& t = r->t;
        QCOMPARE(t.area_list(1), u8("北海道"));
        QCOMPARE(t.area_list(2), u8("東北"));
        QCOMPARE(t.area_list(3), u8("関東"));
        QCOMPARE(t.area_last(), 3);
        // c2 points at a count of 0: no region records, and the bar still moved to c2.
        QCOMPARE(r->progress.first(), int(t.ctl_tbl(2)));
        QCOMPARE(t.hotel_tel(1), QString());
        QCOMPARE(t.hotel_tel(2), QString());
        QCOMPARE(t.hotel_rooms(1), QStringLiteral("20")); // the later text wins
        QCOMPARE(t.hotel_url(1), QStringLiteral("http://example.jp/a"));
        QCOMPARE(t.hotel_note(1), QString());
        QCOMPARE(t.hotel_note(2), u8("駅前"));
        QCOMPARE(t.hotel_url(2), QString());
        QCOMPARE(t.hotel_best(1), QString()); // no section 20 record
    }

    void remarks_split() {
        const QByteArray file = file_of({{4, le32(0)},
                                         {11, counted_hotels({{0, 0}})},
                                         {12, marked({{1, u8("名")}}, false)},
                                         {17, marked({{1, u8("駅前||http://a.example.jp/||x")}})}});
        auto r = load(file);
        QCOMPARE(r->t.hotel_note(1), u8("駅前"));
        QCOMPARE(r->t.hotel_url(1), QStringLiteral("http://a.example.jp/||x"));
    }

    // A step that fails stops at that point; what it stored stays and the later steps run.
    void failing_steps_stop_there_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QVariantMap>("expected");

        // A prefecture count above the table stops after 50 records; the airports are still read.
        ByteWriter prefs;
        prefs.integer(52);
        for (int i = 1; i <= 52; ++i) {
            prefs.text(QStringLiteral("A%1").arg(i / 10));
            prefs.text(QStringLiteral("P%1").arg(i));
            prefs.text(QString());
        }
        ByteWriter airports;
        airports.integer(1);
        airports.text(u8("福岡"));
        airports.raw(" 8");
        QTest::newRow("prefectures above the table")
            << file_of({{1, prefs.bytes()}, {3, airports.bytes()}})
            << QVariantMap{{"ken_count", 50},
                           {"ken_name/50", "P50"},
                           {"area_list/0", ""},
                           {"area_title/0", QString::fromUtf16(directory_words::area_titles[0])},
                           {"airport_count", 1},
                           {"airport_area/1", 8}};

        ByteWriter big;
        big.integer(40000);
        big.text(u8("x"));
        QTest::newRow("count above 32767")
            << file_of({{4, big.bytes()}}) << QVariantMap{{"syousai_count", 0}};

        ByteWriter odd;
        odd.integer(3);
        odd.text(u8("一"));
        odd.text_bytes("xx", 3);
        odd.text(u8("三"));
        QTest::newRow("type code other than 8")
            << file_of({{4, odd.bytes()}}) << QVariantMap{{"syousai_count", 1}, {"syousai_name/1", u8("一")}};

        ByteWriter one_district;
        one_district.integer(1);
        one_district.text(u8("地区"));
        QByteArray before_start = file_of({{4, one_district.bytes()}});
        const std::int32_t minus = -1;
        std::memcpy(before_start.data() + before_start.size() - 1024 + 3 * 4, &minus, 4); // c4
        QTest::newRow("seek before the start") << before_start << QVariantMap{{"syousai_count", 0}};

        // The price text is stored before its number is read: a number that does not fit stops the
        // step with the text kept, and the later sections of get_hotel are not read.
        QTest::newRow("price beyond a Long")
            << file_of({{4, le32(0)},
                        {11, counted_hotels({{0, 0}, {0, 0}})},
                        {12, marked({{1, u8("名")}, {2, u8("名2")}}, false)},
                        {16, marked({{1, u8("\\99,999,999,999")}, {2, u8("\\5,000")}})},
                        {17, marked({{1, u8("駅前||")}})}})
            << QVariantMap{{"hotel_price/1", u8("\\99,999,999,999")},
                           {"hotel_price_num/1", 0},
                           {"hotel_price/2", ""},
                           {"hotel_note/1", ""},
                           {"hotel_name/2", u8("名2")}};
    }

    void failing_steps_stop_there() {
        QFETCH(QByteArray, file);
        QFETCH(QVariantMap, expected);
        expect_tables(load(file)->t, expected);
    }

    void hotel_count_stays_within_storage_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QVariantMap>("expected");

        ByteWriter w;
        w.integer(15002);
        for (int i = 0; i < 15002; ++i) {
            w.integer(0);
            w.integer(0);
        }
        // The failure ended get_hotel: section 12 was not read.
        QTest::newRow("more hotels than the table")
            << file_of({{4, le32(0)}, {11, w.bytes()}, {12, marked({{1, u8("名")}}, false)}})
            << QVariantMap{{"hotel_count", 15000}, {"hotel_count_db", 15000}, {"hotel_name/1", ""}};

        QTest::newRow("prefecture number beyond the table")
            << file_of({{4, le32(0)},
                        {11, counted_hotels({{0, hotel_code_b(1, 0, 0)}, {0, hotel_code_b(60, 0, 0)}})}})
            << QVariantMap{{"hotel_count", 1}, {"hotel_count_db", 1}};

        QTest::newRow("hotel number 0 and a negative one")
            << file_of({{4, le32(0)},
                        {11, counted_hotels({{0, 0}})},
                        {12, marked({{1, u8("名")}}, false)},
                        {13, marked({{0, u8("zero")}, {1, u8("one")}})},
                        {14, marked({{-3, u8("minus")}, {1, u8("never")}})}})
            << QVariantMap{{"hotel_tel/0", "zero"}, {"hotel_tel/1", "one"}, {"hotel_rooms/1", ""}};
    }

    void hotel_count_stays_within_storage() {
        QFETCH(QByteArray, file);
        QFETCH(QVariantMap, expected);
        expect_tables(load(file)->t, expected);
    }

    void missing_and_short_files() {
        auto empty = load(QByteArray());
        QCOMPARE(empty->t.blk_count, Integer(0));
        QCOMPARE(empty->t.hotel_count, Integer(0));
        QCOMPARE(empty->t.db_date, QString());
        QCOMPARE(empty->progress, QList<int>());

        auto shortfile = load(QByteArray(1000, '\x01'));
        QCOMPARE(shortfile->t.ken_count, Integer(0));
        QCOMPARE(shortfile->t.hotel_count, Integer(0));

        // Opening a missing file fails and does not create it.
        test::ProgramDir dir;
        DatabaseFile f;
        QVERIFY(!f.open(dir.file(QStringLiteral("tomarina.dat"))));
        QVERIFY(!QFile::exists(dir.file(QStringLiteral("tomarina.dat"))));
    }

    void file_is_opened_read_only() {
        test::ProgramDir dir(build_database(test::small_source()));
        QFile::setPermissions(dir.file(QStringLiteral("tomarina.dat")), QFileDevice::ReadOwner);
        DatabaseFile f;
        QVERIFY(f.open(dir.file(QStringLiteral("tomarina.dat"))));
        HotelTables t;
        Loader(t, f.bytes()).load_all();
        QCOMPARE(t.hotel_count, Integer(6));
    }

    // The file is read at the open: cutting it short afterwards, as a copy over it or a failing disk
    // would, changes nothing of what loads and cannot stop the program.
    void file_shrinking_after_the_open() {
        test::ProgramDir dir(build_database(test::small_source()));
        const QString path = dir.file(QStringLiteral("tomarina.dat"));
        DatabaseFile f;
        QVERIFY(f.open(path));
        QVERIFY(QFile::resize(path, 0));
        HotelTables t;
        QCOMPARE(Loader(t, f.bytes()).load_all(), 0);
        QCOMPARE(t.hotel_count, Integer(6));
    }

    // 32768 blocks and more are past the 16-bit block count: such a file is opened but not read, so a
    // huge file costs neither the time nor the memory. One block less is read whole.
    void files_too_large_for_the_block_count() {
        test::ProgramDir dir(build_database(test::small_source()));
        const QString path = dir.file(QStringLiteral("tomarina.dat"));
        // Grown sparse: no disk space is used for the blocks of zeros.
        QVERIFY(QFile::resize(path, DatabaseFile::unreadable_size));
        DatabaseFile f;
        QVERIFY(f.open(path));
        QCOMPARE(f.bytes().size(), qsizetype(0));
        HotelTables t;
        Loader(t, f.bytes()).load_all();
        QCOMPARE(t.blk_count, Integer(0));
        QCOMPARE(t.hotel_count, Integer(0));

        QVERIFY(QFile::resize(path, DatabaseFile::unreadable_size - 1024));
        QVERIFY(f.open(path));
        QCOMPARE(f.bytes().size(), qsizetype(DatabaseFile::unreadable_size - 1024));
        Loader(t, f.bytes()).load_all();
        QCOMPARE(t.blk_count, Integer(32767));
    }

    // The file cut anywhere: no crash, the tables partly filled, counts never above what was stored.
    void truncation_sweep() {
        const QByteArray whole = build_database(test::small_source());
        const qsizetype blocks = whole.size() / 1024;
        QList<qsizetype> cuts;
        for (qsizetype b = 0; b <= blocks; ++b) cuts << b * 1024;
        for (qsizetype k = whole.size() - 3 * 1024; k < whole.size(); ++k) cuts << k;
        for (const qsizetype cut : cuts) {
            // Keep the control block at the end so that the sections are found and cut short.
            QByteArray bytes = whole.left(cut);
            const QByteArray control = whole.right(1024);
            for (const QByteArray& b : {bytes, bytes + control}) {
                auto r = load(b);
                QVERIFY(r->t.hotel_count <= 6);
                QVERIFY(r->t.ken_count <= 3);
                for (int i = 1; i <= r->t.hotel_count; ++i) QVERIFY(r->t.hotel_ken(i) >= 0);
            }
        }
    }

    // A directory built onto a full disk is reported as failed and the old file stays as it was.
    void tool_build_onto_a_full_disk() {
        test::ProgramDir dir;
        const QString out = dir.file(QStringLiteral("t.dat"));
        QVERIFY(save_file(out, QByteArrayLiteral("old directory")));
        save_faults.space = 4096;
        const int rc = tool_build(QStringLiteral(TOMARINA_SAMPLE_DIR), out);
        save_faults = SaveFaults{};
        QCOMPARE(rc, 1);
        QFile f(out);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArrayLiteral("old directory"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("t.dat")});
    }

    void tool_build_and_dump() {
        test::ProgramDir dir;
        QProcess build;
        build.start(QStringLiteral(TOMARINA_TOOL),
                    {QStringLiteral("build"), QStringLiteral(TOMARINA_SAMPLE_DIR),
                     dir.file(QStringLiteral("t.dat"))});
        QVERIFY(build.waitForFinished(60000));
        QCOMPARE(build.exitCode(), 0);
        QProcess dump;
        dump.start(QStringLiteral(TOMARINA_TOOL),
                   {QStringLiteral("dump"), dir.file(QStringLiteral("t.dat"))});
        QVERIFY(dump.waitForFinished(60000));
        QCOMPARE(dump.exitCode(), 0);
        const QJsonObject o = QJsonDocument::fromJson(dump.readAllStandardOutput()).object();

        DbSource src;
        QString error;
        QVERIFY(read_sources(QStringLiteral(TOMARINA_SAMPLE_DIR), src, &error));
        QCOMPARE(o[u"ken_count"_qs].toInt(), 47);
        QCOMPARE(o[u"ken_name"_qs].toArray().size(), 48);
        QCOMPARE(o[u"ken_hotel_cnt"_qs].toArray().size(), 51);
        QCOMPARE(o[u"airport_hotel_cnt"_qs].toArray().size(), 101);
        QCOMPARE(o[u"ctl_tbl"_qs].toArray().size(), 25);
        QCOMPARE(o[u"area_title"_qs].toArray().size(), 10);
        QCOMPARE(o[u"area_list"_qs].toArray().size(), 10);
        QCOMPARE(o[u"hotel_count"_qs].toInt(), int(src.hotels.size()));
        QCOMPARE(o[u"hotel_name"_qs].toArray().size(), src.hotels.size() + 1);
        QCOMPARE(o[u"db_date"_qs].toString(), QStringLiteral("2003/10/10"));
        const QJsonArray names = o[u"hotel_name"_qs].toArray();
        const QJsonArray prices = o[u"hotel_price"_qs].toArray();
        for (qsizetype i = 0; i < src.hotels.size(); ++i) {
            QCOMPARE(names[i + 1].toString(), src.hotels[i].name);
            QCOMPARE(prices[i + 1].toString(), src.hotels[i].price);
        }
        for (const char* key :
             {"blk_count",    "ken_area",      "ken_alias",       "airport_count",      "airport_name",
              "airport_area", "syousai_count", "syousai_name",    "hotel_count_db",     "hotel_info_no",
              "hotel_ken",    "hotel_airport", "hotel_syousai",   "hotel_syousai_name", "hotel_tel",
              "hotel_rooms",  "hotel_access",  "hotel_price_num", "hotel_note",         "hotel_address",
              "hotel_url",    "hotel_best",    "rsv_count",       "rsv_area",           "rsv_text",
              "rsv_link"})
            QVERIFY2(o.contains(QLatin1String(key)), key);

        QProcess missing;
        missing.start(QStringLiteral(TOMARINA_TOOL),
                      {QStringLiteral("dump"), dir.file(QStringLiteral("none.dat"))});
        QVERIFY(missing.waitForFinished(60000));
        QVERIFY(missing.exitCode() != 0);
        dir.write(QStringLiteral("junk.dat"), QByteArray(3000, '\xff'));
        QProcess junk;
        junk.start(QStringLiteral(TOMARINA_TOOL),
                   {QStringLiteral("dump"), dir.file(QStringLiteral("junk.dat"))});
        QVERIFY(junk.waitForFinished(60000));
        QCOMPARE(junk.exitCode(), 0);
    }
};

QTEST_GUILESS_MAIN(TestDatabase)
#include "test_database.moc"
