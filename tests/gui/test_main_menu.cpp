#include "program/main_menu_window.h"
#include "program/program.h"
#include "program/program_texts.h"
#include "support/gui_support.h"
#include "tools/splash_window.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPixmap>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QWindow>
#include <sys/stat.h>

using namespace tomarina;
using tomarina::test::u8;

static QTextBrowser* help_view() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == u"help_window") return w->findChild<QTextBrowser*>();
    return nullptr;
}

static const QByteArray pixel("P1 1 1 0"); // a picture of one pixel

class TestMainMenu : public QObject {
    Q_OBJECT
  private slots:
    void starts_shows_the_menu_and_ends_with_esc() {
        test::RunningProgram p(build_database(test::small_source()));
        auto& [dir, st, pf, forms, ended] = p;
        QVERIFY(p.start());

        auto* menu = forms.loaded<MainMenuWindow>();
        QVERIFY(menu);
        QVERIFY(menu->isVisible());
        QVERIFY(!forms.loaded<SplashWindow>());
        QCOMPARE(menu->windowTitle(),
                 u8("トマリナホテル情報＆予約　　　　　　　　　　　　　　　ヘルプ：Ｆ１"));
        QVERIFY(!menu->region_button->isEnabled()); // no browser registered
        QVERIFY(menu->search_button->isEnabled());
        // Half-height buttons stacked in the third column.
        QCOMPARE(menu->user_hotels_button->geometry().top(), 0);
        QVERIFY(menu->tools_button->geometry().top() > menu->user_hotels_button->geometry().bottom());

        QCOMPARE(st.ver_text, QStringLiteral("1.51"));
        QCOMPARE(st.db.hotel_count, Integer(6));
        QCOMPARE(st.db.db_date, QStringLiteral("2003/10/10"));
        QCOMPARE(st.directory.file_open(), true);
        QCOMPARE(st.settings.max_kensuu, Integer(1000));
        QCOMPARE(st.settings.sv_colwidth(1), Integer(2300));

        // The size is fixed, even where the window manager ignores the size hints.
        const QSize size = menu->size();
        menu->resize(size * 2);
        QCOMPARE(menu->size(), size);
        for (const QSize wanted : {QSize(600, 300), QSize(size.width(), size.height() / 2)}) {
            menu->windowHandle()->resize(wanted);
            QCoreApplication::processEvents(); // the window system's answer arrives as an event
            QTRY_COMPARE(menu->size(), size);
        }

        menu->search_button->setFocus();
        QTest::keyClick(menu->search_button, Qt::Key_Escape);
        QCOMPARE(ended, 1);
        QCOMPARE(st.directory.file_open(), false);
        QVERIFY(!forms.loaded<MainMenuWindow>());
        QVERIFY(dir.read(QStringLiteral("tomarina.ini")).startsWith("[Form]\r\ntomarina1_top="));
        // A first run has not determined the browser yet.
        QVERIFY(dir.read(QStringLiteral("tomarina.ini")).contains("\r\ninet_data1=0\r\n"));
    }

    void browser_registered_enables_region_button() {
        test::RunningProgram p(build_database(test::small_source()));
        p.dir.write(QStringLiteral("tomarina.ini"), "[Control]\r\ninet_data1=1\r\n");
        QVERIFY(p.start());
        QVERIFY(p.forms.loaded<MainMenuWindow>()->region_button->isEnabled());
    }

    void starts_without_a_database() {
        test::RunningProgram p;
        auto& [dir, st, pf, forms, ended] = p;
        QVERIFY(p.start());
        auto* menu = forms.loaded<MainMenuWindow>();
        QVERIFY(menu && menu->isVisible());
        QCOMPARE(st.db.hotel_count, Integer(0));
        QVERIFY(!QFile::exists(dir.file(QStringLiteral("tomarina.dat"))));
        QTest::mouseClick(menu->close_button, Qt::LeftButton);
        QCOMPARE(ended, 1);
    }

    void starts_with_damaged_files() {
        test::RunningProgram p;
        auto& [dir, st, pf, forms, ended] = p;
        QDir(dir.path()).mkdir(QStringLiteral("tomarina.dat"));
        QByteArray noise;
        for (int i = 0; i < 5000; ++i) noise.append(char((i * 131 + 7) % 256));
        dir.write(QStringLiteral("tomarina.ini"), noise);
        dir.write(QStringLiteral("hotelusr.csv"), noise);
        QVERIFY(p.start());
        QCOMPARE(st.db.hotel_count, Integer(0));
        QVERIFY(st.user.user_count > 0);
        QVERIFY(pf.messages.isEmpty());
        QTest::keyClick(forms.loaded<MainMenuWindow>()->close_button, Qt::Key_Escape);
        QVERIFY(dir.read(QStringLiteral("tomarina.ini")).startsWith("[Form]\r\n"));
        QCOMPARE(dir.read(QStringLiteral("hotelusr.csv")), noise); // read, never written here
    }

    void splash_shows_the_version() {
        test::RunningProgram p;
        auto& [dir, st, pf, forms, ended] = p;
        st.ver_text = QStringLiteral("1.51");
        auto* splash = forms.show<SplashWindow>();
        QCOMPARE(splash->version_label->text(), QStringLiteral("Version  1.51"));
        QCOMPARE(splash->product_name_label->text(), app_title);
        QCOMPARE(splash->platform_label->text(), QStringLiteral("Windows95/98,NT/WS"));
    }

