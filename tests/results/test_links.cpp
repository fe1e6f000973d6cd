#include "browser/browser_texts.h"
#include "data/hotel_tables.h"
#include "platform/web_address.h"
#include "results/links.h"
#include "shared/settings_store.h"
#include "support/fake_platform.h"
#include "support/test_support.h"

#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>
#include <unistd.h>

using namespace tomarina;
using tomarina::test::u8;

Q_DECLARE_METATYPE(tomarina::LinkMode)

namespace {

// Hotel 1 with the given links; the other slots stay empty.
HotelTables hotel(long info_no, const QString& url, const QString& best) {
    HotelTables t;
    t.hotel_count = 1;
    t.hotel_info_no(1) = info_no;
    t.hotel_url(1) = url;
    t.hotel_best(1) = best;
    return t;
}

const QString home = QStringLiteral("http://www.hotel.example.jp/");
const QString best_text = QStringLiteral("hotel=42&area=7");

} // namespace

class TestLinks : public QObject {
    Q_OBJECT
  private slots:
    void availability_data() {
        QTest::addColumn<int>("info_no");
        QTest::addColumn<QString>("url");
        QTest::addColumn<QString>("best");
        QTest::addColumn<bool>("info");
        QTest::addColumn<bool>("reserve");
        QTest::newRow("service number only") << 5 << QString() << QString() << true << true;
        QTest::newRow("service number and all") << 5 << home << best_text << true << true;
        QTest::newRow("home page only") << 0 << home << QString() << true << false;
        QTest::newRow("home page and second service") << 0 << home << best_text << true << false;
        QTest::newRow("second service only") << 0 << QString() << best_text << true << true;
        QTest::newRow("nothing") << 0 << QString() << QString() << false << false;
    }
    void availability() {
        QFETCH(int, info_no);
        QFETCH(QString, url);
        QFETCH(QString, best);
        QFETCH(bool, info);
        QFETCH(bool, reserve);
        const HotelTables t = hotel(info_no, url, best);
        QCOMPARE(link_availability(t, 1), (LinkButtons{info, reserve}));
    }

    void addresses_data() {
        QTest::addColumn<int>("info_no");
        QTest::addColumn<QString>("url");
        QTest::addColumn<QString>("best");
        QTest::addColumn<LinkMode>("mode");
        QTest::addColumn<QStringList>("expected");
        const QString info123 =
            QStringLiteral("http://") + link_hosts::info + QStringLiteral("/HOTEL/123/123.html");
        const QString rsv123 =
            QStringLiteral("http://") + link_hosts::reserve + QStringLiteral("/my/ry_kensaku.k1?f_no=123");
        const QString best =
            QStringLiteral("http://") + link_hosts::best + QStringLiteral("/best/s?") + best_text;
        QTest::newRow("information page")
            << 123 << QString() << QString() << LinkMode::Information << QStringList{info123};
        QTest::newRow("reservation search")
            << 123 << QString() << QString() << LinkMode::Reservation << QStringList{rsv123};
        QTest::newRow("order A, B, C")
            << 123 << home << best_text << LinkMode::Reservation << QStringList{rsv123, best, home};
        QTest::newRow("home page equal to B opened once")
            << 0 << best << best_text << LinkMode::Information << QStringList{best};
        QTest::newRow("no number: B and C by either button")
            << 0 << home << best_text << LinkMode::Information << QStringList{best, home};
        QTest::newRow("second service only, reservation")
            << 0 << QString() << best_text << LinkMode::Reservation << QStringList{best};
        QTest::newRow("nothing") << 0 << QString() << QString() << LinkMode::Information << QStringList{};
    }
    void addresses() {
        QFETCH(int, info_no);
        QFETCH(QString, url);
        QFETCH(QString, best);
        QFETCH(LinkMode, mode);
        QFETCH(QStringList, expected);
        QCOMPARE(link_addresses(hotel(info_no, url, best), 1, mode), expected);
    }

