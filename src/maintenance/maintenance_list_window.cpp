#include "maintenance/maintenance_list_window.h"

#include "data/steps.h"
#include "data/text_rules.h"
#include "data/user_file.h"
#include "maintenance/hotel_edit_window.h"
#include "maintenance/maintenance_texts.h"
#include "shared/accessibility.h"
#include "shared/grid_rules.h"
#include "shared/keys.h"
#include "shared/ordering.h"
#include "shared/results_cells.h"
#include "shared/saves.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QPointer>
#include <QPushButton>
#include <QResizeEvent>

namespace tomarina {

namespace texts = maintenance_texts;

namespace {

constexpr int design_height = 4710;
constexpr int design_width = 9525;
constexpr int grid_design_height = 4215;
constexpr int grid_design_width = 9495;

} // namespace

void UserListModel::refill(int rows, const std::array<QString, user_list_columns>& headings) {
    beginResetModel();
    rows_ = rows;
    headings_ = headings;
    endResetModel();
}

QString UserListModel::cell_text(int row, int column) const {
    if (row < 1 || row > rows_) return {};
    return user_list_cell(st_.user, st_.directory.order().user_list(row), column);
}

QVariant UserListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rows_) return {};
    switch (role) {
    case Qt::DisplayRole:
        return yen_for_display(cell_text(index.row() + 1, index.column()));
    case Qt::AccessibleTextRole:
        return cell_said(yen_for_display(cell_text(index.row() + 1, index.column())));
    case Qt::TextAlignmentRole:
        return int(Qt::AlignLeft | Qt::AlignVCenter);
    }
    return {};
}

QVariant UserListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
        section < user_list_columns)
        return headings_[std::size_t(section)];
    return QAbstractTableModel::headerData(section, orientation, role);
}

MaintenanceListWindow::MaintenanceListWindow(Forms& forms)
    : Form(forms, stored_names::maintenance_list, QStringLiteral("maintenance_list_window")) {
    hotels_grid = add_control<UserListGrid>(this, "hotels_grid", 0, 0, grid_design_width, grid_design_height);
    hotels_grid->setAccessibleName(texts::hotels_grid_name);
    model = new UserListModel(st_, this);
    set_up_hotel_grid(hotels_grid, model, twips_to_px(240));
    QHeaderView* header = hotels_grid->horizontalHeader();

    auto button = [this](const char* name, const QString& caption, int left, int width) {
        auto* b = add_control<QPushButton>(this, name, left, 4320, width, 375);
        b->setText(caption);
        b->setAutoDefault(true);
        return b;
    };
    // Created in tab order.
    add_button = button("add_button", texts::add_caption, 120, 855);
    save_button = button("save_button", texts::save_caption, 8400, 975);
    modify_button = button("modify_button", texts::modify_caption, 1080, 855);
    delete_button = button("delete_button", texts::delete_caption, 2040, 855);
    cancel_button = button("cancel_button", texts::cancel_caption, 7320, 975);
    setTabOrder(hotels_grid, add_button);
    setTabOrder(add_button, save_button);
    setTabOrder(save_button, modify_button);
    setTabOrder(modify_button, delete_button);
    setTabOrder(delete_button, cancel_button);

    connect(save_button, &QPushButton::clicked, this, &MaintenanceListWindow::save_and_close);
    connect(add_button, &QPushButton::clicked, this, &MaintenanceListWindow::add_hotel);
    connect(modify_button, &QPushButton::clicked, this, &MaintenanceListWindow::modify_hotel);
    connect(delete_button, &QPushButton::clicked, this, &MaintenanceListWindow::delete_hotel);
    connect(cancel_button, &QPushButton::clicked, this, &MaintenanceListWindow::cancel_and_close);

    // A click on a heading makes the first hotel row current at that column, as a click there would.
    connect(header, &QHeaderView::sectionPressed, this, [this](int column) {
        if (model->rowCount() == 0) return;
        set_current(1, column);
        choose_current_cell();
    });
    connect(header, &QHeaderView::sectionDoubleClicked, this, [this](int column) {
        if (model->rowCount() == 0) return;
        set_current(1, column);
        reorder_or_modify();
    });
    connect(hotels_grid, &QTableView::clicked, this, [this](const QModelIndex&) { choose_current_cell(); });
    connect(hotels_grid, &QTableView::doubleClicked, this,
            [this](const QModelIndex&) { reorder_or_modify(); });
    // Moving the current cell with the arrow keys selects like a click; the current cell the grid sets
    // by itself (on getting the focus, after a refill) chooses nothing.
    connect(hotels_grid, &UserListGrid::moved_by_key, this, [this] { click_cell(true); });

    resize(twips_to_px(design_width), twips_to_px(design_height));
    watch_esc();
}

