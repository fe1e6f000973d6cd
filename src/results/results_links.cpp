// The results window's row click and link buttons.
#include "browser/browser_lookup.h"
#include "data/steps.h"
#include "results/detail_window.h"
#include "results/links.h"
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
    connect(MSFlexGrid1, &QTableView::clicked, this, [this](const QModelIndex&) { MSFlexGrid1_Click(); });
    connect(MSFlexGrid1, &ResultsGrid::row_key_clicked, this, &ResultsWindow::MSFlexGrid1_Click);
    // The heading's press has made row 1 current: the click acts on it.
    connect(MSFlexGrid1->horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int) {
        if (model->rowCount() > 0) MSFlexGrid1_Click();
    });
    connect(Command4, &QPushButton::clicked, this, &ResultsWindow::Command4_Click);
    connect(Command5, &QPushButton::clicked, this, &ResultsWindow::Command5_Click);
}

void ResultsWindow::MSFlexGrid1_Click() {
    if (!browser_set(st_.settings)) return;
    HotelRecord hotel;
    run_steps({
        {"grid_row", [&] { grid_row_ = to_integer(MSFlexGrid1->current_row()); }},
        {"hotel", [&] { hotel = clicked_hotel(); }},
        {"buttons",
         [&] {
             const LinkButtons b = link_availability(hotel);
             Command4->setEnabled(b.info);
             Command5->setEnabled(b.reserve);
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
    const int column = std::max(0, MSFlexGrid1->current_column());
    MSFlexGrid1->selectionModel()->select(model->index(grid_row_ - 1, column),
                                          QItemSelectionModel::ClearAndSelect);
    const LinkButtons b = link_availability(clicked_hotel());
    Command4->setEnabled(b.info);
    Command5->setEnabled(b.reserve);
}

void ResultsWindow::Command4_Click() {
    try_step("information links", [this] {
        if (open_links(clicked_hotel(), st_.settings_store, pf_, this, LinkMode::Information) > 0)
            announce(pages_handed_over);
    });
}

void ResultsWindow::Command5_Click() {
    try_step("reservation links", [this] {
        if (open_links(clicked_hotel(), st_.settings_store, pf_, this, LinkMode::Reservation) > 0)
            announce(pages_handed_over);
    });
}

void ResultsWindow::close_detail_window() {
    if (auto* detail = forms_.loaded<DetailWindow>()) detail->unload();
}

} // namespace tomarina
