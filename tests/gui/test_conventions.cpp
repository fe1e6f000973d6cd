#include "maintenance/hotel_edit_window.h"
#include "maintenance/maintenance_list_window.h"
#include "platform/on_screen.h"
#include "program/main_menu_window.h"
#include "program/program.h"
#include "results/detail_window.h"
#include "results/results_window.h"
#include "search/narrowing_window.h"
#include "search/picker_window.h"
#include "search/region_window.h"
#include "search/search_conditions_window.h"
#include "shared/results_cells.h"
#include "support/gui_support.h"
#include "tools/about_window.h"
#include "tools/progress_window.h"
#include "tools/settings_window.h"
#include "tools/splash_window.h"
#include "tools/tools_menu_window.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

using namespace tomarina;

namespace {

// A window with one control of each kind that takes Esc; it keeps its position in the tools menu's slot.
class StandIn : public Form {
  public:
    explicit StandIn(Forms& forms) : Form(forms, stored_names::tools_menu, QStringLiteral("stand_in")) {
        button = new QPushButton(QStringLiteral("終了"), this);
        button->setObjectName(QStringLiteral("Command1"));
        text = new QLineEdit(this);
        text->move(0, 40);
        list = new QListWidget(this);
        list->setGeometry(0, 80, 100, 60);
        option = new QRadioButton(this);
        option->move(0, 150);
        check = new QCheckBox(this);
        check->move(0, 170);
        tabs = new QTabWidget(this);
        tabs->setGeometry(120, 0, 160, 100);
        tabs->addTab(new QWidget, QStringLiteral("一"));
        tabs->addTab(new QWidget, QStringLiteral("二"));
        connect(button, &QPushButton::clicked, this, [this] { close_window(); });
        watch_esc();
        resize(300, 200);
    }
    QPushButton* button;
    QLineEdit* text;
    QListWidget* list;
    QRadioButton* option;
    QCheckBox* check;
    QTabWidget* tabs;
};

// The controls of a window that a user would see cut: a caption wider than its control (a label's lines
// also taller), or a titled frame whose border or caption runs through a control.
QStringList cut_or_crossed(QWidget* window) {
    QStringList found;
    for (QWidget* c : window->findChildren<QWidget*>()) {
        const QString name = window->objectName() + u'.' + c->objectName();
        const QFontMetrics fm(c->font());
        // A push button draws its caption inside its frame; an option or a check box after its mark.
        if (auto* b = qobject_cast<QAbstractButton*>(c);
            b && !b->text().isEmpty() &&
            (qobject_cast<QPushButton*>(b)
                 ? fm.horizontalAdvance(b->text()) + 2 * b->style()->pixelMetric(QStyle::PM_DefaultFrameWidth)
                 : b->sizeHint().width()) > b->width())
            found << name;
        if (auto* l = qobject_cast<QLabel*>(c); l && !l->text().isEmpty()) {
            const test::DrawnLines drawn = test::drawn_lines(l);
            if (!drawn.fit_width || drawn.height > l->contentsRect().height() + 1) found << name;
        }
        // A grid heading is drawn on one line, inside the grid.
        if (auto* h = qobject_cast<GridHeading*>(c))
            for (int i = 0; i < h->count(); ++i)
                if (h->heading_lines(i).size() > 1 || h->sectionPosition(i) + h->sectionSize(i) > h->width())
                    found << name + QStringLiteral(" heading ") + h->heading_lines(i).join(u'|');
        // A caption right at the window's side looks cut by it (a frame's stands at its top left).
        const auto* frame = qobject_cast<QGroupBox*>(c);
        QRect at = frame ? QRect(0, 0, fm.horizontalAdvance(frame->title()), 1) : c->rect();
        at.translate(c->mapTo(window, QPoint()));
        if (!c->property(frame ? "title" : "text").toString().isEmpty() && c->isVisibleTo(window) &&
            (at.left() < 4 || at.right() >= window->width() - 4))
            found << name + QStringLiteral(" at the window's side");
        if (auto* g = qobject_cast<QGroupBox*>(c); g && !g->title().isEmpty())
            for (QWidget* in : g->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
                if (!in->isHidden() && (in->y() < g->contentsRect().top() ||
                                        !g->rect().adjusted(1, 1, -1, -1).contains(in->geometry())))
                    found << name + QStringLiteral(" through ") + in->objectName();
    }
    return found;
}

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

    void kept_on_screen() {
        const QList<QRect> areas = {{0, 0, 1280, 1024}, {1280, 0, 1024, 768}}; // the second is the primary
        const auto kept = [&areas](QRect r) { return tomarina::kept_on_screen(r, areas, 1, false); };
        QCOMPARE(kept({1200, 0, 300, 200}), QRect(1280, 0, 300, 200));      // mostly on the second
        QCOMPARE(kept({5000, 5000, 300, 200}), QRect(2004, 568, 300, 200)); // on none
    }

    void esc_closes_from_every_control_and_the_window_reopens_where_it_was() {
        test::RunningProgram p;
        auto& [dir, st, pf, forms, ended] = p;
        st.settings_store.set_position(31, {1500, 3000});
        // Every control, the tab strip and the window itself.
        constexpr int controls = 7;
        for (int control = 0; control < controls; ++control) {
            auto* w = forms.show<StandIn>();
            QVERIFY(w && w->isVisible());
            QCOMPARE(w->pos(), QPoint(200, 100));
            QWidget* targets[] = {w->button, w->text, w->list, w->option, w->check, w->tabs->tabBar(), w};
            w->move(QPoint(300, 150) + QPoint(control, 0));
            QTest::keyClick(targets[control], Qt::Key_Escape);
            QVERIFY(!forms.loaded<StandIn>());
            QCOMPARE(st.settings.tools_menu_window.left, Integer(px_to_twips(300 + control)));
            QCOMPARE(st.settings.tools_menu_window.top, Integer(2250));
            st.settings_store.set_position(31, {1500, 3000});
        }
        // Unloading closed the help window every time.
        QCOMPARE(pf.help_calls.count(QStringLiteral("close")), controls);
    }

    void show_brings_an_open_window_to_the_front_and_unload_rebuilds_it() {
        test::RunningProgram p;
        auto& [dir, st, pf, forms, ended] = p;
        auto* first = forms.show<StandIn>();
        first->text->setText(QStringLiteral("typed"));
        QCOMPARE(forms.show<StandIn>(), first);
        QCOMPARE(first->text->text(), QStringLiteral("typed"));
        first->close(); // the frame's close box: no end step, position not saved
        QVERIFY(!forms.loaded<StandIn>());
        QCOMPARE(st.settings.tools_menu_window.top, Integer(0));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        auto* second = forms.show<StandIn>();
        QCOMPARE(second->text->text(), QString());
    }

    // A window closed from the keyboard gives the keyboard back to the window used before it; and
    // each window reaches screen readers as a window, whose frames are groups, not windows.
    void closing_gives_the_keyboard_back_and_windows_are_windows() {
        test::RunningProgram p(build_database(test::small_source()));
        p.dir.write(QStringLiteral("tomarina.ini"), "[Control]\r\ninet_data1=3\r\n");
        QVERIFY(p.start());
        auto* menu = p.forms.loaded<MainMenuWindow>();
        QVERIFY(QTest::qWaitForWindowActive(menu));
        auto* w = p.forms.show<StandIn>();
        QVERIFY(QTest::qWaitForWindowActive(w));
        // The progress window, shown meanwhile, is never given the keyboard back. (This platform
        // activates every window it shows; the desktop leaves the keyboard where it was.)
        auto* bar = p.forms.show<ProgressWindow>();
        QVERIFY(QTest::qWaitForWindowExposed(bar));
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
        // A one-line box is read whole: its one run of attributes ends where its text does.
        w->text->setText(QStringLiteral("9400円"));
        int start = -1, end = -1;
        QAccessible::queryAccessibleInterface(w->text)->textInterface()->attributes(4, &start, &end);
        QCOMPARE(std::pair(start, end), std::pair(0, 5));
        QTest::keyClick(w->text, Qt::Key_Escape);
        QTRY_COMPARE(QApplication::activeWindow(), menu);
        bar->unload();

        QAccessibleInterface* window = QAccessible::queryAccessibleInterface(menu);
        QCOMPARE(window->role(), QAccessible::Window);
        QCOMPARE(window->text(QAccessible::Name), main_menu_caption());
        QAccessibleInterface* frame = QAccessible::queryAccessibleInterface(menu->menu_frame);
        QCOMPARE(frame->role(), QAccessible::Grouping);
        QVERIFY(!frame->text(QAccessible::Name).isEmpty());
    }

    void f1_opens_help_at_the_window_topic_and_unload_closes_it() {
        test::RunningProgram p;
        auto& [dir, st, pf, forms, ended] = p;
        auto* w = forms.show<StandIn>();
        w->text->setFocus();
        QTest::keyClick(w->text, Qt::Key_F1);
        QVERIFY(pf.help_open);
        QCOMPARE(pf.help_topic, QStringLiteral("tomarina31"));
        QTest::mouseClick(w->button, Qt::LeftButton);
        QVERIFY(!pf.help_open);
    }

    // F1 in a real window opens the help at that window's own topic; and in every window each caption
    // fits its control and no frame runs through one (run again at twice the scale, as at 192 dpi).
    void real_windows_open_their_help_topic_and_show_whole_captions() {
        install_fonts();
        test::RunningProgram p(build_database(test::small_source()));
        QVERIFY(p.start());
        auto& [dir, st, pf, forms, ended] = p;
        auto f1_in = [&platform = pf](Form* w) {
            QVERIFY(w);
            auto* control = w->findChild<QPushButton*>();
            QVERIFY2(control, qPrintable(w->objectName()));
            platform.help_topic.clear();
            QTest::keyClick(control, Qt::Key_F1);
            // The help file's anchors are the windows' stored names: tomarina<number of its position keys>.
            QCOMPARE(platform.help_topic, QStringLiteral("tomarina%1").arg(w->number()));
        };
        f1_in(forms.loaded<MainMenuWindow>());
        // Saved below and right of the screen, as on a larger one or at a smaller scale.
        for (int n : {11, 12, 13, 15, 21, 31, 32, 34, 41, 42, 91})
            st.settings_store.set_position(n, {14000, 18000});
        for (Form* w : std::initializer_list<Form*>{
                 forms.show<SearchConditionsWindow>(), forms.show<RegionWindow>(),
                 forms.show<ToolsMenuWindow>(), forms.show<SettingsWindow>(), forms.show<AboutWindow>(),
                 forms.show<MaintenanceListWindow>(), forms.show<HotelEditWindow>(EditTarget::new_hotel())})
            f1_in(w);
        auto* search = forms.loaded<SearchConditionsWindow>();
        search->key_box->setText(test::u8("東京"));
        QTest::mouseClick(search->search_button, Qt::LeftButton);
        f1_in(forms.loaded<ResultsWindow>());
        QTest::mouseDClick(forms.loaded<HotelEditWindow>()->prefecture_box, Qt::LeftButton); // its picker
        (forms.show<NarrowingWindow>(), forms.show<DetailWindow>(), forms.show<ProgressWindow>(),
         forms.show<SplashWindow>());
        DesktopPlatform desktop;
        desktop.show_help(QString(), QStringLiteral("tomarina1"));
        QStringList found;
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (qobject_cast<Form*>(w) && w->isVisible())
                found += cut_or_crossed(w); // with the browser selection
            // A fixed-size window larger than the screen can only show its top left.
            if (w->isVisible() && !screen.contains(w->frameGeometry()) && w->pos() != screen.topLeft())
                found << w->objectName() + QStringLiteral(" off the screen");
        }
        QVERIFY2(found.isEmpty(), qPrintable(found.join(u", ")));
    }

