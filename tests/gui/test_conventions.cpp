#include "app/main_menu_window.h"
#include "app/program.h"
#include "support/gui_support.h"
#include "tools/progress_window.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace tomarina;

namespace {

// A window with one control of each kind that takes Esc.
class tomarina31 : public Form {
  public:
    explicit tomarina31(Forms& forms) : Form(forms, 31, QStringLiteral("tomarina31")) {
        button = new QPushButton(QStringLiteral("終了"), this);
        button->setObjectName(QStringLiteral("Command1"));
        text = new QLineEdit(this);
        text->move(0, 40);
        list = new QListWidget(this);
        list->setGeometry(0, 80, 100, 60);
        option = new QRadioButton(this);
        option->move(0, 150);
        connect(button, &QPushButton::clicked, this, [this] { end_proc(); });
        watch_esc();
        resize(300, 200);
    }
    QPushButton* button;
    QLineEdit* text;
    QListWidget* list;
    QRadioButton* option;
};

} // namespace

class TestConventions : public QObject {
    Q_OBJECT
  private slots:
    void twips() {
        QCOMPARE(twips_to_px(1440), 96);
        QCOMPARE(twips_to_px(15), 1);
        QCOMPARE(px_to_twips(96), 1440);
        QCOMPARE(px_to_twips(twips_to_px(5200)), 5205); // whole pixels
    }

    void esc_closes_from_every_control_and_the_window_reopens_where_it_was() {
        test::RunningProgram p;
        auto& [dir, st, pf, forms, ended] = p;
        st.settings.tomarina31 = {1500, 3000};
        for (int control = 0; control < 4; ++control) {
            auto* w = forms.show<tomarina31>();
            QVERIFY(w && w->isVisible());
            QCOMPARE(w->pos(), QPoint(200, 100));
            QWidget* targets[] = {w->button, w->text, w->list, w->option};
            w->move(QPoint(300, 150) + QPoint(control, 0));
            QTest::keyClick(targets[control], Qt::Key_Escape);
            QVERIFY(!forms.loaded<tomarina31>());
            QCOMPARE(st.settings.tomarina31.left, Integer(px_to_twips(300 + control)));
            QCOMPARE(st.settings.tomarina31.top, Integer(2250));
            st.settings.tomarina31 = {1500, 3000};
        }
        // Unloading closed the help window every time.
        QCOMPARE(pf.help_calls.count(QStringLiteral("close")), 4);
    }

    void show_brings_an_open_window_to_the_front_and_unload_rebuilds_it() {
        test::RunningProgram p;
        auto& [dir, st, pf, forms, ended] = p;
        auto* first = forms.show<tomarina31>();
        first->text->setText(QStringLiteral("typed"));
        QCOMPARE(forms.show<tomarina31>(), first);
        QCOMPARE(first->text->text(), QStringLiteral("typed"));
        first->close(); // the frame's close box: no end step, position not saved
        QVERIFY(!forms.loaded<tomarina31>());
        QCOMPARE(st.settings.tomarina31.top, Integer(0));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        auto* second = forms.show<tomarina31>();
        QCOMPARE(second->text->text(), QString());
    }

    void f1_opens_help_at_the_window_topic_and_unload_closes_it() {
        test::RunningProgram p;
        auto& [dir, st, pf, forms, ended] = p;
        auto* w = forms.show<tomarina31>();
        w->text->setFocus();
        QTest::keyClick(w->text, Qt::Key_F1);
        QVERIFY(pf.help_open);
        QCOMPARE(pf.help_topic, QStringLiteral("tomarina31"));
        QTest::mouseClick(w->button, Qt::LeftButton);
        QVERIFY(!pf.help_open);
    }

    void progress_window_keeps_the_help_and_saves_its_position() {
        test::RunningProgram p;
        auto& [dir, st, pf, forms, ended] = p;
        pf.show_help(QString(), QStringLiteral("tomarina1"));
        auto* progress = forms.show<tomarina91>();
        progress->move(45, 30);
        progress->unload();
        QVERIFY(pf.help_open);
        QCOMPARE(st.settings.tomarina91.left, Integer(675));
        QCOMPARE(st.settings.tomarina91.top, Integer(450));
    }

    void program_end_closes_windows_without_their_end_steps_and_restart_reopens_where_left() {
        auto first = std::make_unique<test::RunningProgram>(build_database(test::small_source()));
        QPoint moved_to(240, 165);
        {
            auto& [dir, st, pf, forms, ended] = *first;
            QVERIFY(first->start());
            auto* other = forms.show<tomarina31>();
            other->move(400, 400);
            auto* menu = forms.loaded<tomarina1>();
            menu->move(moved_to);
            QTest::keyClick(menu->Command3, Qt::Key_Escape);
            QVERIFY(!forms.loaded<tomarina31>());
            QCOMPARE(st.settings.tomarina31.top, Integer(0)); // its end step did not run
        }
        const QByteArray ini = first->dir.read(QStringLiteral("tomarina.ini"));
        QVERIFY(ini.contains("tomarina1_top=2475\r\ntomarina1_left=3600\r\n"));
        QVERIFY(ini.contains("tomarina31_top=0\r\n"));
        QVERIFY(ini.contains("max_kensuu=1000\r\n"));
        QVERIFY(ini.contains("sv_colwidth(4)=2100\r\n"));
        QVERIFY(ini.contains("tomarina15_top=5200\r\ntomarina15_left=3800\r\n"));
        {
            AppState st;
            st.app_path = first->dir.path();
            FakePlatform pf;
            Forms forms(st, pf);
            forms.on_end = [] {};
            QVERIFY(start_program(forms));
            QCOMPARE(forms.loaded<tomarina1>()->pos(), moved_to);
        }
    }
};

QTEST_MAIN(TestConventions)
#include "test_conventions.moc"
