#include "browser/browser_window.h"
#include "data/database.h"
#include "data/text_rules.h"
#include "data/user_file.h"
#include "maintenance/hotel_edit_window.h"
#include "maintenance/maintenance_list_window.h"
#include "maintenance/maintenance_texts.h"
#include "platform/nested_loop.h"
#include "platform/platform.h"
#include "program/end_signals.h"
#include "program/main_menu_window.h"
#include "results/results_window.h"
#include "search/region_window.h"
#include "search/search_conditions_window.h"
#include "support/gui_support.h"
#include "support/watchdog.h"

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <csignal>

using namespace tomarina;
using tomarina::test::u8;

namespace {

// Runs act once a message box waits for its answer.
void when_a_box_waits(std::function<void(QMessageBox*)> act) {
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, timer, [timer, act = std::move(act)] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            timer->deleteLater();
            act(box);
        }
    });
    timer->start(10);
}

QByteArray one_user_hotel() {
    return encode_cp932(
        user_line({u8("東京"), u8("東京／羽田"), u8("新宿"), u8("ホテルB"), u8("03-2222-2222"), u8("200"),
                   u8("新宿駅徒歩３分"), u8("\\12,000"), u8("★")}) +
        QStringLiteral("\r\n"));
}

// The program over the small directory, its end signals handled as the program handles them.
struct Program : test::RunningProgram {
    QObject signal_context;
    explicit Program(bool browser_known) : test::RunningProgram(build_database(test::small_source())) {
        if (browser_known)
            dir.write(QStringLiteral("tomarina.ini"),
                      "[Control]\r\ninet_data1=1\r\ninet_data2=/bin/true\r\n");
        dir.write(QStringLiteral("hotelusr.csv"), one_user_hotel());
        catch_end_signals();
    }
    // Started as the program starts: the signals are handled from the start-up on.
    bool start() {
        end_on_signals(&signal_context, forms);
        return test::RunningProgram::start();
    }
    MainMenuWindow* menu() const { return forms.loaded<MainMenuWindow>(); }
};

enum class Act { close_others, close_self, end_signal };

// What a user or the session does while a loop runs: posted, so that the loop itself carries it out as
// it would a click on a close box or the signal's arrival.
void act_now(Act act, const QString& self) {
    if (act == Act::end_signal) {
        ::raise(SIGTERM);
    } else {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* f = qobject_cast<Form*>(w);
            if (!f || f->is_unloading() || !f->isVisible()) continue;
            if ((f->objectName() == self) == (act == Act::close_self))
                QMetaObject::invokeMethod(f, &QWidget::close, Qt::QueuedConnection);
        }
    }
    QCoreApplication::processEvents();
}

// A window that runs nested loops, and how to get it there.
struct Scenario {
    QString self;
    bool browser_known = true;
    std::function<void(Program&)> prepare;
    std::function<void(Program&)> run;
    // No main loop runs yet: an end asked for in a loop is carried out before run returns.
    bool ends_before_the_main_loop = false;
};

SearchConditionsWindow* search_window(Program& p) {
    QTest::mouseClick(p.menu()->search_button, Qt::LeftButton);
    return p.forms.loaded<SearchConditionsWindow>();
}

void search(Program& p, int option, const QString& key) {
    SearchConditionsWindow* w = p.forms.loaded<SearchConditionsWindow>();
    QRadioButton* options[] = {w->prefecture_option, w->airport_option, w->hotel_name_option,
                               w->district_option,   w->station_option, w->keyword_option};
    options[option - 1]->setChecked(true);
    w->key_box->setText(key);
    QTest::mouseClick(w->search_button, Qt::LeftButton);
}

MaintenanceListWindow* list_with_a_row(Program& p) {
    QTest::mouseClick(p.menu()->user_hotels_button, Qt::LeftButton);
    MaintenanceListWindow* w = p.forms.loaded<MaintenanceListWindow>();
    const QPoint at = w->hotels_grid->visualRect(w->model->index(0, 3)).center();
    QTest::mouseClick(w->hotels_grid->viewport(), Qt::LeftButton, {}, at);
    return w;
}

// The program started and its search window open.
void at_the_search_window(Program& p) {
    QVERIFY(p.start());
    QVERIFY(search_window(p));
}

