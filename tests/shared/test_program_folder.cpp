#include "data/text_rules.h"
#include "shared/program_folder.h"
#include "support/test_support.h"

#include <QFile>
#include <QTest>

using namespace tomarina;
using tomarina::test::u8;

namespace {

// A program folder with the small directory and one user hotel.
struct Folder {
    test::ProgramDir dir{build_database(test::small_source())};
    std::unique_ptr<AppState> st = std::make_unique<AppState>();
    Folder() {
        dir.write(QStringLiteral("hotelusr.csv"),
                  encode_cp932(u8("\"東京\",\"\",\"新宿\",\"マイホテル\"\r\n")));
        st->app_path = dir.path();
    }
};

} // namespace

class TestProgramFolder : public QObject {
    Q_OBJECT
  private slots:
    void loads_the_directory_then_the_user_hotels_with_the_hooks_in_order() {
        Folder f;
        QVERIFY(open_database(*f.st));
        QCOMPARE(f.st->directory.file_open(), true);
        QStringList calls;
        int blocks = -1, last_block = -1;
        bool blocks_rise = true;
        LoadHooks hooks;
        hooks.started = [&](int n) {
            calls << QStringLiteral("started");
            blocks = n;
        };
        hooks.progress = [&](int block) {
            if (calls.last() != u"progress") calls << QStringLiteral("progress");
            blocks_rise = blocks_rise && block >= last_block;
            last_block = block;
        };
        hooks.finished = [&] {
            calls << QStringLiteral("finished");
            // The user's hotels are read, the directory's date is not yet set.
            QCOMPARE(f.st->user.user_count, Integer(1));
            QVERIFY(f.st->db.db_date.isEmpty());
        };
        QCOMPARE(load_database(*f.st, hooks), 0);
        QCOMPARE(calls, QStringList({u8("started"), u8("progress"), u8("finished")}));
        QCOMPARE(blocks, int(f.st->db.blk_count));
        QVERIFY(blocks_rise && last_block > 0 && last_block < blocks);
        QCOMPARE(f.st->db.hotel_count, Integer(6));
        QCOMPARE(f.st->user.user_name(1), u8("マイホテル"));
        QCOMPARE(f.st->db.db_date, QStringLiteral("2003/10/10"));
        // The program keeps its scratch copy of the last line read.
        QVERIFY(QFile::exists(f.dir.file(QStringLiteral("tmp.csv"))));
    }

    void a_tool_leaves_no_scratch_copy() {
        Folder f;
        QVERIFY(open_database(*f.st));
        QCOMPARE(load_database(*f.st, {}, false), 0);
        QCOMPARE(f.st->user.user_count, Integer(1));
        QVERIFY(!QFile::exists(f.dir.file(QStringLiteral("tmp.csv"))));
    }

    void a_missing_directory_file_stays_closed_and_loads_nothing() {
        test::ProgramDir dir;
        auto st = std::make_unique<AppState>();
        st->app_path = dir.path();
        QVERIFY(!open_database(*st));
        QCOMPARE(st->directory.file_open(), false);
        // Every section step stops; the user hotel step still runs.
        QVERIFY(load_database(*st) > 0);
        QCOMPARE(st->db.hotel_count, Integer(0));
        QVERIFY(!QFile::exists(dir.file(QStringLiteral("tomarina.dat"))));
    }
};

QTEST_GUILESS_MAIN(TestProgramFolder)
#include "test_program_folder.moc"