int MaintenanceListWindow::current_row() const {
    const QModelIndex i = hotels_grid->currentIndex();
    return i.isValid() ? i.row() + 1 : 0;
}

int MaintenanceListWindow::current_column() const {
    const QModelIndex i = hotels_grid->currentIndex();
    return i.isValid() ? i.column() : 0;
}

void MaintenanceListWindow::set_current(int row, int column) {
    hotels_grid->selectionModel()->setCurrentIndex(model->index(row - 1, column),
                                                   QItemSelectionModel::NoUpdate);
    show_choice();
}

void MaintenanceListWindow::show_choice() {
    QItemSelectionModel* selection = hotels_grid->selectionModel();
    if (chosen_row_ >= 1 && chosen_row_ <= model->rowCount())
        selection->select(model->index(chosen_row_ - 1, chosen_column_), QItemSelectionModel::ClearAndSelect);
    else
        selection->clearSelection();
}

void MaintenanceListWindow::choose(int row, int column) {
    chosen_row_ = Integer(row);
    chosen_column_ = column;
    ++choice_;
    modify_button->setEnabled(row >= 1);
    delete_button->setEnabled(row >= 1);
    show_choice();
}

void MaintenanceListWindow::set_up() {
    run_steps({
        {"user_list", [this] { st_.directory.list_in_file_order(); }},
        {"saved", [this] { saved_ = 0; }},
        {"restore_position", [this] { restore_position(); }},
        {"fill_grid", [this] { fill_grid(); }},
        {"no choice", [this] { choose(0, 0); }},
    });
}

void MaintenanceListWindow::restore_position() {
    Form::restore_position();
    // The geometry the resize rule starts from.
    initial_height_ = px_to_twips(height());
    initial_width_ = px_to_twips(width());
    grid_height_ = px_to_twips(hotels_grid->height());
    grid_width_ = px_to_twips(hotels_grid->width());
    const auto buttons = placed_buttons();
    for (std::size_t k = 0; k < buttons.size(); ++k)
        button_at_[k] = {px_to_twips(buttons[k]->geometry().left()),
                         px_to_twips(buttons[k]->geometry().top())};
}

std::array<QPushButton*, 5> MaintenanceListWindow::placed_buttons() const {
    return {save_button, add_button, modify_button, delete_button, cancel_button};
}

void MaintenanceListWindow::fill_grid() {
    const int rows = st_.user.user_name.held(st_.user.user_count);
    model->refill(rows, user_list_headings(st_.directory.order().user_sort_key_name));
    QHeaderView* header = hotels_grid->horizontalHeader();
    for (int c = 0; c < user_list_columns; ++c)
        header->resizeSection(c, twips_to_px(user_list_widths[std::size_t(c)]));
}

bool MaintenanceListWindow::choosable_cell(int row, int column) const {
    if (row < 1 || row > model->rowCount()) return false;
    if (!model->cell_text(row, column).isEmpty()) return true;
    // In a hotel whose fields are all blank every cell counts, or the row could never be deleted.
    for (int c = 0; c < user_list_columns; ++c)
        if (!model->cell_text(row, c).isEmpty()) return false;
    return true;
}

void MaintenanceListWindow::choose_current_cell() {
    click_cell(false);
}

void MaintenanceListWindow::click_cell(bool by_key) {
    const int row = current_row();
    if (choosable_cell(row, current_column())) {
        choose(row, current_column());
        return;
    }
    // An empty cell changes nothing: a click there takes the current cell back to the choice, while
    // the keys may pass over it on their way.
    if (!by_key)
        hotels_grid->selectionModel()->setCurrentIndex(
            chosen_row_ >= 1 ? model->index(chosen_row_ - 1, chosen_column_) : QModelIndex(),
            QItemSelectionModel::NoUpdate);
    show_choice();
}

void MaintenanceListWindow::reorder_or_modify() {
    const int row = current_row();
    if (row < 1) return;
    if (row == 1) {
        const int column = current_column();
        // The refill drops the current cell, and hiding the grid passes the focus on: both come back.
        const bool had_focus = hotels_grid->hasFocus();
        run_steps({
            {"sort_hotel", [&] { st_.directory.order_by(ordering_name(list_ordering_at(column))); }},
            {"hotels_grid hide", [this] { hotels_grid->hide(); }},
            {"fill_grid", [this] { fill_grid(); }},
            {"hotels_grid show", [this] { hotels_grid->show(); }},
            {"current cell",
             [&] {
                 set_current(row, column);
                 if (had_focus) hotels_grid->setFocus();
             }},
        });
        return;
    }
    if (!choosable_cell(row, current_column())) return;
    choose(row, current_column());
    modify_hotel();
}

