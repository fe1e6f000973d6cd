#pragma once

#include "maintenance/user_maintenance.h"
#include "shared/form.h"
#include "shared/grid_rules.h"

#include <QAbstractTableModel>
#include <QTableView>

class QPushButton;

namespace tomarina {

// The user hotels as grid rows: the heading is the grid's row 0, rows 1.. show user_list(1..).
class UserListModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    explicit UserListModel(const AppState& st, QObject* parent = nullptr)
        : QAbstractTableModel(parent), st_(st) {}

    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : rows_; }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : user_list_columns;
    }
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    void refill(int rows, const std::array<QString, user_list_columns>& headings);
    void clear() { refill(0, {}); }
    // The text of grid cell (row 1.., column) as stored.
    QString cell_text(int row, int column) const;
    QString heading(int column) const { return headings_[std::size_t(column)]; }

  private:
    const AppState& st_;
    int rows_ = 0;
    std::array<QString, user_list_columns> headings_;
};

// The grid of the user list, which tells when a key moved its current cell: that move is the user's
// choice, while the current cell the grid sets by itself (on the focus, after a refill) is none.
class UserListGrid : public QTableView {
    Q_OBJECT
  public:
    using QTableView::QTableView;
  signals:
    void moved_by_key();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
};

// The user's own hotels in a grid, where they are added, modified, deleted and saved.
class MaintenanceListWindow : public Form {
    Q_OBJECT
  public:
    explicit MaintenanceListWindow(Forms& forms);

    void set_up() override;
    void restore_position() override;
    void fill_grid();

    // A click on a cell (or Space): a cell with text chooses its row for 修正 and 削除.
    void choose_current_cell();
    // A double click (or Enter): on the first row the list is ordered by the column, on another row
    // its hotel opens as 修正 opens it.
    void reorder_or_modify();
    // 登録終了: the user file written, then the list closed.
    void save_and_close();
    // 追加, 修正, 削除: the edit window for a new hotel or for the chosen one, or the chosen one deleted.
    void add_hotel();
    void modify_hotel();
    void delete_hotel();
    // 取消終了: the user file read again, nothing written.
    void cancel_and_close();
    // The grid grows with the window, the buttons keep to its bottom.
    void fit_grid_to_window();

    // The program ends while the list is open: the user tables are written as the unload would.
    void write_on_end();

    // The current cell in the grid's numbering: row 1 is the first hotel, 0 none.
    int current_row() const;
    int current_column() const;
    // The hotel row 修正 and 削除 act on: the last one clicked.
    Integer chosen_row() const { return chosen_row_; }
    // 1 once 登録終了 wrote the file, or 取消終了 left nothing to write, in this opening.
    Integer saved() const { return saved_; }

    UserListGrid* hotels_grid;
    QPushButton* add_button;
    QPushButton* save_button;
    QPushButton* modify_button;
    QPushButton* delete_button;
    QPushButton* cancel_button;
    UserListModel* model;

  protected:
    void on_unload() override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // Writes the user tables; a failure is told and leaves the old file.
    bool save_user();
    // Makes (row, column) the current cell without it counting as a click; the choice stays.
    void set_current(int row, int column);
    // The chosen cell is the one highlighted, and 修正 and 削除 act on its row; row 0 chooses none.
    void choose(int row, int column);
    void show_choice();
    // A click on the current cell; one by a key leaves the current cell where the key moved it.
    void click_cell(bool by_key);

    Integer chosen_row_ = 0;
    int chosen_column_ = 0;
    // Counts the choices, so that a press confirmed after a message acts only on the choice it asked about.
    unsigned choice_ = 0;
    Integer saved_ = 0;
    // A cell whose choice enables 修正 and 削除: one that holds text, or any cell of an all-blank row.
    bool choosable_cell(int row, int column) const;
    int initial_height_ = 0, initial_width_ = 0, grid_height_ = 0, grid_width_ = 0;
    // The buttons the resize rule moves, and where each was designed.
    std::array<QPushButton*, 5> placed_buttons() const;
    std::array<TwipsPoint, 5> button_at_{};
};

} // namespace tomarina