    void boxes_limit_the_addresses() {
        const HotelTables t = hotel(7, home, best_text);
        QCOMPARE(link_addresses(t, 1, LinkMode::Information, {true, true, false}).size(), 2);
        QCOMPARE(link_addresses(t, 1, LinkMode::Information, {false, false, true}), QStringList{home});
        QVERIFY(link_addresses(t, 1, LinkMode::Information, {false, false, false}).isEmpty());
        // A hotel number outside the table opens nothing rather than failing.
        QVERIFY(link_addresses(t, -1, LinkMode::Information).isEmpty());
        QVERIFY(link_addresses(t, 40000, LinkMode::Information).isEmpty());
    }

    void caution_counts_showings_up_to_three() {
        SettingsStore s;
        FakePlatform pf;
        s.set(&Settings::sv_count, 2);
        pf.answers = {MsgAnswer::Cancel};
        QVERIFY(!caution_step(s, pf, nullptr));
        QCOMPARE(s.values().sv_count, Integer(3));
        QCOMPARE(pf.messages.size(), 1);
        QCOMPARE(pf.messages[0].title, browser_texts::caution_title);
        QCOMPARE(pf.messages[0].text.split(QStringLiteral("\r\n")).size(), 3);
        QCOMPARE(pf.messages[0].buttons, MsgButtons::OkCancel);
        QCOMPARE(pf.messages[0].icon, MsgIcon::Exclamation);
        // From now on it goes on without a message.
        QVERIFY(caution_step(s, pf, nullptr));
        QCOMPARE(pf.messages.size(), 1);
        QCOMPARE(s.values().sv_count, Integer(3));
    }

    void caution_off_by_control9_flg() {
        SettingsStore s;
        FakePlatform pf;
        s.set(&Settings::control9_flg, 1);
        QVERIFY(caution_step(s, pf, nullptr));
        QVERIFY(pf.messages.isEmpty());
        QCOMPARE(s.values().sv_count, Integer(0));
    }

    void caution_count_kept_across_runs() {
        SettingsStore s;
        FakePlatform pf;
        QVERIFY(caution_step(s, pf, nullptr));
        QVERIFY(caution_step(s, pf, nullptr));
        QCOMPARE(s.values().sv_count, Integer(2));
        // The next run reads the count back from the settings file.
        QTemporaryDir dir;
        QVERIFY(write_settings_file(dir.filePath(QStringLiteral("tomarina.ini")), s.values()));
        SettingsStore next;
        next.load(dir.filePath(QStringLiteral("tomarina.ini")));
        QCOMPARE(next.values().sv_count, Integer(2));
        QVERIFY(caution_step(next, pf, nullptr));
        QVERIFY(caution_step(next, pf, nullptr));
        QCOMPARE(pf.messages.size(), 3);
    }

    void open_links_starts_browser_in_order() {
        HotelTables t = hotel(9, home, best_text);
        SettingsStore s;
        s.set_browser(QStringLiteral("1"), QStringLiteral("/usr/bin/xdg-open"));
        FakePlatform pf;
        open_links(hotel_record(t, 1), s, pf, nullptr, LinkMode::Information);
        QCOMPARE(pf.launches.size(), 3);
        QCOMPARE(pf.launches[0].program, s.values().inet_data2);
        QVERIFY(pf.launches[0].address.endsWith(QStringLiteral("/HOTEL/9/9.html")));
        QVERIFY(pf.launches[1].address.contains(QStringLiteral("/best/s?")));
        QCOMPARE(pf.launches[2].address, home);
    }

    void cancel_opens_nothing() {
        HotelTables t = hotel(9, home, QString());
        SettingsStore s;
        s.set_browser(QStringLiteral("1"), QStringLiteral("/usr/bin/xdg-open"));
        FakePlatform pf;
        pf.answers = {MsgAnswer::Cancel};
        open_links(hotel_record(t, 1), s, pf, nullptr, LinkMode::Reservation);
        QVERIFY(pf.launches.isEmpty());
        QCOMPARE(s.values().sv_count, Integer(1));
    }

