#include "search/region_window.h"

#include "browser/browser_start.h"
#include "data/steps.h"
#include "search/list_rows.h"
#include "search/search_texts.h"
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

    regions_frame = add_control<QGroupBox>(this, "regions_frame", 120, 120, 6240, 3000);
    regions_frame->setTitle(search_texts::region_caption);
    region_list = add_control<QListWidget>(regions_frame, "region_list", 120, 300, 6000, 2580);
    region_list->setAccessibleName(regions_frame->title());
    region_list->setSelectionMode(QAbstractItemView::SingleSelection);
    set_tab_stops(region_list, region_tab_stop);

    guidance_box = add_control<QLineEdit>(this, "guidance_box", 120, 3240, 3480, 375);
    guidance_box->setReadOnly(true);
    guidance_box->setFocusPolicy(Qt::NoFocus);
    guidance_box->setAccessibleName(search_texts::guidance_name);

    reserve_button = add_control<QPushButton>(this, "reserve_button", 3720, 3240, 1455, 420);
    reserve_button->setText(search_texts::reserve_caption);
    close_button = add_control<QPushButton>(this, "close_button", 5280, 3240, 1080, 420);
    close_button->setText(search_texts::end_caption);
    for (QPushButton* b : {reserve_button, close_button}) b->setAutoDefault(true);

    setTabOrder(region_list, reserve_button);
    setTabOrder(reserve_button, close_button);

    connect(reserve_button, &QPushButton::clicked, this, &RegionWindow::open_region);
    connect(close_button, &QPushButton::clicked, this, [this] { close_window(); });
    enable_while_selected(region_list, reserve_button);
    act_on_row(region_list, [this] { open_region(); });

    watch_esc();
}

void RegionWindow::set_up() {
    run_steps({
        {"restore_position", [this] { restore_position(); }},
        {"fill_region_list", [this] { fill_region_list(); }},
        {"reserve_button off", [this] { reserve_button->setEnabled(false); }},
        {"focus region_list", [this] { region_list->setFocus(); }},
    });
}

void RegionWindow::restore_position() {
    run_steps({
        {"guidance",
         [this] {
             guidance_box->setText(search_texts::region_guidance);
             // The guidance never takes the focus: the window says it as it opens, the list after its name.
             setAccessibleDescription(guidance_box->text());
             region_list->setAccessibleDescription(guidance_box->text());
         }},
        {"Form restore_position", [this] { Form::restore_position(); }},
    });
}

void RegionWindow::fill_region_list() {
    region_list->clear();
    region_list->addItems(region_rows(st_.db, rsv_row_link));
}

void RegionWindow::open_region() {
    const int first = first_selected_row(region_list);
    if (first < 0) return; // no region chosen: no caution, no page
    if (!caution_step(st_.settings_store, pf_, this) || is_unloading()) return;
    QString link;
    try_step("rsv_row_link", [&] { link = rsv_row_link(first + 1); });
    // A page that could not be opened leaves the list up, after the message, for another try.
    if (start_browser(st_.settings, pf_, this, link)) close_window();
}

} // namespace tomarina
