// The results window's row click and link buttons.
#include "browser/browser_lookup.h"
#include "data/steps.h"
#include "results/detail_window.h"
#include "results/links.h"
#include "results/results_texts.h"
#include "results/results_window.h"
#include "shared/keys.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QPushButton>
#include <algorithm>

namespace tomarina {

void ResultsGrid::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    const bool enter = is_enter(key);
    if (enter && (event->modifiers() & Qt::ControlModifier)) {
        emit heading_key_double_clicked();
        return;
    }
    if ((enter || key == Qt::Key_Space) && currentIndex().isValid()) {
        emit row_key_clicked();
        return;
    }
    QTableView::keyPressEvent(event);
}

void ResultsWindow::connect_links() {
    connect(hits_grid, &QTableView::clicked, this, [this](const QModelIndex&) { take_clicked_row(); });
    connect(hits_grid, &ResultsGrid::row_key_clicked, this, &ResultsWindow::take_clicked_row);
    // The heading's press has made row 1 current: the click acts on it.
    connect(hits_grid->horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int) {
        if (model->rowCount() > 0) take_clicked_row();
    });
    connect(information_button, &QPushButton::clicked, this, &ResultsWindow::show_information);
    connect(reserve_button, &QPushButton::clicked, this, &ResultsWindow::reserve);
}

void ResultsWindow::take_clicked_row() {
    if (!browser_set(st_.settings)) return;
    HotelRecord hotel;
    run_steps({
        {"grid_row", [&] { grid_row_ = to_integer(hits_grid->current_row()); }},
        {"hotel", [&] { hotel = clicked_hotel(); }},
        {"buttons",
         [&] {
             const LinkButtons b = link_availability(hotel);
             information_button->setEnabled(b.info);
             reserve_button->setEnabled(b.reserve);
         }},
        {"detail window",
         [&] {
             if (st_.settings.sv_pop == 0) return;
             close_detail_window();
             if (auto* detail = forms_.show<DetailWindow>()) detail->fill(hotel);
         }},
    });
}

HotelRecord ResultsWindow::clicked_hotel() const {
    if (grid_row_ < 1 || grid_row_ > model->rowCount()) throw std::out_of_range("no row clicked");
    return model->rows().record(grid_row_);
}

// A re-sort keeps grid_row as a grid position, and the link buttons act on the hotel standing there:
// that row is the marked one, wherever the keyboard's current cell stays.
void ResultsWindow::follow_clicked_row() {
    if (!browser_set(st_.settings) || grid_row_ < 1 || grid_row_ > model->rowCount()) return;
    const int column = std::max(0, hits_grid->current_column());
    hits_grid->selectionModel()->select(model->index(grid_row_ - 1, column),
                                        QItemSelectionModel::ClearAndSelect);
    const LinkButtons b = link_availability(clicked_hotel());
    information_button->setEnabled(b.info);
    reserve_button->setEnabled(b.reserve);
}

void ResultsWindow::show_information() {
    try_step("information links", [this] {
        if (open_links(clicked_hotel(), st_.settings_store, pf_, this, LinkMode::Information) > 0)
            announce(results_texts::pages_handed_over);
    });
}

void ResultsWindow::reserve() {
    try_step("reservation links", [this] {
        if (open_links(clicked_hotel(), st_.settings_store, pf_, this, LinkMode::Reservation) > 0)
            announce(results_texts::pages_handed_over);
    });
}

void ResultsWindow::close_detail_window() {
    if (auto* detail = forms_.loaded<DetailWindow>()) detail->unload();
}

} // namespace tomarina
