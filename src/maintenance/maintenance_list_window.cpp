#include "maintenance/maintenance_list_window.h"

#include "data/steps.h"
#include "data/text_rules.h"
#include "data/user_file.h"
#include "maintenance/hotel_edit_window.h"
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
    MSFlexGrid1 = add_control<UserListGrid>(this, "MSFlexGrid1", 0, 0, grid_design_width, grid_design_height);
    MSFlexGrid1->setAccessibleName(QStringLiteral("登録ホテル一覧"));
    model = new UserListModel(st_, this);
    set_up_hotel_grid(MSFlexGrid1, model, twips_to_px(240));
    QHeaderView* header = MSFlexGrid1->horizontalHeader();

    auto button = [this](const char* name, const QString& caption, int left, int width) {
        auto* b = add_control<QPushButton>(this, name, left, 4320, width, 375);
        b->setText(caption);
        b->setAutoDefault(true);
        return b;
    };
    // Created in tab order.
    Command2 = button("Command2", QStringLiteral("追加"), 120, 855);
    Command1 = button("Command1", QStringLiteral("登録終了"), 8400, 975);
    Command3 = button("Command3", QStringLiteral("修正"), 1080, 855);
    Command4 = button("Command4", QStringLiteral("削除"), 2040, 855);
    Command5 = button("Command5", QStringLiteral("取消終了"), 7320, 975);
    setTabOrder(MSFlexGrid1, Command2);
    setTabOrder(Command2, Command1);
    setTabOrder(Command1, Command3);
    setTabOrder(Command3, Command4);
    setTabOrder(Command4, Command5);

    connect(Command1, &QPushButton::clicked, this, &MaintenanceListWindow::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &MaintenanceListWindow::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &MaintenanceListWindow::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &MaintenanceListWindow::Command4_Click);
    connect(Command5, &QPushButton::clicked, this, &MaintenanceListWindow::Command5_Click);

    // A click on a heading makes the first hotel row current at that column, as a click there would.
    connect(header, &QHeaderView::sectionPressed, this, [this](int column) {
        if (model->rowCount() == 0) return;
        set_current(1, column);
        MSFlexGrid1_Click();
    });
    connect(header, &QHeaderView::sectionDoubleClicked, this, [this](int column) {
        if (model->rowCount() == 0) return;
        set_current(1, column);
        MSFlexGrid1_DblClick();
    });
    connect(MSFlexGrid1, &QTableView::clicked, this, [this](const QModelIndex&) { MSFlexGrid1_Click(); });
    connect(MSFlexGrid1, &QTableView::doubleClicked, this,
            [this](const QModelIndex&) { MSFlexGrid1_DblClick(); });
    // Moving the current cell with the arrow keys selects like a click; the current cell the grid sets
    // by itself (on getting the focus, after a refill) chooses nothing.
    connect(MSFlexGrid1, &UserListGrid::moved_by_key, this, [this] { click_cell(true); });

    resize(twips_to_px(design_width), twips_to_px(design_height));
    watch_esc();
}

int MaintenanceListWindow::current_row() const {
    const QModelIndex i = MSFlexGrid1->currentIndex();
    return i.isValid() ? i.row() + 1 : 0;
}

int MaintenanceListWindow::current_column() const {
    const QModelIndex i = MSFlexGrid1->currentIndex();
    return i.isValid() ? i.column() : 0;
}

void MaintenanceListWindow::set_current(int row, int column) {
    MSFlexGrid1->selectionModel()->setCurrentIndex(model->index(row - 1, column),
                                                   QItemSelectionModel::NoUpdate);
    show_choice();
}

void MaintenanceListWindow::show_choice() {
    QItemSelectionModel* selection = MSFlexGrid1->selectionModel();
    if (user_sel_row_ >= 1 && user_sel_row_ <= model->rowCount())
        selection->select(model->index(user_sel_row_ - 1, chosen_column_),
                          QItemSelectionModel::ClearAndSelect);
    else
        selection->clearSelection();
}

