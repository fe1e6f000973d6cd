#include "search/region_window.h"

#include "browser/browser_start.h"
#include "data/steps.h"
#include "search/list_rows.h"
#include "search/tab_stop_list.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace tomarina {

namespace {

// Names of up to four characters take two TABs, longer ones up to eight one TAB: a stop a little over
// four full-width characters puts every region's text in one column.
constexpr double region_tab_stop = 4.25;

} // namespace

RegionWindow::RegionWindow(Forms& forms)
    : Form(forms, stored_names::region, QStringLiteral("region_window")) {
    setFixedSize(twips_to_px(6480), twips_to_px(3780));

    Frame1 = add_control<QGroupBox>(this, "Frame1", 120, 120, 6240, 3000);
    Frame1->setTitle(QStringLiteral("地域指定で予約"));
    List1 = add_control<QListWidget>(Frame1, "List1", 120, 300, 6000, 2580);
    List1->setAccessibleName(Frame1->title());
    List1->setSelectionMode(QAbstractItemView::SingleSelection);
    set_tab_stops(List1, region_tab_stop);

    Text1 = add_control<QLineEdit>(this, "Text1", 120, 3240, 3480, 375);
    Text1->setReadOnly(true);
    Text1->setFocusPolicy(Qt::NoFocus);
    Text1->setAccessibleName(QStringLiteral("案内"));

    Command1 = add_control<QPushButton>(this, "Command1", 3720, 3240, 1455, 420);
    Command1->setText(QStringLiteral("検索＆予約"));
    Command2 = add_control<QPushButton>(this, "Command2", 5280, 3240, 1080, 420);
    Command2->setText(QStringLiteral("終了"));
    for (QPushButton* b : {Command1, Command2}) b->setAutoDefault(true);

    setTabOrder(List1, Command1);
    setTabOrder(Command1, Command2);

    connect(Command1, &QPushButton::clicked, this, &RegionWindow::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &RegionWindow::Command2_Click);
    enable_while_selected(List1, Command1);
    act_on_row(List1, [this] { List1_DblClick(); });

    watch_esc();
}

void RegionWindow::set_up() {
    run_steps({
        {"set_form1", [this] { restore_position(); }},
        {"set_list1", [this] { set_list1(); }},
        {"Command1 setEnabled", [this] { Command1->setEnabled(false); }},
        {"List1 setFocus", [this] { List1->setFocus(); }},
    });
}

void RegionWindow::restore_position() {
    run_steps({
        {"Text1 setText",
         [this] {
             Text1->setText(QStringLiteral("地域を選択してください"));
             // The guidance never takes the focus: the window says it as it opens, the list after its name.
             setAccessibleDescription(Text1->text());
             List1->setAccessibleDescription(Text1->text());
         }},
        {"Form set_form1", [this] { Form::restore_position(); }},
    });
}

void RegionWindow::set_list1() {
    List1->clear();
    List1->addItems(region_rows(st_.db, rsv_row_link));
}

void RegionWindow::Command1_Click() {
    open_region();
}

void RegionWindow::List1_DblClick() {
    open_region();
}

void RegionWindow::open_region() {
    const int first = first_selected_row(List1);
    if (first < 0) return; // no region chosen: no caution, no page
    if (!caution_step(st_.settings_store, pf_, this) || is_unloading()) return;
    QString link;
    try_step("rsv_row_link", [&] { link = rsv_row_link(first + 1); });
    // A page that could not be opened leaves the list up, after the message, for another try.
    if (start_browser(st_.settings, pf_, this, link)) close_window();
}

} // namespace tomarina
