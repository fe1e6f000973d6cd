#include "shared/results_cells.h"

#include "shared/form.h"
#include "shared/grid_rules.h"
#include "shared/shared_texts.h"

#include <QApplication>
#include <QCoreApplication>
#include <QPainter>
#include <QStyleOptionHeader>
#include <QTextLayout>
#include <algorithm>
#include <cmath>

namespace tomarina {

namespace {
constexpr char16_t yen_sign = 0x00A5;
// Marks that take no room count this much, so that a text of nothing else still ends at the edge.
constexpr qreal min_advance = 0.25;
} // namespace

CellLayout::CellLayout(const QFont& font)
    : font_(font), fm_(font), pitch_(twips_to_px(full_width_char_twips)),
      // The data's yen sign is the half-width character "\".
      half_(QFontMetricsF(font).horizontalAdvance(QChar(u'\\'))),
      full_yen_(QFontMetricsF(font).horizontalAdvance(QChar(yen_sign))), learnt_(learnt_for(font)) {}

std::shared_ptr<CellLayout::Learnt> CellLayout::learnt_for(const QFont& font) {
    static QHash<QString, std::shared_ptr<Learnt>> fonts;
    if (fonts.isEmpty())
        // The glyphs hold the font system's fonts, which must go before the application does.
        qAddPostRoutine([] {
            for (const auto& learnt : std::as_const(fonts)) learnt->glyphs.clear();
            fonts.clear();
        });
    auto& learnt = fonts[font.key()];
    if (!learnt) learnt = std::make_shared<Learnt>();
    return learnt;
}

int CellLayout::line_height() const {
    return int(std::ceil(fm_.height()));
}

qreal CellLayout::advance(QStringView text, qsizetype i, qsizetype* n) const {
    qsizetype len = 1;
    if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) len = 2;
    if (n) *n = len;
    if (text[i] == yen_sign) return half_;
    const char32_t code = len == 2 ? QChar::surrogateToUcs4(text[i], text[i + 1]) : text[i].unicode();
    auto& advances = learnt_->advances;
    auto it = advances.constFind(code);
    if (it == advances.constEnd())
        it = advances.insert(code, fm_.horizontalAdvance(text.mid(i, len).toString()));
    return *it;
}

qreal CellLayout::width(QStringView text) const {
    qreal w = 0;
    for (qsizetype i = 0, n = 0; i < text.size(); i += n) w += advance(text, i, &n);
    return w;
}

QStringList CellLayout::lines(const QString& text, int width, qsizetype max_lines) const {
    QStringList out;
    qsizetype start = 0;
    qreal used = 0;
    for (qsizetype i = 0, n = 0; i < text.size(); i += n) {
        const qreal a = advance(text, i, &n);
        if (i > start && used + a > width + 0.001) {
            out << text.mid(start, i - start);
            if (out.size() == max_lines) return out;
            start = i;
            used = 0;
        }
        used += a;
    }
    if (start < text.size() || out.isEmpty()) out << text.mid(start);
    return out;
}

QString CellLayout::fitting(const QString& text, int width) const {
    qreal x = 0;
    qsizetype i = 0;
    for (qsizetype n = 0; i < text.size() && x <= width; i += n)
        x += std::max(advance(text, i, &n), min_advance);
    return text.left(i);
}

const QList<QGlyphRun>& CellLayout::glyphs(QStringView text, qsizetype i, qsizetype n,
                                           const QPaintDevice* device) const {
    static const QList<QGlyphRun> none;
    const QChar c = text[i];
    // Controls and separators may take another way through drawText than through a layout.
    if (c.category() == QChar::Other_Control || c.category() == QChar::Other_Format ||
        c.category() == QChar::Separator_Line || c.category() == QChar::Separator_Paragraph)
        return none;
    auto& known = learnt_->glyphs;
    const char32_t code = n == 2 ? QChar::surrogateToUcs4(text[i], text[i + 1]) : c.unicode();
    auto it = known.constFind(code);
    if (it == known.constEnd()) {
        QTextLayout layout(text.mid(i, n).toString(), font_, device);
        layout.beginLayout();
        const QTextLine line = layout.createLine();
        layout.endLayout();
        QList<QGlyphRun> runs = layout.glyphRuns();
        // Placed from the pen position on the baseline, as drawText places them.
        const QPointF origin(line.x(), line.y() + line.ascent());
        for (QGlyphRun& run : runs) {
            QList<QPointF> positions = run.positions();
            for (QPointF& at : positions) at -= origin;
            run.setPositions(positions);
        }
        it = known.insert(code, runs);
    }
    return *it;
}