QMap<QString, Scenario> scenarios() {
    QMap<QString, Scenario> s;
    s[QStringLiteral("start-up load")] = {QStringLiteral("main_menu_window"), true, [](Program&) {},
                                          [](Program& p) { p.start(); }, true};
    s[QStringLiteral("search")] = {QStringLiteral("results_window"), true, at_the_search_window,
                                   [](Program& p) { search(p, 1, u8("東京")); }};
    s[QStringLiteral("search without hits")] = {QStringLiteral("results_window"), true, at_the_search_window,
                                                [](Program& p) { search(p, 6, QStringLiteral("ZZZ")); }};
    s[QStringLiteral("page caution")] = {
        QStringLiteral("results_window"), true,
        [](Program& p) {
            at_the_search_window(p);
            if (QTest::currentTestFailed()) return;
            search(p, 1, u8("東京"));
            ResultsWindow* r = p.forms.loaded<ResultsWindow>();
            QVERIFY(r);
            // A hotel with a reservation page.
            for (int row = 0; row < r->model->rowCount() && !r->reserve_button->isEnabled(); ++row)
                QTest::mouseClick(r->hits_grid->viewport(), Qt::LeftButton, {},
                                  r->hits_grid->visualRect(r->model->index(row, 1)).center());
            QVERIFY(r->reserve_button->isEnabled());
            p.pf.launch_result = false; // the browser's failure is told in a second box
        },
        [](Program& p) {
            QTest::mouseClick(p.forms.loaded<ResultsWindow>()->reserve_button, Qt::LeftButton);
        }};
    s[QStringLiteral("delete confirmation")] = {
        QStringLiteral("maintenance_list_window"), true,
        [](Program& p) {
            QVERIFY(p.start());
            list_with_a_row(p);
        },
        [](Program& p) {
            QTest::mouseClick(p.forms.loaded<MaintenanceListWindow>()->delete_button, Qt::LeftButton);
        }};
    s[QStringLiteral("store confirmation")] = {
        QStringLiteral("hotel_edit_window"), true,
        [](Program& p) {
            QVERIFY(p.start());
            list_with_a_row(p);
            QTest::mouseClick(p.forms.loaded<MaintenanceListWindow>()->modify_button, Qt::LeftButton); // 修正
            QVERIFY(p.forms.loaded<HotelEditWindow>());
        },
        [](Program& p) {
            QTest::mouseClick(p.forms.loaded<HotelEditWindow>()->update_button, Qt::LeftButton);
        }};
    s[QStringLiteral("region caution")] = {
        QStringLiteral("region_window"), true,
        [](Program& p) {
            QVERIFY(p.start());
            QTest::mouseClick(p.menu()->region_button, Qt::LeftButton);
            RegionWindow* w = p.forms.loaded<RegionWindow>();
            QVERIFY(w);
            w->region_list->setCurrentRow(0);
            p.pf.launch_result = false;
        },
        [](Program& p) {
            QTest::mouseClick(p.forms.loaded<RegionWindow>()->reserve_button, Qt::LeftButton);
        }};
    s[QStringLiteral("no browser confirmation")] = {
        QStringLiteral("browser_window"), false,
        [](Program& p) {
            QVERIFY(p.start());
            QVERIFY(p.forms.loaded<BrowserWindow>());
        },
        [](Program& p) {
            QTest::mouseClick(p.forms.loaded<BrowserWindow>()->no_browser_option, Qt::LeftButton);
        }};
    return s;
}

bool any_window_loaded() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* f = qobject_cast<Form*>(w); f && !f->is_unloading()) return true;
    return false;
}