    void web_addresses_data() {
        QTest::addColumn<QString>("address");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("http") << "http://www.example.jp/a?b=1" << true;
        QTest::newRow("https") << "https://www.example.jp/" << true;
        QTest::newRow("upper-case scheme") << "HTTP://WWW.EXAMPLE.JP/" << true;
        QTest::newRow("file") << "file:///etc/passwd" << false;
        QTest::newRow("option") << "--new-window=x" << false;
        QTest::newRow("dash then address") << "-http://x" << false;
        QTest::newRow("relative") << "www.example.jp" << false;
        QTest::newRow("javascript") << "javascript:alert(1)" << false;
        QTest::newRow("line break") << "http://a.example.jp/\nfile:///x" << false;
        QTest::newRow("empty") << "" << false;
    }
    void web_addresses() {
        QFETCH(QString, address);
        QFETCH(bool, accepted);
        QCOMPARE(is_web_address(address), accepted);
    }

    void refused_or_failed_start_tells_and_goes_on() {
        SettingsStore s;
        s.set_browser(QStringLiteral("1"), QStringLiteral("/usr/bin/xdg-open"));
        FakePlatform pf;
        HotelTables t = hotel(0, QStringLiteral("file:///etc/passwd"), QString());
        // The refused home page does not stop the other pages of the same press.
        t.hotel_info_no(1) = 4;
        open_links(hotel_record(t, 1), s, pf, nullptr, LinkMode::Information);
        QCOMPARE(pf.launches.size(), 1);
        QCOMPARE(pf.messages.last().title, shared_texts::error_title);
        QVERIFY(pf.messages.last().text.contains(QStringLiteral("file:///etc/passwd")));

        pf.messages.clear();
        pf.launch_result = false;
        QVERIFY(!start_browser(s.values(), pf, nullptr, home));
        QCOMPARE(pf.messages.size(), 1);
        QCOMPARE(pf.messages[0].title, shared_texts::error_title);

        pf.messages.clear();
        pf.launches.clear();
        s.set_browser(QStringLiteral("1"), QString());
        QVERIFY(!start_browser(s.values(), pf, nullptr, home));
        QVERIFY(pf.launches.isEmpty());
        QCOMPARE(pf.messages.size(), 1);
    }

    // The browser from the settings starts only when no other user can change it or its folders.
    void browser_command_is_checked_data() {
        QTest::addColumn<QString>("program"); // "script": a script in a folder of the test
        QTest::addColumn<uint>("folder_mode");
        QTest::addColumn<uint>("owner"); // of the script; 1: the user
        QTest::addColumn<bool>("started");
        QTest::newRow("the desktop's opener") << "/usr/bin/xdg-open" << 0700u << 1u << true;
        QTest::newRow("the user's own script, private folder") << "script" << 0700u << 1u << true;
        QTest::newRow("a script in a folder writable by all") << "script" << 0777u << 1u << false;
        QTest::newRow("another user's script") << "script" << 0700u << 65534u << false;
    }
    void browser_command_is_checked() {
        QFETCH(QString, program);
        QFETCH(uint, folder_mode);
        QFETCH(uint, owner);
        QFETCH(bool, started);
        QTemporaryDir dir;
        const QString script = dir.filePath(QStringLiteral("browser"));
        QFile file(script);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("#!/bin/sh\n") > 0);
        file.close();
        QCOMPARE(::chmod(QFile::encodeName(script).constData(), 0755), 0);
        QCOMPARE(::chmod(QFile::encodeName(dir.path()).constData(), folder_mode), 0);
        if (owner != 1 && ::chown(QFile::encodeName(script).constData(), owner, owner) != 0)
            QSKIP("giving a file to another user needs root");
        Settings s;
        s.inet_data2 = program == u"script" ? script : program;
        FakePlatform pf;
        QCOMPARE(start_browser(s, pf, nullptr, home), started);
        QCOMPARE(pf.launches.size(), started ? 1 : 0);
        QCOMPARE(pf.messages.size(), started ? 0 : 1);
        if (!started)
            QVERIFY2(pf.messages[0].text.contains(u8("ほかの利用者")), qPrintable(pf.messages[0].text));
    }
};

QTEST_GUILESS_MAIN(TestLinks)
#include "test_links.moc"