namespace {

// Glyphs of one font gathered along a line and drawn in one call: a call per character would shape
// each one again.
class GlyphBatch {
  public:
    explicit GlyphBatch(QPainter& p) : p_(p) {}
    ~GlyphBatch() { flush(); }
    void add(const QGlyphRun& run, QPointF at) {
        if (!indexes_.isEmpty() && run.rawFont() != font_) flush();
        font_ = run.rawFont();
        indexes_ += run.glyphIndexes();
        for (const QPointF& position : run.positions()) positions_ << at + position;
    }
    void flush() {
        if (indexes_.isEmpty()) return;
        QGlyphRun run;
        run.setRawFont(font_);
        run.setGlyphIndexes(indexes_);
        run.setPositions(positions_);
        p_.drawGlyphRun(QPointF(0, 0), run);
        indexes_.clear();
        positions_.clear();
    }

  private:
    QPainter& p_;
    QRawFont font_;
    QList<quint32> indexes_;
    QList<QPointF> positions_;
};

} // namespace

void CellLayout::draw(QPainter& p, const QRect& cell, const QStringList& lines) const {
    p.save();
    p.setClipRect(cell, Qt::IntersectClip);
    p.setFont(font_);
    // Glyphs laid out for another resolution are laid out again; asked once a cell, not per character.
    if (const int dpi = p.device() ? p.device()->logicalDpiY() : 0; dpi != learnt_->glyph_dpi) {
        learnt_->glyphs.clear();
        learnt_->glyph_dpi = dpi;
    }
    {
        GlyphBatch batch(p);
        qreal top = cell.top();
        for (const QString& line : lines) {
            if (top >= cell.bottom() + 1) break;
            const qreal baseline = top + fm_.ascent();
            qreal x = cell.left();
            for (qsizetype i = 0, n = 0; i < line.size() && x <= cell.right() + 1; i += n) {
                const qreal a = advance(line, i, &n);
                if (line[i] == yen_sign && full_yen_ > a) {
                    // The font's yen sign is full-width: drawn narrowed into a half-width room.
                    batch.flush();
                    p.save();
                    p.translate(x, baseline);
                    p.scale(a / full_yen_, 1.0);
                    p.drawText(QPointF(0, 0), line.mid(i, n));
                    p.restore();
                } else if (const QList<QGlyphRun>& runs = glyphs(line, i, n, p.device()); !runs.isEmpty()) {
                    for (const QGlyphRun& run : runs) batch.add(run, QPointF(x, baseline));
                } else {
                    batch.flush();
                    p.drawText(QPointF(x, baseline), line.mid(i, n));
                }
                x += a;
            }
            top += pitch_;
        }
    }
    p.restore();
}

ResultsCellDelegate::ResultsCellDelegate(const QFont& font, QObject* parent)
    : QStyledItemDelegate(parent), layout_(font) {}

QStringList ResultsCellDelegate::cell_lines(const QString& text, QSize cell, bool wrap) const {
    if (!wrap) return {layout_.fitting(text, cell.width())};
    // Lines whose top is inside the cell are drawn, the last one clipped.
    const int pitch = std::max(layout_.line_pitch(), 1);
    const qsizetype shown = std::max(1, (cell.height() + pitch - 1) / pitch);
    QStringList lines = layout_.lines(text, cell.width(), shown);
    lines.last() = layout_.fitting(lines.last(), cell.width());
    return lines;
}

void ResultsCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                const QModelIndex& index) const {
    // Only the background comes from the model beside the text: the style's option asks it for every
    // role and copies the palette, for each cell drawn.
    const QStyleOptionViewItem& opt = option;
    const QRect cell = option.rect;
    const bool selected = opt.state & QStyle::State_Selected;
    const QPalette& pal = opt.palette;
    painter->save();
    const QVariant background = index.data(Qt::BackgroundRole);
    painter->fillRect(cell, selected                          ? pal.brush(QPalette::Highlight)
                            : background.canConvert<QBrush>() ? qvariant_cast<QBrush>(background)
                                                              : opt.backgroundBrush);
    const QVariant foreground = index.data(Qt::ForegroundRole);
    painter->setPen(selected               ? pal.color(QPalette::HighlightedText)
                    : foreground.isValid() ? foreground.value<QColor>()
                                           : pal.color(QPalette::Text));
    const QString text = index.data(Qt::DisplayRole).toString();
    layout_.draw(*painter, cell,
                 cell_lines(text, cell.size(), opt.features & QStyleOptionViewItem::WrapText));
    // The grid's lines along the cell's right and bottom edge, under nothing the text needs; in a cell
    // of some size filled as one-pixel rectangles, the same pixels the lines take, at less cost.
    const QColor line = pal.color(QPalette::Mid);
    if (cell.width() > 0 && cell.height() > 0) {
        painter->fillRect(QRect(cell.right(), cell.top(), 1, cell.height()), line);
        painter->fillRect(QRect(cell.left(), cell.bottom(), cell.width(), 1), line);
    } else {
        painter->setPen(line);
        painter->drawLine(cell.topRight(), cell.bottomRight());
        painter->drawLine(cell.bottomLeft(), cell.bottomRight());
    }
    if (opt.state & QStyle::State_HasFocus) {
        QStyleOptionFocusRect focus;
        focus.QStyleOption::operator=(opt);
        focus.rect = cell;
        focus.backgroundColor = pal.color(selected ? QPalette::Highlight : QPalette::Base);
        QStyle* style = opt.widget ? opt.widget->style() : QApplication::style();
        style->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, opt.widget);
    }
    painter->restore();
}