    // The help viewer shows the captions as the windows do, ideographic spaces and all: 「保　　守」.
    void help_keeps_the_captions_spaces() {
        const QString path = QStringLiteral(TOMARINA_SAMPLE_DIR "/../help/tomarina.html");
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString source = QString::fromUtf8(file.readAll());
        QVERIFY(source.count(program_texts::tools_caption) >= 2);
        DesktopPlatform pf;
        pf.show_help(path, QStringLiteral("tomarina1"));
        QTextBrowser* help = help_view();
        QVERIFY(help && help->isVisible());
        const QString shown = help->toPlainText();
        QCOMPARE(shown.count(program_texts::tools_caption), source.count(program_texts::tools_caption));
        QVERIFY(!shown.contains(u8("保 守")));
        QVERIFY(!shown.contains(QStringLiteral("white-space")));
        QCOMPARE(help->textCursor().block().text(), u8("メインメニュー")); // the caret at the topic
    }

    // F1 reads only pictures written into the help or beside it: no device, pipe, other file, web, nor 4 MB.
    // Every other address shows a placeholder and is never read by the toolkit itself. DIR: the test's
    // folder, which holds the help's folder "program".
    void help_shows_only_its_own_pictures_data() {
        QTest::addColumn<QString>("address");
        QTest::addColumn<bool>("shown");
        QTest::newRow("written into it") << "data:image/x-portable-bitmap;base64,UDEgMSAxIDA=" << true;
        QTest::newRow("beside it") << "pic.pbm" << true;
        QTest::newRow("a device") << "file:///dev/zero" << false;
        QTest::newRow("a named pipe beside it") << "pipe.pbm" << false;
        QTest::newRow("another folder") << "../elsewhere.pbm" << false;
        QTest::newRow("another folder, by its whole path") << "DIR/elsewhere.pbm" << false;
        QTest::newRow("a link to another folder") << "link.pbm" << false;
        QTest::newRow("the network") << "http://example.jp/pic.pbm" << false;
        QTest::newRow("over 4 MB") << "big.pbm" << false;
        QTest::newRow("not a picture") << "text.pbm" << false;
        // Would wait for a writer for good: run in a child process with a time limit.
        QTest::newRow("a named pipe elsewhere") << "DIR/pipe.pbm" << false;
    }
    void help_shows_only_its_own_pictures() {
        QFETCH(QString, address);
        QFETCH(bool, shown);
        if (address == u"DIR/pipe.pbm" && !qEnvironmentVariableIsSet("TOMARINA_TEST_CHILD")) {
            QProcess child;
            child.setProcessEnvironment([] {
                auto env = QProcessEnvironment::systemEnvironment();
                env.insert(QStringLiteral("TOMARINA_TEST_CHILD"), QStringLiteral("1"));
                return env;
            }());
            child.start(QCoreApplication::applicationFilePath(),
                        {QStringLiteral("help_shows_only_its_own_pictures:") + QTest::currentDataTag()});
            if (!child.waitForFinished(60000)) {
                child.kill();
                child.waitForFinished();
                QFAIL("the help waited for a named pipe");
            }
            QVERIFY2(child.exitCode() == 0, child.readAllStandardOutput().constData());
            return;
        }
        test::ProgramDir dir;
        address.replace(QStringLiteral("DIR"), dir.path());
        dir.write("elsewhere.pbm", pixel);
        QVERIFY(QDir(dir.path()).mkdir("program"));
        dir.write("program/pic.pbm", pixel);
        dir.write("program/big.pbm", pixel + QByteArray(4 << 20, 0));
        dir.write("program/text.pbm", "no picture");
        for (const char* pipe : {"program/pipe.pbm", "pipe.pbm"})
            QVERIFY(::mkfifo(QFile::encodeName(dir.file(pipe)).constData(), 0600) == 0);
        QVERIFY(QFile::link(dir.file("elsewhere.pbm"), dir.file("program/link.pbm")));
        dir.write("program/tomarina.hlp", ("<p><img src=\"" + address + "\"></p>").toUtf8());
        DesktopPlatform pf;
        pf.show_help(dir.file("program/tomarina.hlp"), QStringLiteral("tomarina1"));
        QTextDocument* page = help_view()->document();
        page->documentLayout()->documentSize(); // laid out: every picture asked for
        const QVariant drawn = page->resource(QTextDocument::ImageResource, QUrl(address));
        const QImage picture =
            drawn.userType() == QMetaType::QPixmap ? drawn.value<QPixmap>().toImage() : drawn.value<QImage>();
        QVERIFY(!picture.isNull()); // a placeholder at least, never a load of the address
        QCOMPARE(picture.size() == QSize(1, 1), shown);
    }

    // Laid out at the label's width in its font, every line of the splash's notice ends a sentence
    // and all of them fit the label's height.
    void splash_notice_reads_well() {
        test::RunningProgram p;
        auto* splash = p.forms.show<SplashWindow>();
        const QLabel* label = splash->warning_label;
        const test::DrawnLines drawn = test::drawn_lines(label);
        QVERIFY(drawn.fit_width);
        QCOMPARE(drawn.lines.size(), 2);
        for (const QString& l : drawn.lines) QVERIFY2(l.endsWith(u8("。")), qPrintable(l));
        QVERIFY(drawn.height <= label->contentsRect().height() + 1);
    }
};

QTEST_MAIN(TestMainMenu)
#include "test_main_menu.moc"
