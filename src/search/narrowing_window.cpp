#include "search/narrowing_window.h"

#include "data/steps.h"
#include "search/list_rows.h"
#include "search/search_texts.h"
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
    list_frame("offered_frame", search_texts::offered_caption, "offered_list", 120, offered_frame,
               offered_list);
    list_frame("chosen_frame", search_texts::chosen_caption, "chosen_list", 4200, chosen_frame, chosen_list);

    auto button = [this](const char* name, const QString& caption, int left, int top, int width) {
        auto* b = add_control<QPushButton>(this, name, left, top, width, 420);
        b->setText(caption);
        b->setAutoDefault(true);
        return b;
    };
    choose_button = button("choose_button", search_texts::choose_caption, 2880, 600, 1200);
    choose_all_button = button("choose_all_button", search_texts::choose_all_caption, 2880, 1140, 1200);
    unchoose_button = button("unchoose_button", search_texts::unchoose_caption, 2880, 1860, 1200);
    unchoose_all_button = button("unchoose_all_button", search_texts::unchoose_all_caption, 2880, 2400, 1200);
    ok_button = button("ok_button", search_texts::ok_caption, 4080, 3900, 1335);
    cancel_button = button("cancel_button", search_texts::cancel_caption, 5520, 3900, 1335);

    setTabOrder(offered_list, choose_button);
    setTabOrder(choose_button, choose_all_button);
    setTabOrder(choose_all_button, unchoose_button);
    setTabOrder(unchoose_button, unchoose_all_button);
    setTabOrder(unchoose_all_button, chosen_list);
    setTabOrder(chosen_list, ok_button);
    setTabOrder(ok_button, cancel_button);

    connect(choose_button, &QPushButton::clicked, this, &NarrowingWindow::choose);
    connect(choose_all_button, &QPushButton::clicked, this, &NarrowingWindow::choose_all);
    connect(unchoose_button, &QPushButton::clicked, this, &NarrowingWindow::unchoose);
    connect(unchoose_all_button, &QPushButton::clicked, this, &NarrowingWindow::unchoose_all);
    connect(cancel_button, &QPushButton::clicked, this, &NarrowingWindow::cancel);
    connect(ok_button, &QPushButton::clicked, this, [this] { close_window(); });
    enable_while_selected(offered_list, choose_button);
    enable_while_selected(chosen_list, unchoose_button);

    watch_esc();
}

void NarrowingWindow::set_up() {
    run_steps({
        {"restore_position", [this] { restore_position(); }},
        {"fill_offered_list", [this] { fill_offered_list(); }},
        {"fill_chosen_list", [this] { fill_chosen_list(); }},
        {"move buttons",
         [this] {
             choose_button->setEnabled(false);
             unchoose_button->setEnabled(false);
             set_move_buttons();
         }},
        {"focus offered_list", [this] { offered_list->setFocus(); }},
    });
}

void NarrowingWindow::fill_offered_list() {
    refill(offered_list, offered_districts(st_.search.state()));
}

void NarrowingWindow::fill_chosen_list() {
    refill(chosen_list, chosen_districts(st_.search.state()));
}

void NarrowingWindow::set_move_buttons() {
    choose_all_button->setEnabled(offered_list->count() > 0);
    unchoose_all_button->setEnabled(chosen_list->count() > 0);
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
    announce(moved_rows_notice(target.mid(kept), to == chosen_list));
}

void NarrowingWindow::choose() {
    move_between(offered_list, chosen_list, false);
    choose_button->setEnabled(false);
}

void NarrowingWindow::choose_all() {
    move_between(offered_list, chosen_list, true);
    choose_button->setEnabled(false);
    unchoose_button->setEnabled(false);
}

void NarrowingWindow::unchoose() {
    move_between(chosen_list, offered_list, false);
    unchoose_button->setEnabled(false);
}

void NarrowingWindow::unchoose_all() {
    move_between(chosen_list, offered_list, true);
    choose_button->setEnabled(false);
    unchoose_button->setEnabled(false);
}

void NarrowingWindow::close_window() {
    if (is_unloading()) return;
    back_to_results(row_texts(chosen_list));
}

void NarrowingWindow::cancel() {
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