GridHeading::GridHeading(const QFont& font, QWidget* parent)
    : QHeaderView(Qt::Horizontal, parent), layout_(font) {
    setFont(font);
    connect(this, &QHeaderView::sectionResized, this, &GridHeading::fit_height);
    connect(this, &QHeaderView::sectionCountChanged, this, &GridHeading::fit_height);
}

void GridHeading::setModel(QAbstractItemModel* model) {
    QHeaderView::setModel(model);
    if (!model) return;
    // New headings (a mark moved) may need another line.
    connect(model, &QAbstractItemModel::headerDataChanged, this, &GridHeading::fit_height);
    connect(model, &QAbstractItemModel::modelReset, this, &GridHeading::fit_height);
}

QSize GridHeading::sizeHint() const {
    // Once fitted, the row is as high as its tallest heading and the grid keeps to that: the style's
    // measure of every heading, which the grid asks for at each of its layouts, would change nothing.
    // The grid reads only the height; the width given is the row's whole length.
    if (minimumHeight() > 0 && minimumHeight() == maximumHeight()) return {length(), minimumHeight()};
    return QHeaderView::sizeHint();
}

QStringList GridHeading::heading_lines(int logical_index) const {
    if (!model()) return {};
    const QString text = model()->headerData(logical_index, orientation(), Qt::DisplayRole).toString();
    return layout_.lines(text, sectionSize(logical_index));
}

void GridHeading::fit_height() {
    int lines = 1;
    for (int i = 0; i < count(); ++i) lines = std::max(lines, int(heading_lines(i).size()));
    // One pixel of the heading's edge above and below the text.
    const int height = layout_.lines_height(lines) + 2;
    if (height == this->height() && minimumHeight() == height) return;
    setFixedHeight(height);
    emit geometriesChanged();
}

void GridHeading::paintSection(QPainter* painter, const QRect& rect, int logical_index) const {
    if (!rect.isValid()) return;
    QStyleOptionHeader opt;
    initStyleOption(&opt);
    opt.rect = rect;
    opt.section = logical_index;
    // The style draws the heading's face and edges; the text is drawn below like a cell's.
    style()->drawControl(QStyle::CE_HeaderSection, &opt, painter, this);
    painter->save();
    painter->setPen(palette().color(QPalette::ButtonText));
    layout_.draw(*painter, rect.adjusted(0, 1, 0, -1), heading_lines(logical_index));
    painter->restore();
}

ResultsCellDelegate* set_up_hotel_grid(QTableView* grid, QAbstractItemModel* model, int row_height_px) {
    QFont font(shared_texts::grid_font_family);
    font.setPointSize(9);
    grid->setFont(font);
    // The cells draw their own text and lines, so that the whole column width holds text.
    auto* cells = new ResultsCellDelegate(font, grid);
    grid->setItemDelegate(cells);
    grid->setHorizontalHeader(new GridHeading(font, grid));
    grid->setShowGrid(false);
    grid->setModel(model);
    QHeaderView* rows = grid->verticalHeader();
    rows->hide();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setMinimumSectionSize(1);
    rows->setDefaultSectionSize(row_height_px);
    QHeaderView* header = grid->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->setHighlightSections(false);
    // Left-aligned so that the ordering mark stays in sight in a narrow column.
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header->setSectionsClickable(true);
    header->setMinimumSectionSize(1);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setSelectionBehavior(QAbstractItemView::SelectItems);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setWordWrap(false);
    // One Tab stop; the arrows move inside.
    grid->setTabKeyNavigation(false);
    return cells;
}

} // namespace tomarina