// Lets everything that was put off run: the deferred deletes and a deferred end.
void settle() {
    for (int i = 0; i < 4; ++i) {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

} // namespace

class TestNestedLoops : public QObject {
    Q_OBJECT
  private slots:
    // The program ending while a box waits: the box is answered Cancel, or OK when it has only OK, and
    // every box after it is answered at once without being shown.
    void end_answers_the_waiting_box_data() {
        QTest::addColumn<int>("buttons");
        QTest::addColumn<int>("answer");
        QTest::newRow("OK and Cancel") << int(MsgButtons::OkCancel) << int(MsgAnswer::Cancel);
        QTest::newRow("OK only") << int(MsgButtons::Ok) << int(MsgAnswer::Ok);
    }
    void end_answers_the_waiting_box() {
        QFETCH(int, buttons);
        QFETCH(int, answer);
        test::Watchdog dog("a box answered by the end");
        DesktopPlatform pf;
        QWidget parent;
        parent.show();
        bool seen = false;
        when_a_box_waits([&](QMessageBox*) {
            seen = true;
            pf.answer_waiting_messages();
        });
        const auto b = MsgButtons(buttons);
        QCOMPARE(int(pf.message(&parent, maintenance_texts::delete_question, maintenance_texts::confirm_title,
                                MsgIcon::Exclamation, b)),
                 answer);
        QVERIFY(seen);
        QVERIFY(!QApplication::activeModalWidget());
        QCOMPARE(
            int(pf.message(&parent, QStringLiteral("x"), shared_texts::error_title, MsgIcon::Critical, b)),
            answer);
        QVERIFY(parent.findChildren<QMessageBox*>().isEmpty());
    }

    // The box's parent deleted while the box waits takes the box along; the answer is Cancel.
    void parent_deleted_while_the_box_waits() {
        test::Watchdog dog("a box whose parent went");
        DesktopPlatform pf;
        auto* parent = new QWidget;
        parent->show();
        when_a_box_waits([parent](QMessageBox*) { delete parent; });
        QCOMPARE(pf.message(parent, maintenance_texts::delete_question, maintenance_texts::confirm_title,
                            MsgIcon::Exclamation, MsgButtons::OkCancel),
                 MsgAnswer::Cancel);
        QVERIFY(!QApplication::activeModalWidget());
    }
    // A button of the list pressed while its deletion confirmation waits, as the accessibility bus can:
    // the list closes, its box is not pulled from under the waiting code, and nothing is deleted.
    void list_closed_while_its_delete_confirmation_waits_data() {
        QTest::addColumn<QString>("button");
        QTest::newRow("save") << QStringLiteral("save_button");
        QTest::newRow("cancel") << QStringLiteral("cancel_button");
        QTest::newRow("add") << QStringLiteral("add_button");
    }
    void list_closed_while_its_delete_confirmation_waits() {
        QFETCH(QString, button);
        test::Watchdog dog("a press during the delete confirmation");
        const QByteArray dat = build_database(test::small_source());
        test::ProgramDir dir(dat);
        dir.write(QStringLiteral("hotelusr.csv"), one_user_hotel());
        AppState st;
        st.app_path = dir.path();
        st.directory.load([&](HotelTables& t) { Loader(t, dat).load_all(); });
        DesktopPlatform pf;
        test::WiredForms forms(st, pf);
        st.directory.read_user_file(dir.file(QStringLiteral("hotelusr.csv")), QString());
        st.settings_store.load({});
        MaintenanceListWindow* list = forms.show<MaintenanceListWindow>();
        QTest::mouseClick(list->hotels_grid->viewport(), Qt::LeftButton, {},
                          list->hotels_grid->visualRect(list->model->index(0, 3)).center());
        QVERIFY(list->delete_button->isEnabled());
        int pressed = 0;
        when_a_box_waits([&](QMessageBox*) {
            ++pressed;
            list->findChild<QPushButton*>(button)->click();
            // Answered OK a moment later, from the box's own loop.
            when_a_box_waits([&](QMessageBox* box) { box->button(QMessageBox::Ok)->click(); });
        });
        QTest::mouseClick(list->delete_button, Qt::LeftButton);
        QCOMPARE(pressed, 1);
        QVERIFY(!forms.loaded<MaintenanceListWindow>());
        QCOMPARE(int(st.user.user_count), 1);
        QCOMPARE(bool(forms.loaded<HotelEditWindow>()), button == QStringLiteral("add_button"));
        settle();
    }

    // Every window that runs nested loops, at each of its loops in turn: every other window closed,
    // the window itself closed, and the end signal. The program goes on or ends, never crashes; an end
    // is carried out once, after the loop, with the settings written.
    void each_loop_survives_closes_and_the_end_data() {
        QTest::addColumn<QString>("scenario");
        QTest::addColumn<int>("act");
        for (const QString& name : scenarios().keys()) {
            QTest::newRow(qPrintable(name + QStringLiteral(": others closed")))
                << name << int(Act::close_others);
            QTest::newRow(qPrintable(name + QStringLiteral(": itself closed")))
                << name << int(Act::close_self);
            QTest::newRow(qPrintable(name + QStringLiteral(": end signal"))) << name << int(Act::end_signal);
        }
    }
    void each_loop_survives_closes_and_the_end() {
        QFETCH(QString, scenario);
        QFETCH(int, act);
        const Scenario s = scenarios().value(scenario);
        test::Watchdog dog(scenario.toUtf8());
        // How many nested loops the step runs when nothing happens in them.
        int loops = 0;
        {
            Program p(s.browser_known);
            s.prepare(p);
            NestedLoop::entered = [&] { ++loops; };
            s.run(p);
            NestedLoop::entered = nullptr;
            settle();
        }
        QVERIFY(loops > 0);
        for (int k = 1; k <= loops; ++k) {
            const QByteArray where = scenario.toUtf8() + " loop " + QByteArray::number(k);
            Program p(s.browser_known);
            s.prepare(p);
            int seen = 0;
            bool acting = false;
            NestedLoop::entered = [&] {
                if (acting || ++seen != k) return;
                acting = true;
                act_now(Act(act), s.self);
                acting = false;
            };
            s.run(p);
            NestedLoop::entered = nullptr;
            if (s.ends_before_the_main_loop && Act(act) == Act::end_signal) QVERIFY2(p.ended == 1, where);
            settle();
            QVERIFY2(p.ended <= 1, where);
            if (Act(act) == Act::end_signal || !p.menu()) {
                // Ended after the loop returned, once, with the settings written.
                QVERIFY2(p.ended == 1, where);
                QVERIFY2(QFile::exists(p.dir.file(QStringLiteral("tomarina.ini"))), where);
                QVERIFY2(!any_window_loaded(), where);
            } else {
                // Goes on: the main menu still ends the program as usual.
                QVERIFY2(p.ended == 0, where);
                QTest::keyClick(p.menu()->close_button, Qt::Key_Escape);
                settle();
                QVERIFY2(p.ended == 1, where);
            }
        }
    }
};

QTEST_MAIN(TestNestedLoops)
#include "test_nested_loops.moc"