    // The help topics of the windows tell what the windows do: Enter in the search entry checks it
    // and moves to 検索開始, where Enter starts the search.
    void help_topics_tell_what_the_windows_do() {
        QFile file(QStringLiteral(TOMARINA_SAMPLE_DIR "/../help/tomarina.html"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString help = QString::fromUtf8(file.readAll());
        auto topic = [&help](const QString& name) {
            const qsizetype start = help.indexOf(QStringLiteral("<a name=\"%1\">").arg(name));
            const qsizetype end = help.indexOf(QStringLiteral("<h2>"), start);
            return start < 0 ? QString() : help.mid(start, end - start);
        };
        for (const char* name : {"tomarina1", "tomarina11", "tomarina12"})
            QVERIFY2(!topic(QString::fromLatin1(name)).isEmpty(), name);
        const QString search = topic(QStringLiteral("tomarina11"));
        QVERIFY(!search.contains(QStringLiteral("Enter キーを押しても検索を始めます")));
        QVERIFY(search.contains(
            QStringLiteral("入力欄で Enter キーを押すと、入力を確かめて「検索開始」ボタンに移ります")));

        test::RunningProgram p(build_database(test::small_source()));
        QVERIFY(p.start());
        QTest::mouseClick(p.forms.loaded<MainMenuWindow>()->search_button, Qt::LeftButton);
        auto* w = p.forms.loaded<SearchConditionsWindow>();
        QVERIFY(w);
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
        w->key_box->setText(QStringLiteral("東京"));
        QTest::keyClick(w->key_box, Qt::Key_Return);
        QVERIFY(w->search_button->hasFocus());
        QVERIFY(!p.forms.loaded<ResultsWindow>());
        QTest::keyClick(w->search_button, Qt::Key_Return);
        QVERIFY(p.forms.loaded<ResultsWindow>());
    }

    void progress_window_keeps_the_help_and_saves_its_position() {
        test::RunningProgram p;
        auto& [dir, st, pf, forms, ended] = p;
        pf.show_help(QString(), QStringLiteral("tomarina1"));
        auto* progress = forms.show<ProgressWindow>();
        progress->move(45, 30);
        progress->unload();
        QVERIFY(pf.help_open);
        QCOMPARE(st.settings.progress_window.left, Integer(675));
        QCOMPARE(st.settings.progress_window.top, Integer(450));
    }

    void program_end_closes_windows_without_their_end_steps_and_restart_reopens_where_left() {
        auto first = std::make_unique<test::RunningProgram>(build_database(test::small_source()));
        QPoint moved_to(240, 165);
        {
            auto& [dir, st, pf, forms, ended] = *first;
            QVERIFY(first->start());
            auto* other = forms.show<StandIn>();
            other->move(400, 400);
            auto* menu = forms.loaded<MainMenuWindow>();
            menu->move(moved_to);
            QTest::keyClick(menu->tools_button, Qt::Key_Escape);
            QVERIFY(!forms.loaded<StandIn>());
            QCOMPARE(st.settings.tools_menu_window.top, Integer(0)); // its end step did not run
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
            test::WiredForms forms(st, pf);
            forms.on_end = [] {};
            QVERIFY(start_program(forms));
            QCOMPARE(forms.loaded<MainMenuWindow>()->pos(), moved_to);
        }
    }
};

QTEST_MAIN(TestConventions)
#include "test_conventions.moc"