void MaintenanceListWindow::add_hotel() {
    if (user_tables_full(st_.user)) {
        pf_.message(this, user_tables_full_message(), texts::error_title, MsgIcon::Exclamation,
                    MsgButtons::Ok);
        return;
    }
    forms_.show<HotelEditWindow>(EditTarget::new_hotel());
    close_window();
}

void MaintenanceListWindow::modify_hotel() {
    const int row = chosen_row_;
    if (row < 1 || row > st_.user.user_count) return;
    forms_.show<HotelEditWindow>(EditTarget::hotel(st_.directory.order().user_list(row)));
    close_window();
}

void MaintenanceListWindow::delete_hotel() {
    const int row = chosen_row_;
    if (row < 1 || row > st_.user.user_count) return;
    const unsigned choice = choice_;
    if (pf_.message(this, texts::delete_question, texts::confirm_title, MsgIcon::Exclamation,
                    MsgButtons::OkCancel) == MsgAnswer::Cancel)
        return;
    // While the box waited the list may have been closed (saved, reloaded or left for the edit window),
    // or the choice changed or used up by another deletion: the deletion asked for no longer applies.
    if (is_unloading() || choice_ != choice || row > st_.user.user_count) return;
    // One deletion per choice.
    choose(0, 0);
    run_steps({
        {"del_data", [&] { st_.directory.delete_user_hotel(row); }},
        {"hotels_grid hide", [this] { hotels_grid->hide(); }},
        {"model clear", [this] { model->clear(); }},
        {"fill_grid", [this] { fill_grid(); }},
        {"hotels_grid show", [this] { hotels_grid->show(); }},
        {"choice", [this] { show_choice(); }},
        // 削除 is off now, and the next button on, 取消終了, would undo the deletion.
        {"hotels_grid setFocus", [this] { hotels_grid->setFocus(); }},
    });
}

void MaintenanceListWindow::save_and_close() {
    // A save that fails keeps the list open, so that closing it later still writes the tables.
    if (!save_user()) return;
    saved_ = 1;
    close_window();
}

void MaintenanceListWindow::cancel_and_close() {
    // Nothing cancelled is kept: the tables are read again from the file (a missing or empty one leaves
    // them as they are), and the close writes nothing, so a full disk has nothing to report.
    saved_ = 1;
    if (!st_.directory.reread_user_file(st_.full_path(st_.user_file), st_.scratch_path())) {
        // The file stays as it is and is not written in this run.
        const QPointer<MaintenanceListWindow> self(this);
        pf_.message(this,
                    texts::reread_failed.arg(st_.user_file, shared_texts::describe(st_.user.user_read_error)),
                    texts::error_title, MsgIcon::Critical, MsgButtons::Ok);
        if (!self) return;
    }
    close_window();
}

bool MaintenanceListWindow::save_user() {
    return save_user_file(st_, pf_, this);
}

void MaintenanceListWindow::write_on_end() {
    if (saved_ == 0) save_user();
}

void MaintenanceListWindow::on_unload() {
    if (saved_ == 0) try_step("save_user", [this] { save_user(); });
    Form::on_unload();
}

void MaintenanceListWindow::fit_grid_to_window() {
    // Before restore_position has recorded the design geometry there is nothing to move from.
    if (initial_height_ == 0 || isMinimized()) return;
    const SizeDelta d =
        size_delta(px_to_twips(height()), px_to_twips(width()), initial_height_, initial_width_);
    hotels_grid->resize(twips_to_px(grown(grid_width_, d.dw)), twips_to_px(grown(grid_height_, d.dh)));
    const auto buttons = placed_buttons();
    for (std::size_t k = 0; k < buttons.size(); ++k) {
        // 登録終了 and 取消終了 keep to the right edge.
        const bool right = buttons[k] == save_button || buttons[k] == cancel_button;
        const TwipsPoint to = moved(button_at_[k], right ? Anchor::bottom_right : Anchor::bottom_left, d);
        buttons[k]->move(twips_to_px(to.left), twips_to_px(to.top));
    }
}

void UserListGrid::keyPressEvent(QKeyEvent* event) {
    const QModelIndex before = currentIndex();
    QTableView::keyPressEvent(event);
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
        if (currentIndex() != before && currentIndex().isValid()) emit moved_by_key();
        break;
    default:
        break;
    }
}

void MaintenanceListWindow::resizeEvent(QResizeEvent* event) {
    Form::resizeEvent(event);
    fit_grid_to_window();
}

bool MaintenanceListWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == hotels_grid && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        // Enter on a cell does what a double click there does.
        if (is_enter(key)) {
            reorder_or_modify();
            return true;
        }
        // Space chooses the current cell as a click does.
        if (key == Qt::Key_Space) {
            if (hotels_grid->currentIndex().isValid()) choose_current_cell();
            return true;
        }
    }
    return Form::eventFilter(watched, event);
}

} // namespace tomarina
