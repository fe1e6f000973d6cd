#include "search/narrowing_window.h"

#include "data/steps.h"
#include "search/list_rows.h"
#include "search/tab_stop_list.h"

#include <QGroupBox>
#include <QListWidget>
#include <QPushButton>

namespace tomarina {

namespace {

QList<int> selected_rows(const QListWidget* list) {
    QList<int> rows;
    for (int r = 0; r < list->count(); ++r)
        if (list->item(r)->isSelected()) rows << r;
    return rows;
}

void refill(QListWidget* list, const QStringList& rows) {
    list->clear();
    list->addItems(rows);
}

} // namespace

NarrowingWindow::NarrowingWindow(Forms& forms)
    : Form(forms, stored_names::narrowing, QStringLiteral("narrowing_window")) {
    setFixedSize(twips_to_px(6960), twips_to_px(4440));

    auto list_frame = [this](const char* frame_name, const QString& title, const char* list_name, int left,
                             QGroupBox*& frame, QListWidget*& list) {
        frame = add_control<QGroupBox>(this, frame_name, left, 120, 2640, 3600);
        frame->setTitle(title);
        list = add_control<QListWidget>(frame, list_name, 120, 300, 2400, 3180);
        list->setAccessibleName(title);
        list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    };
    list_frame("Frame1", QStringLiteral("ホテル地区名"), "List1", 120, Frame1, List1);
    list_frame("Frame2", QStringLiteral("選択地区名"), "List2", 4200, Frame2, List2);

    auto button = [this](const char* name, const QString& caption, int left, int top, int width) {
        auto* b = add_control<QPushButton>(this, name, left, top, width, 420);
        b->setText(caption);
        b->setAutoDefault(true);
        return b;
    };
    Command1 = button("Command1", QStringLiteral("選択>"), 2880, 600, 1200);
    Command2 = button("Command2", QStringLiteral("全選択>>"), 2880, 1140, 1200);
    Command3 = button("Command3", QStringLiteral("<取消"), 2880, 1860, 1200);
    Command4 = button("Command4", QStringLiteral("<<全取消"), 2880, 2400, 1200);
    Command6 = button("Command6", QStringLiteral("了解"), 4080, 3900, 1335);
    Command5 = button("Command5", QStringLiteral("ｷｬﾝｾﾙ"), 5520, 3900, 1335);

    setTabOrder(List1, Command1);
    setTabOrder(Command1, Command2);
    setTabOrder(Command2, Command3);
    setTabOrder(Command3, Command4);
    setTabOrder(Command4, List2);
    setTabOrder(List2, Command6);
    setTabOrder(Command6, Command5);

    connect(Command1, &QPushButton::clicked, this, &NarrowingWindow::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &NarrowingWindow::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &NarrowingWindow::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &NarrowingWindow::Command4_Click);
    connect(Command5, &QPushButton::clicked, this, &NarrowingWindow::Command5_Click);
    connect(Command6, &QPushButton::clicked, this, &NarrowingWindow::Command6_Click);
    enable_while_selected(List1, Command1);
    enable_while_selected(List2, Command3);

    watch_esc();
}

void NarrowingWindow::set_up() {
    run_steps({
        {"set_form1", [this] { restore_position(); }},
        {"set_list1", [this] { set_list1(); }},
        {"set_list2", [this] { set_list2(); }},
        {"move buttons",
         [this] {
             Command1->setEnabled(false);
             Command3->setEnabled(false);
             set_move_buttons();
         }},
        {"List1 setFocus", [this] { List1->setFocus(); }},
    });
}

void NarrowingWindow::set_list1() {
    refill(List1, offered_districts(st_.search.state()));
}

void NarrowingWindow::set_list2() {
    refill(List2, chosen_districts(st_.search.state()));
}

void NarrowingWindow::set_move_buttons() {
    Command2->setEnabled(List1->count() > 0);
    Command4->setEnabled(List2->count() > 0);
}

void NarrowingWindow::move_between(QListWidget* from, QListWidget* to, bool all) {
    QStringList source = row_texts(from);
    QStringList target = row_texts(to);
    QList<int> chosen = selected_rows(from);
    if (all) {
        chosen.clear();
        for (int r = 0; r < source.size(); ++r) chosen << r;
    }
    const qsizetype kept = target.size();
    move_rows(source, target, chosen);
    // The pressed button goes off with the selection, and the next button on would repeat the move:
    // the focus goes on choosing in the list moved from, or, once that is empty, to the list moved to.
    // Set first, so that it never passes over that button.
    (source.isEmpty() ? to : from)->setFocus();
    refill(from, source);
    // The other list only gains rows at its end, so the rows selected there stay selected.
    to->addItems(target.mid(kept));
    set_move_buttons();
    announce(moved_rows_notice(target.mid(kept), to == List2));
}

void NarrowingWindow::Command1_Click() {
    move_between(List1, List2, false);
    Command1->setEnabled(false);
}

void NarrowingWindow::Command2_Click() {
    move_between(List1, List2, true);
    Command1->setEnabled(false);
    Command3->setEnabled(false);
}

void NarrowingWindow::Command3_Click() {
    move_between(List2, List1, false);
    Command3->setEnabled(false);
}

void NarrowingWindow::Command4_Click() {
    move_between(List2, List1, true);
    Command1->setEnabled(false);
    Command3->setEnabled(false);
}

void NarrowingWindow::close_window() {
    if (is_unloading()) return;
    back_to_results(row_texts(List2));
}

void NarrowingWindow::Command5_Click() {
    back_to_results(st_.search.criterion().districts);
}

void NarrowingWindow::back_to_results(const QStringList& districts) {
    save_position();
    SearchCriterion criterion = st_.search.criterion();
    criterion.districts = districts;
    try_step("show results", [&] { forms_.show(FormKind::results, criterion); });
    unload();
}

} // namespace tomarina
