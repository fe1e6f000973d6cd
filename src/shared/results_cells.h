#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QHash>
#include <QHeaderView>
#include <QStringList>
#include <QStyledItemDelegate>
#include <QTableView>
#include <memory>

namespace tomarina {

// How a results cell lays out its text, so that what the line rule counts is what is drawn: the whole
// cell is room for text, a line breaks at any character once the next one would not fit, lines stand
// one full-width character apart, and the data's yen sign takes the room of a half-width character.
class CellLayout {
  public:
    explicit CellLayout(const QFont& font);

    // Drawn width of the character at i (a surrogate pair counts as one); n receives its length.
    qreal advance(QStringView text, qsizetype i, qsizetype* n = nullptr) const;
    qreal width(QStringView text) const;
    // The text in lines of at most width pixels, at most max_lines of them; a character wider than a
    // whole line stands alone.
    QStringList lines(const QString& text, int width, qsizetype max_lines = -1) const;
    // The start of the text as far as a line of width pixels shows it: up to the character that reaches
    // past the edge, whatever the length of the text.
    QString fitting(const QString& text, int width) const;
    // From one line's top to the next.
    int line_pitch() const { return pitch_; }
    // Height of one line of the font.
    int line_height() const;
    // Pixels the given number of lines take from the cell's top.
    int lines_height(int count) const { return count <= 0 ? 0 : (count - 1) * pitch_ + line_height(); }
    // Draws the lines from the cell's top left, clipped to the cell.
    void draw(QPainter& p, const QRect& cell, const QStringList& lines) const;

  private:
    // The glyphs drawText shows for the character at i (n units long), placed from the pen position
    // on the baseline, laid out for device's resolution (draw clears them when it changes); none for a
    // character left to drawText itself.
    const QList<QGlyphRun>& glyphs(QStringView text, qsizetype i, qsizetype n,
                                   const QPaintDevice* device) const;

    QFont font_;
    QFontMetricsF fm_;
    int pitch_;
    qreal half_;
    // The font's own yen sign, which is full-width.
    qreal full_yen_;
    // What the font draws for each character, learnt once in the program's run and shared by every
    // layout of the font: each results window would otherwise measure and shape them all again.
    struct Learnt {
        QHash<char32_t, qreal> advances;
        QHash<char32_t, QList<QGlyphRun>> glyphs;
        // The resolution the glyphs were laid out for.
        int glyph_dpi = -1;
    };
    static std::shared_ptr<Learnt> learnt_for(const QFont& font);
    std::shared_ptr<Learnt> learnt_;
};

// Paints the results cells by the layout above, with the grid's lines on each cell's right and bottom
// edge instead of between the cells, so that no column gives room to padding.
class ResultsCellDelegate : public QStyledItemDelegate {
    Q_OBJECT
  public:
    ResultsCellDelegate(const QFont& font, QObject* parent);
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    const CellLayout& layout() const { return layout_; }
    // The lines a cell of that size shows: broken at any character when the grid wraps words, else the
    // one line; only as many lines, and as much of each, as the cell can show.
    QStringList cell_lines(const QString& text, QSize cell, bool wrap) const;

  private:
    CellLayout layout_;
};

// The heading row of the grids, drawn like their cells: the text over the whole width of its column
// with no padding, in more lines when one does not hold it. The row is as high as its tallest heading.
class GridHeading : public QHeaderView {
    Q_OBJECT
  public:
    GridHeading(const QFont& font, QWidget* parent);
    // Lines of the heading of that column at its width.
    QStringList heading_lines(int logical_index) const;
    void setModel(QAbstractItemModel* model) override;
    QSize sizeHint() const override;

  protected:
    void paintSection(QPainter* painter, const QRect& rect, int logical_index) const override;

  private:
    // Heights the row by its tallest heading.
    void fit_height();

    CellLayout layout_;
};

// Sets a grid of hotels up as the results and the maintenance list show them: the 9-point fixed-pitch
// font, these cells and headings, no row headings, one cell chosen at a time, nothing edited, one Tab
// stop. The delegate it drew the cells with.
ResultsCellDelegate* set_up_hotel_grid(QTableView* grid, QAbstractItemModel* model, int row_height_px);

} // namespace tomarina