void MaintenanceListWindow::choose(int row, int column) {
    user_sel_row_ = Integer(row);
    chosen_column_ = column;
    ++choice_;
    Command3->setEnabled(row >= 1);
    Command4->setEnabled(row >= 1);
    show_choice();
}

void MaintenanceListWindow::set_up() {
    run_steps({
        {"user_list", [this] { st_.directory.list_in_file_order(); }},
        {"user_saved_flg", [this] { user_saved_flg_ = 0; }},
        {"set_form1", [this] { restore_position(); }},
        {"set_grid", [this] { set_grid(); }},
        {"no choice", [this] { choose(0, 0); }},
    });
}

void MaintenanceListWindow::restore_position() {
    Form::restore_position();
    // The geometry the resize rule starts from.
    initial_height_ = px_to_twips(height());
    initial_width_ = px_to_twips(width());
    grid_height_ = px_to_twips(MSFlexGrid1->height());
    grid_width_ = px_to_twips(MSFlexGrid1->width());
    QPushButton* buttons[] = {nullptr, Command1, Command2, Command3, Command4, Command5};
    for (int k = 1; k <= 5; ++k)
        command_[k] = {px_to_twips(buttons[k]->geometry().left()), px_to_twips(buttons[k]->geometry().top())};
}

void MaintenanceListWindow::set_grid() {
    const int rows = st_.user.user_name.held(st_.user.user_count);
    model->refill(rows, user_list_headings(st_.directory.order().user_sort_key_name));
    QHeaderView* header = MSFlexGrid1->horizontalHeader();
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

void MaintenanceListWindow::MSFlexGrid1_Click() {
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
        MSFlexGrid1->selectionModel()->setCurrentIndex(
            user_sel_row_ >= 1 ? model->index(user_sel_row_ - 1, chosen_column_) : QModelIndex(),
            QItemSelectionModel::NoUpdate);
    show_choice();
}

void MaintenanceListWindow::MSFlexGrid1_DblClick() {
    const int row = current_row();
    if (row < 1) return;
    if (row == 1) {
        const int column = current_column();
        // The refill drops the current cell, and hiding the grid passes the focus on: both come back.
        const bool had_focus = MSFlexGrid1->hasFocus();
        run_steps({
            {"sort_hotel", [&] { st_.directory.order_by(ordering_name(list_ordering_at(column))); }},
            {"MSFlexGrid1 hide", [this] { MSFlexGrid1->hide(); }},
            {"set_grid", [this] { set_grid(); }},
            {"MSFlexGrid1 show", [this] { MSFlexGrid1->show(); }},
            {"current cell",
             [&] {
                 set_current(row, column);
                 if (had_focus) MSFlexGrid1->setFocus();
             }},
        });
        return;
    }
    if (!choosable_cell(row, current_column())) return;
    choose(row, current_column());
    Command3_Click();
}

void MaintenanceListWindow::Command2_Click() {
    if (user_tables_full(st_.user)) {
        pf_.message(this, user_tables_full_message(), QStringLiteral("エラーメッセージ"),
                    MsgIcon::Exclamation, MsgButtons::Ok);
        return;
    }
    forms_.show<HotelEditWindow>(EditTarget::new_hotel());
    close_window();
}

void MaintenanceListWindow::Command3_Click() {
    const int row = user_sel_row_;
    if (row < 1 || row > st_.user.user_count) return;
    forms_.show<HotelEditWindow>(EditTarget::hotel(st_.directory.order().user_list(row)));
    close_window();
}

void MaintenanceListWindow::Command4_Click() {
    const int row = user_sel_row_;
    if (row < 1 || row > st_.user.user_count) return;
    const unsigned choice = choice_;
    if (pf_.message(this, QStringLiteral("本当に削除しますよ！！"), QStringLiteral("確認メッセージ"),
                    MsgIcon::Exclamation, MsgButtons::OkCancel) == MsgAnswer::Cancel)
        return;
    // While the box waited the list may have been closed (saved, reloaded or left for the edit window),
    // or the choice changed or used up by another deletion: the deletion asked for no longer applies.
    if (is_unloading() || choice_ != choice || row > st_.user.user_count) return;
    // One deletion per choice.
    choose(0, 0);
    run_steps({
        {"del_data", [&] { st_.directory.delete_user_hotel(row); }},
        {"MSFlexGrid1 hide", [this] { MSFlexGrid1->hide(); }},
        {"model clear", [this] { model->clear(); }},
        {"set_grid", [this] { set_grid(); }},
        {"MSFlexGrid1 show", [this] { MSFlexGrid1->show(); }},
        {"choice", [this] { show_choice(); }},
        // 削除 is off now, and the next button on, 取消終了, would undo the deletion.
        {"MSFlexGrid1 setFocus", [this] { MSFlexGrid1->setFocus(); }},
    });
}

void MaintenanceListWindow::Command1_Click() {
    // A save that fails keeps the list open, so that closing it later still writes the tables.
    if (!save_user()) return;
    user_saved_flg_ = 1;
    close_window();
}

void MaintenanceListWindow::Command5_Click() {
    // Nothing cancelled is kept: the tables are read again from the file (a missing or empty one leaves
    // them as they are), and the close writes nothing, so a full disk has nothing to report.
    user_saved_flg_ = 1;
    if (!st_.directory.reread_user_file(st_.full_path(st_.user_file), st_.scratch_path())) {
        // The file stays as it is and is not written in this run.
        const QPointer<MaintenanceListWindow> self(this);
        pf_.message(
            this,
            QStringLiteral(
                "「%1」を読み直せませんでした。\n%2\n取り消した変更は保存しません。ファイルはそのままです。")
                .arg(st_.user_file, st_.user.user_read_error),
            QStringLiteral("エラーメッセージ"), MsgIcon::Critical, MsgButtons::Ok);
        if (!self) return;
    }
    close_window();
}

bool MaintenanceListWindow::save_user() {
    return save_user_file(st_, pf_, this);
}

void MaintenanceListWindow::write_on_end() {
    if (user_saved_flg_ == 0) save_user();
}

void MaintenanceListWindow::on_unload() {
    if (user_saved_flg_ == 0) try_step("save_user", [this] { save_user(); });
    Form::on_unload();
}

void MaintenanceListWindow::Form_Resize() {
    // Before restore_position has recorded the design geometry there is nothing to move from.
    if (initial_height_ == 0 || isMinimized()) return;
    const SizeDelta d =
        size_delta(px_to_twips(height()), px_to_twips(width()), initial_height_, initial_width_);
    MSFlexGrid1->resize(twips_to_px(grown(grid_width_, d.dw)), twips_to_px(grown(grid_height_, d.dh)));
    QPushButton* buttons[] = {nullptr, Command1, Command2, Command3, Command4, Command5};
    for (int k = 1; k <= 5; ++k) {
        // 登録終了 and 取消終了 keep to the right edge.
        const Anchor anchor = k == 1 || k == 5 ? Anchor::bottom_right : Anchor::bottom_left;
        const TwipsPoint to = moved(command_[k], anchor, d);
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
    Form_Resize();
}

bool MaintenanceListWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == MSFlexGrid1 && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        // Enter on a cell does what a double click there does.
        if (is_enter(key)) {
            MSFlexGrid1_DblClick();
            return true;
        }
        // Space chooses the current cell as a click does.
        if (key == Qt::Key_Space) {
            if (MSFlexGrid1->currentIndex().isValid()) MSFlexGrid1_Click();
            return true;
        }
    }
    return Form::eventFilter(watched, event);
}

} // namespace tomarina
