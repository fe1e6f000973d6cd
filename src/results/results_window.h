#pragma once

#include "shared/form.h"
#include "shared/grid_rules.h"
#include "shared/result_rows.h"
#include "shared/results_cells.h"

#include <QAbstractTableModel>
#include <QTableView>
#include <array>
#include <vector>

class QLabel;
class QPushButton;

namespace tomarina {

// The hits as grid rows: row 0 of the grid is the heading, rows 1.. the hotels of the rows taken.
class ResultsModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : shown_; }
    int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : 7; }
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The hotels the grid shows; a change shows with the next refill.
    ResultRows& rows() { return rows_; }
    const ResultRows& rows() const { return rows_; }
    // Shows the rows as they are now, under these headings.
    void refill(const std::array<QString, 7>& headings);
    // The text of grid cell (row 1.., column).
    QString cell_text(int row, int column) const;
    // Its length in characters, without making the text where the table holds it as shown.
    qsizetype cell_length(int row, int column) const;
    QString heading(int column) const { return headings_[std::size_t(column)]; }
    bool highlighted(int row) const;

  private:
    // The hotel's text behind a cell, before the rooms column's picture.
    const QString& field(int row, int column) const;

    ResultRows rows_;
    int shown_ = 0;
    std::array<QString, 7> headings_;
};

// The grid of the results window.
class ResultsGrid : public QTableView {
    Q_OBJECT
  public:
    using QTableView::QTableView;
    // The current grid row in the window's numbering: 1 is the first hotel.
    int current_row() const { return position().isValid() ? position().row() + 1 : 0; }
    int current_column() const { return position().isValid() ? position().column() : 0; }
    // The current cell, or the one kept aside while the focus is away.
    QModelIndex position() const { return currentIndex().isValid() ? currentIndex() : QModelIndex(parked_); }
    // Makes the cell current; while the focus is elsewhere it is kept aside until the grid has it.
    void set_position(const QModelIndex& index);
    // Sets the height of each row, in pixels, and lays the grid out once for all of them.
    void set_row_heights(const std::vector<int>& heights_px);

  signals:
    // Enter or Space on a row: the keyboard's row click.
    void row_key_clicked();
    // Ctrl+Enter: the keyboard's double click on the heading of the current column.
    void heading_key_double_clicked();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    // A screen reader takes the current cell for the focus: away from the grid, no cell is current.
    void park();
    QPersistentModelIndex parked_;
};

// The hits of the current search in a seven-column grid under a heading line.
class ResultsWindow : public Form {
    Q_OBJECT
  public:
    explicit ResultsWindow(Forms& forms, SearchCriterion criterion = {});

    void on_load() override;
    // Searches for the criterion with the progress window and fills the grid with the hits; with none,
    // says so and closes.
    void search(const SearchCriterion& criterion);
    void set_up() override;
    void restore_position() override;
    // Shows the rows taken under the headings, the ordering's column marked, and their count in the heading.
    void fill_grid();
    // The resize rule: the grid grows with the window, the buttons and the notice keep to its edges.
    void fit_grid_to_window();
    // A double click on a heading, or on the first hotel row, orders the rows by that column.
    void resort_by_current_column();
    // Orders the rows by the column's ordering, keeping the current cell where it is.
    void resort(int column);
    // A row click: the link buttons for that hotel and, when sv_pop is on, the detail window.
    void take_clicked_row();
    // The clicked hotel's information pages, or its reservation pages, in the browser.
    void show_information();
    void reserve();
    // Opens the narrowing window over the same hits, in place of this one.
    void narrow_districts();

    QPushButton* heading_button;
    QLabel* sample_label;
    QLabel* sample_meaning_label;
    ResultsGrid* hits_grid;
    QPushButton* narrowing_button;
    QLabel* remarks_label;
    QPushButton* information_button;
    QPushButton* reserve_button;
    QPushButton* close_button;
    ResultsModel* model;

    // The width of column c in twips as it is in effect.
    int column_twips(int c) const;
    // How the grid lays out and draws its cells.
    const ResultsCellDelegate* cells() const { return cells_; }
    // Heights of the grid rows 1.. in twips, as the line rule gave them for the widths in effect.
    int row_height_twips(int row) const { return row_heights_.at(std::size_t(row - 1)); }
    // The window's height and width in twips, counted like the settings (frame included).
    int height_twips() const;
    int width_twips() const;
    void set_size_twips(int height, int width);
    // The grid row last clicked (1 the first hotel, 0 none): the link buttons act on its hotel.
    Integer grid_row() const { return grid_row_; }

  protected:
    void on_unload() override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    QString heading_text() const;
    // The heading line, which also names the grid.
    void set_heading(const QString& text);
    void connect_links();
    void close_detail_window();
    // The hotel of the row last clicked, as the rows hold it.
    HotelRecord clicked_hotel() const;
    void follow_clicked_row();
    void place(QWidget* w, TwipsPoint p);
    void set_column_twips(int c, int twips);
    // The line rule of fill_grid over the rows, for the column widths in effect; unless always, only
    // when a column's capacity changed.
    void set_row_heights(bool always = false);
    // The resize rule, once for each size the window takes.
    void resize_once();

    SearchCriterion criterion_;
    Integer grid_row_ = 0;
    bool word_wrap_ = false;
    TwipsPoint close_button_at_{}, narrowing_button_at_{}, information_button_at_{}, reserve_button_at_{},
        remarks_label_at_{};
    std::vector<int> row_heights_;
    // Characters of each cell of the rows, counted once per fill.
    std::vector<std::array<int, 7>> lengths_;
    std::array<int, 7> caps_{};
    ResultsCellDelegate* cells_ = nullptr;
    // Column widths as set in twips; a width in pixels cannot hold every twips value.
    std::array<int, 7> col_twips_{};
    QSize resized_at_;
};

// What a screen reader is told after a re-order: the marked heading, or the default order.
QString ordering_announcement(const QString& sort_key_name);
// The heading of each search criterion, before the count.
QString results_heading(SearchType search_type, const QString& search_key);

} // namespace tomarina
